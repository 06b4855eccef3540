// The lines the canvas sets in memory must light exactly the pixels GDI's LineTo lights.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "view/gdi.h"
#include "view/raster.h"

namespace {

constexpr int kSize = 160;

struct Dib {
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    GdiObject<HBITMAP> bitmap = makeDib(dc, kSize, kSize, bits);
    GdiObject<HPEN> pen = makePen(RGB(255, 255, 255));
    HGDIOBJ original = SelectObject(dc, bitmap.get());
    HGDIOBJ originalPen = SelectObject(dc, pen.get());
    ~Dib() {
        SelectObject(dc, originalPen);
        SelectObject(dc, original);
        DeleteDC(dc);
    }
};

TEST(RasterLine, LightsThePixelsOfLineTo) {
    Dib dib;
    std::vector<uint32_t> mine(kSize * kSize);
    const PixelPoint from{kSize / 2, kSize / 2};
    int compared = 0;
    // Every direction and length up to 70 pixels, ties and diagonals included.
    for (int dx = -70; dx <= 70; ++dx) {
        for (int dy = -70; dy <= 70; ++dy) {
            std::memset(dib.bits, 0, kSize * kSize * 4);
            MoveToEx(dib.dc, from.x, from.y, nullptr);
            LineTo(dib.dc, from.x + dx, from.y + dy);
            GdiFlush();
            std::fill(mine.begin(), mine.end(), 0);
            rasterLine(mine.data(), kSize, from, {from.x + dx, from.y + dy}, 0xFFFFFF);
            for (int i = 0; i < kSize * kSize; ++i)
                ASSERT_EQ(mine[i] != 0, (dib.bits[i] & 0xFFFFFF) != 0)
                    << "line by (" << dx << ", " << dy << ") at pixel (" << i % kSize << ", " << i / kSize << ")";
            ++compared;
        }
    }
    EXPECT_EQ(compared, 141 * 141);
}

}  // namespace
