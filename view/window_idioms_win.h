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

// What WM_DRAWITEM asks an owner-drawn button to draw.
struct OwnerDrawItem {
    HDC dc;
    int id;
    bool pressed;
    RECT rect;
    bool focused;
    HWND window;
};

inline OwnerDrawItem ownerDrawItem(WPARAM wParam, LPARAM lParam) {
    const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    return {item.hDC,
            LOWORD(wParam),
            (item.itemState & ODS_SELECTED) != 0,
            item.rcItem,
            (item.itemState & ODS_FOCUS) != 0,
            item.hwndItem};
}

// The size of a window's client area.
inline SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// A window procedure put in front of a control's own; returns the control's.
inline WNDPROC subclass(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

// An edit box's whole text selected, so the first key replaces it.
inline void selectAllText(HWND edit) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

// Whole-area repaint of a window (and the children it does not clip), at the next paint.
inline void invalidate(HWND window) {
    if (window) InvalidateRect(window, nullptr, TRUE);
}

// Registers a window class of the program (arrow cursor, white background, redrawn whole when
// resized); true when it is there, also when an earlier start in this process registered it.
inline bool registerClassOnce(const char* name, WNDPROC procedure, HINSTANCE instance, HICON icon) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
