#include "view/raster.h"

#include <cstdlib>

void rasterLine(uint32_t* bits, int width, PixelPoint a, PixelPoint b, uint32_t colour) {
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
    const int addMinor = 2 * minor - 2 * major;
    const int addMajor = 2 * minor;
    int error = 2 * minor - major;
    uint32_t* p = bits + static_cast<long>(a.y) * width + a.x;
    for (int n = 0; n < major; ++n) {
        *p = colour;
        if (error + bias > 0) {
            p += minorStep;
            error += addMinor;
        } else {
            error += addMajor;
        }
        p += majorStep;
    }
}
