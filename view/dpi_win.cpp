#include "view/dpi_win.h"

#include "view/dpi_scale.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

GetDpiForWindowFunction getDpiForWindow() {
    static const GetDpiForWindowFunction found = [] {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        // The cast through a plain function pointer keeps -Wcast-function-type quiet.
        return user32 ? reinterpret_cast<GetDpiForWindowFunction>(
                            reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return found;
}

}  // namespace

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int windowDpi(HWND window) {
    if (const GetDpiForWindowFunction f = getDpiForWindow()) {
        const UINT dpi = window ? f(window) : 0;
        if (dpi > 0 && dpi <= 0x7FFF) return static_cast<int>(dpi);
    }
    return systemDpi();
}
