#pragma once

#include <windows.h>

#include "app/small_dialog_win.h"
#include "figure/point2.h"

// The small tool window in which the base point is typed as "X, Y" in drawing units.
struct BaseDialog : SmallDialog {
    bool create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation);
    void show(double x, double y);   // offers the base point now
    void offer(double x, double y);  // the edit shows it
    void place(HWND main);           // outer bottom-left corner onto the main window's
    // What was typed is no base point: the title says why, the text stays selected.
    void refuse(const char* why);
    // While it is open it shows the base point, unless the drafter is typing one.
    void followBase(double x, double y);
    // The base point the edit holds: the one offered when its text is unchanged. False when
    // the text is not "X, Y".
    bool typedBase(Point2& base) const;

    Point2 offeredBase;
};
