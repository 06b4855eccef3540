#pragma once

#include <cstdint>

#include "figure/figure.h"
#include "figure/matrix3.h"
#include "view/view_mapping.h"

// Turning world geometry into pixel coordinates that GDI can take. Everything within
// kPixelLimit is truncated toward zero; beyond it (huge or non-finite values) coordinates are
// clipped or clamped instead of overflowing.

constexpr int32_t kPixelLimit = 1 << 26;

struct PixelPoint {
    int32_t x;
    int32_t y;
};

PixelPoint toPixel(const Point2& screen);

// Within the range where truncation is exact and GDI takes the coordinates as they are.
inline bool nearPixel(const Point2& p) {
    return p.x <= kPixelLimit && p.x >= -kPixelLimit && p.y <= kPixelLimit && p.y >= -kPixelLimit;
}

// For a nearPixel point: toward zero, as toPixel does.
inline PixelPoint truncatePixel(const Point2& p) {
    return {static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
}

// Clips the screen-space segment to the square of kPixelLimit and truncates it.
// False when nothing of it lies within the square (or it is not finite).
bool segmentToPixels(Point2 a, Point2 b, PixelPoint& pa, PixelPoint& pb);

// True when the figure bounds, transformed by m and mapped, lie wholly outside the
// width x height canvas even when widened by margin pixels.
bool copyMissesCanvas(const Extents& bounds, const Matrix3& m, const ViewMapping& view, int width,
                      int height, double margin);

// The same test against the pixels left..right - 1, top..bottom - 1.
bool boxMissesPixels(const Extents& box, const Matrix3& m, const ViewMapping& view, int left,
                     int top, int right, int bottom, double margin);
