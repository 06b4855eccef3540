#include "view/raster.h"

#include <cstdlib>

namespace {

// Steps n in [first, last) whose coordinate start + step * n lies in [lo, hi).
void stepsWithin(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t& first,
                 int64_t& last) {
    if (step > 0) {
        first = lo - start;
        last = hi - start;
    } else {
        first = start - hi + 1;
        last = start - lo + 1;
    }
}

// Ceiling of p / q for q > 0.
int64_t ceilDiv(int64_t p, int64_t q) {
    return p >= 0 ? (p + q - 1) / q : -((-p) / q);
}

}  // namespace

void rasterLineClipped(uint32_t* bits, int width, const PixelRect& clip, PixelPoint a, PixelPoint b,
                       uint32_t colour) {
    const int64_t dx = int64_t{b.x} - a.x;
    const int64_t dy = int64_t{b.y} - a.y;
    const int64_t ax = dx < 0 ? -dx : dx;
    const int64_t ay = dy < 0 ? -dy : dy;
    const bool xMajor = ax >= ay;
    const int64_t major = xMajor ? ax : ay;
    const int64_t minor = xMajor ? ay : ax;
    if (major == 0) return;
    const int64_t bias = (xMajor ? dy < 0 : dx < 0) ? 1 : 0;
    const int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? a.x : a.y;
    const int64_t minorStart = xMajor ? a.y : a.x;
    // After n steps the walk has made k(n) = floor((2 minor n + major - 1 + bias) / (2 major))
    // minor steps: the closed form of the error term, so the walk can start anywhere.
    const int64_t offset = major - 1 + bias;
    int64_t first = 0, last = major;
    {
        int64_t lo, hi;
        stepsWithin(majorStart, majorSign, xMajor ? clip.left : clip.top,
                    xMajor ? clip.right : clip.bottom, lo, hi);
        if (lo > first) first = lo;
        if (hi < last) last = hi;
        // Minor steps that keep the line within the clip's other side, then the steps n
        // where k(n) is among them.
        int64_t kLo, kHi;
        stepsWithin(minorStart, minorSign, xMajor ? clip.top : clip.left,
                    xMajor ? clip.bottom : clip.right, kLo, kHi);
        if (minor == 0) {
            if (kLo > 0 || kHi <= 0) return;
        } else {
            lo = kLo <= 0 ? 0 : ceilDiv(2 * major * kLo - offset, 2 * minor);
            hi = ceilDiv(2 * major * kHi - offset, 2 * minor);
            if (lo > first) first = lo;
            if (hi < last) last = hi;
        }
    }
    if (first >= last) return;
    int64_t k = (2 * minor * first + offset) / (2 * major);
    int64_t error = 2 * minor * (first + 1) - major - 2 * major * k;
    const long xStep = dx < 0 ? -1 : 1;
    const long yStep = dy < 0 ? -static_cast<long>(width) : static_cast<long>(width);
    const long majorStep = xMajor ? xStep : yStep;
    const long minorStep = xMajor ? yStep : xStep;
    const int64_t majorAt = majorStart + majorSign * first;
    const int64_t minorAt = minorStart + minorSign * k;
    const int64_t x = xMajor ? majorAt : minorAt;
    const int64_t y = xMajor ? minorAt : majorAt;
    // An index rather than a pointer: after the last pixel it may point outside the bitmap.
    long at = static_cast<long>(y) * width + static_cast<long>(x);
    for (int64_t n = first; n < last; ++n) {
        bits[at] = colour;
        if (error + bias > 0) {
            at += minorStep;
            error += 2 * minor - 2 * major;
        } else {
            error += 2 * minor;
        }
        at += majorStep;
    }
}
