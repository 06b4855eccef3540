#pragma once

#include <windows.h>

// Win32 idioms the window code uses more than once, each written once.

// A child window's id travels in CreateWindowExA's menu parameter.
inline HMENU idAsMenu(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// Lets a control draw its text in the given font, redrawn at once.
inline void setFont(HWND window, HFONT font) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// A small window and the controls on it painted now, each in its own WM_PAINT: the status
// strip and the scale button, whose painting costs nothing next to the canvas's.
inline void redrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// What WM_DRAWITEM asks an owner-drawn button to draw.
struct OwnerDrawItem {
    HDC dc;
    int id;
    bool pressed;
    RECT rect;
};

inline OwnerDrawItem ownerDrawItem(WPARAM wParam, LPARAM lParam) {
    const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    return {item.hDC, LOWORD(wParam), (item.itemState & ODS_SELECTED) != 0, item.rcItem};
}
