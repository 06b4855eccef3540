#include "view/gdi_win.h"

namespace {
int liveCount = 0;
}

int liveGdiObjects() {
    return liveCount;
}
void countGdiObject(int delta) {
    liveCount += delta;
}

GdiObject<HPEN> makePen(COLORREF colour) {
    return GdiObject<HPEN>(CreatePen(PS_SOLID, 0, colour));
}

GdiObject<HBITMAP> makeDib(HDC dc, int width, int height, uint32_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = bitmap ? static_cast<uint32_t*>(memory) : nullptr;
    return GdiObject<HBITMAP>(bitmap);
}
