#pragma once

#include <windows.h>

#include "app/child_layout_win.h"
#include "copyarray/copy_array.h"

// The small tool window in which the view scale is typed ("画面倍率 1 /").
struct ScaleDialog {
    int create(HWND owner, HINSTANCE instance);  // 0 when its class cannot be registered
    void show();
    void applyScale();
    void place(HWND main);  // outer bottom-right corner onto the main window's
    // While it is open it shows the view's scale, unless the drafter is typing one.
    void followView();
    void placeControls();   // its size and its controls at the DPI now (place() follows)

    static constexpr int kOuterWidth = 300;  // at 96 DPI, caption and frame included
    static constexpr int kOuterHeight = 50;

    HWND popup = nullptr;
    HWND okButton = nullptr;
    HWND edit = nullptr;
    int okId = 0;
    int editId = 1;
    // The text last offered and the exact scale it stands for: OK on it unchanged keeps that
    // scale, even where the text shows it cut.
    char offeredText[kRowTextSize] = {};
    double offeredScale = 1.0;
    WNDPROC previousEditProc = nullptr;
    ChildLayout controls;
};

LRESULT CALLBACK scaleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK scaleEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
