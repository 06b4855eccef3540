#include "app/child_layout_win.h"

#include "view/window_idioms_win.h"

HWND ChildLayout::add(HWND parent, DWORD exStyle, const char* cls, const char* text, DWORD style,
                      PixelBox at96, int id, int dpi) {
    const PixelBox b = scaledRect(at96, dpi);
    HWND window = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, b.x, b.y, b.w,
                                  b.h, parent, idAsMenu(id), GetModuleHandleA(nullptr), nullptr);
    if (window) children.emplace_back(window, at96);
    return window;
}

void ChildLayout::place(int dpi) const {
    for (const auto& [window, at96] : children) {
        const PixelBox b = scaledRect(at96, dpi);
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
