#include "app/child_layout_win.h"

#include "app/globals_win.h"
#include "view/window_idioms_win.h"

int uiPixels(int at96) {
    return scaled(at96, theCanvas.view.dpi);
}

PixelBox uiBox(PixelBox at96) {
    return scaledRect(at96, theCanvas.view.dpi);
}

HWND ChildLayout::add(HWND parent, DWORD exStyle, const char* cls, const char* text, DWORD style,
                      PixelBox at96, int id) {
    const PixelBox b = uiBox(at96);
    HWND window = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, b.x, b.y, b.w,
                                  b.h, parent, idAsMenu(id), GetModuleHandleA(nullptr), nullptr);
    if (window) children.emplace_back(window, at96);
    return window;
}

void ChildLayout::place() const {
    for (const auto& [window, at96] : children) {
        const PixelBox b = uiBox(at96);
        MoveWindow(window, b.x, b.y, b.w, b.h, TRUE);
    }
}

namespace {

struct FontSwap {
    HFONT from, to;
};

BOOL CALLBACK swapFontOf(HWND window, LPARAM lParam) {
    const FontSwap& swap = *reinterpret_cast<const FontSwap*>(lParam);
    if (reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)) == swap.from)
        setFont(window, swap.to);
    return TRUE;
}

}  // namespace

void replaceFont(HWND top, HFONT from, HFONT to) {
    FontSwap swap{from, to};
    EnumChildWindows(top, swapFontOf, reinterpret_cast<LPARAM>(&swap));
}
