#include "view/dpi_win.h"

#include "view/dpi_scale.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A user32 function that older systems lack, or null. The cast through a plain function
// pointer keeps -Wcast-function-type quiet.
template <class F>
F user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                  : nullptr;
}

}  // namespace

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int windowDpi(HWND window) {
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0 && dpi <= 0x7FFF) return static_cast<int>(dpi);
    }
    return systemDpi();
}

SIZE outerSizeAt(SIZE outer96, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjust = user32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    RECT frame96{}, frame{};
    if (!adjust || !adjust(&frame96, style, FALSE, exStyle, kBaseDpi) ||
        !adjust(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        return {scaled(outer96.cx, dpi), scaled(outer96.cy, dpi)};
    const int w96 = frame96.right - frame96.left, h96 = frame96.bottom - frame96.top;
    return {scaled(outer96.cx - w96, dpi) + (frame.right - frame.left),
            scaled(outer96.cy - h96, dpi) + (frame.bottom - frame.top)};
}
