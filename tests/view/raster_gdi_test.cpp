// The lines the canvas sets in memory must light exactly the pixels GDI's LineTo lights.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "view/gdi_win.h"
#include "view/pixels.h"
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
                    << "line by (" << dx << ", " << dy << ") at pixel (" << i % kSize << ", "
                    << i / kSize << ")";
            ++compared;
        }
    }
    EXPECT_EQ(compared, 141 * 141);
}

// End points far outside the bitmap, in every direction and at every distance up to the
// pixel limit: the lines that cross it, or just miss a corner, light LineTo's pixels.
TEST(RasterLine, FarEndPointsLightThePixelsOfLineTo) {
    Dib dib;
    std::vector<uint32_t> mine(kSize * kSize);
    const PixelRect whole{0, 0, kSize, kSize};
    std::mt19937 random(7);
    auto closeBy = [&](int spread) {
        return static_cast<int32_t>(random() % (2 * spread + 1)) - spread + kSize / 2;
    };
    for (const double reach : {300.0, 7000.0, 1e5, 3e6, 6.7e7}) {
        for (int i = 0; i < 400; ++i) {
            const double angle = i * 0.0157 + 0.001 * (random() % 1000);
            const PixelPoint distant{static_cast<int32_t>(kSize / 2 + reach * std::cos(angle)),
                                     static_cast<int32_t>(kSize / 2 + reach * std::sin(angle))};
            // Through the bitmap, past its corners, or out again at the distant side.
            const PixelPoint other =
                i % 3 == 2
                    ? PixelPoint{kSize - distant.x + closeBy(40), kSize - distant.y + closeBy(40)}
                    : PixelPoint{closeBy(i % 3 ? 120 : 60), closeBy(i % 3 ? 120 : 60)};
            const PixelPoint a = i % 2 ? distant : other, b = i % 2 ? other : distant;
            std::memset(dib.bits, 0, kSize * kSize * 4);
            MoveToEx(dib.dc, a.x, a.y, nullptr);
            LineTo(dib.dc, b.x, b.y);
            GdiFlush();
            std::fill(mine.begin(), mine.end(), 0);
            rasterLineClipped(mine.data(), kSize, whole, a, b, 0xFFFFFF);
            for (int p = 0; p < kSize * kSize; ++p)
                ASSERT_EQ(mine[p] != 0, (dib.bits[p] & 0xFFFFFF) != 0)
                    << "reach " << reach << ": (" << a.x << ", " << a.y << ") to (" << b.x << ", "
                    << b.y << ") at pixel (" << p % kSize << ", " << p / kSize << ")";
        }
    }
}

}  // namespace
