#pragma once

#include <windows.h>

// The small tool window in which the view scale is typed ("画面倍率 1 /").
struct ScaleDialog {
    int create(HWND owner, HINSTANCE instance);  // 0 when its class cannot be registered
    void show();
    void applyScale();
    void place(HWND main);  // outer bottom-right corner onto the main window's

    HWND popup = nullptr;
    HWND okButton = nullptr;
    HWND edit = nullptr;
    int okId = 0;
    int editId = 1;
    WNDPROC previousEditProc = nullptr;
};

LRESULT CALLBACK scaleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK scaleEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
