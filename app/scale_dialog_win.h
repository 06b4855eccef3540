#pragma once

#include <windows.h>

#include "app/small_dialog_win.h"

// The small tool window in which the view scale is typed ("画面倍率 1 /").
struct ScaleDialog : SmallDialog {
    // False when its class cannot be registered; then there is no dialog. `creation` is the
    // popup's creation parameter (the application's state, app/app_win.h).
    bool create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation);
    void show(double scale);   // offers the scale now
    void offer(double scale);  // the edit shows the scale
    void place(HWND main);     // outer bottom-right corner onto the main window's
    // While it is open it shows the view's scale, unless the drafter is typing one.
    void followView(double scale);
    // The scale the edit holds: the one offered when its text is unchanged, so that OK on a
    // text that shows the scale cut keeps it exactly. May be anything a text reads as.
    double typedScale() const;

    double offeredScale = 1.0;
};
