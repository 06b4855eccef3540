#pragma once

#include <windows.h>

#include "app/child_layout_win.h"
#include "copyarray/copy_array.h"

// The small tool window in which the view scale is typed ("画面倍率 1 /").
struct ScaleDialog {
    // False when its class cannot be registered; then there is no dialog. `creation` is the
    // popup's creation parameter (the application's state, app/app_win.h).
    bool create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation);
    void show(double scale);   // offers the scale now
    void offer(double scale);  // the edit shows the scale
    void hide();
    void place(HWND main);  // outer bottom-right corner onto the main window's
    // While it is open it shows the view's scale, unless the drafter is typing one.
    void followView(double scale);
    void placeControls(int dpi);  // its size and its controls at that DPI (place follows)
    // The scale the edit holds: the one offered when its text is unchanged, so that OK on a
    // text that shows the scale cut keeps it exactly. May be anything a text reads as.
    double typedScale() const;
    bool isOpen() const { return popup && IsWindowVisible(popup); }
    bool owns(HWND window) const { return popup && (window == popup || IsChild(popup, window)); }

    static constexpr int kOuterWidth = 300;  // at 96 DPI, caption and frame included
    static constexpr int kOuterHeight = 50;

    HWND popup = nullptr;
    HWND okButton = nullptr;
    HWND edit = nullptr;
    int okId = 0;
    int editId = 1;
    char offeredText[kRowTextSize] = {};
    double offeredScale = 1.0;
    WNDPROC previousEditProc = nullptr;
    ChildLayout controls;
};

LRESULT CALLBACK scaleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK scaleEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
