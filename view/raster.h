#pragma once

#include <cstdint>
#include <cstdlib>

#include "view/pixels.h"

// A one-pixel line from a to b, without its last pixel, lighting exactly the pixels GDI's
// LineTo lights with a cosmetic pen: Bresenham steps whose ties fall to the side GDI chooses
// (toward the minor axis' step when the line runs left or up along its minor axis).
// Both end points must lie inside the width x height bitmap; rows are `width` apart.
// Inline: the outlines' pieces are mostly a few pixels long.
inline void rasterLine(uint32_t* bits, int width, PixelPoint a, PixelPoint b, uint32_t colour) {
    const int dx = b.x - a.x;
    const int dy = b.y - a.y;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    const bool xMajor = ax >= ay;
    const int major = xMajor ? ax : ay;
    const int minor = xMajor ? ay : ax;
    // Ties go the minor step's way when it runs up (x-major) or left (y-major).
    const int bias = (xMajor ? dy < 0 : dx < 0) ? 1 : 0;
    const long xStep = dx < 0 ? -1 : 1;
    const long yStep = dy < 0 ? -static_cast<long>(width) : static_cast<long>(width);
    const long majorStep = xMajor ? xStep : yStep;
    const long minorStep = xMajor ? yStep : xStep;
    const int addMajor = 2 * minor;
    const int addMinorMore = -2 * major;  // a minor step adds 2 minor - 2 major
    // The tie's side within the error term: a minor step where it is above 0.
    int error = 2 * minor - major + bias;
    uint32_t* p = bits + static_cast<long>(a.y) * width + a.x;
    // Without a branch: whether a line steps along its minor axis is as good as random.
    for (int n = 0; n < major; ++n) {
        *p = colour;
        const int minorMask = -static_cast<int>(error > 0);
        p += majorStep + (minorStep & minorMask);
        error += addMajor + (addMinorMore & minorMask);
    }
}

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
