#pragma once

#include <cstdint>

#include "view/pixels.h"

// A one-pixel line from a to b, without its last pixel, lighting exactly the pixels GDI's
// LineTo lights with a cosmetic pen: Bresenham steps whose ties fall to the side GDI chooses
// (toward the minor axis' step when the line runs left or up along its minor axis).
// Both end points must lie inside the width x height bitmap; rows are `width` apart.
void rasterLine(uint32_t* bits, int width, PixelPoint a, PixelPoint b, uint32_t colour);

// The pixels of a bitmap that a draw may set: columns left..right - 1, rows top..bottom - 1.
struct PixelRect {
    int32_t left, top, right, bottom;
};

// The same line with its end points anywhere within kPixelLimit, lighting exactly the
// pixels of it that LineTo lights within clip (which lies inside the bitmap). The error term
// is computed from the true end points, in 64 bits, so a line that leaves the bitmap keeps
// GDI's pixels where it crosses it.
void rasterLineClipped(uint32_t* bits, int width, const PixelRect& clip, PixelPoint a, PixelPoint b,
                       uint32_t colour);
