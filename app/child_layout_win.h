#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "view/dpi_scale.h"

// Controls at fixed places in their parent: each is made with its rectangle at 96 DPI, written
// once, and every later DPI puts it at that rectangle scaled. A new control is one add().
struct ChildLayout {
    HWND add(HWND parent, DWORD exStyle, const char* cls, const char* text, DWORD style,
             PixelBox at96, int id, int dpi);
    void place(int dpi) const;  // every control to its rectangle at that DPI

    std::vector<std::pair<HWND, PixelBox>> children;
};

// Every window below top that draws its text in the font `from` draws it in `to` instead.
void replaceFont(HWND top, HFONT from, HFONT to);
