#include "view/pixels.h"

#include <cmath>

PixelPoint toPixel(const Point2& screen) {
    return {truncateClamped(screen.x, kPixelLimit), truncateClamped(screen.y, kPixelLimit)};
}

namespace {

// Liang-Barsky against one pair of bounds along one axis.
bool clipAxis(double p0, double d, double& t0, double& t1) {
    const double lo = -static_cast<double>(kPixelLimit);
    const double hi = static_cast<double>(kPixelLimit);
    if (d == 0.0) return p0 >= lo && p0 <= hi;
    double a = (lo - p0) / d;
    double b = (hi - p0) / d;
    if (a > b) std::swap(a, b);
    if (a > t0) t0 = a;
    if (b < t1) t1 = b;
    return t0 <= t1;
}

}  // namespace

bool segmentToPixels(Point2 a, Point2 b, PixelPoint& pa, PixelPoint& pb) {
    if (nearPixel(a) && nearPixel(b)) {
        pa = truncatePixel(a);
        pb = truncatePixel(b);
        return true;
    }
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return false;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
    double t0 = 0.0, t1 = 1.0;
    if (!clipAxis(a.x, dx, t0, t1) || !clipAxis(a.y, dy, t0, t1)) return false;
    pa = toPixel({a.x + t0 * dx, a.y + t0 * dy});
    pb = toPixel({a.x + t1 * dx, a.y + t1 * dy});
    return true;
}

bool copyMissesCanvas(const Extents& bounds, const Matrix3& m, const ViewMapping& view, int width,
                      int height, double margin) {
    return boxMissesPixels(bounds, m, view, 0, 0, width, height, margin);
}

bool boxMissesPixels(const Extents& box, const Matrix3& m, const ViewMapping& view, int left,
                     int top, int right, int bottom, double margin) {
    const double xs[2] = {box.minX, box.maxX};
    const double ys[2] = {box.minY, box.maxY};
    Extents s;
    for (int i = 0; i < 4; ++i) {
        const Point2 w = m.transformPoint(xs[i & 1], ys[i >> 1]);
        const Point2 p = view.worldToScreen(w.x, w.y);
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;  // let the clipper decide
        if (i == 0) {
            s = {p.x, p.y, p.x, p.y};
        } else {
            s.widen(p.x, p.y);
        }
    }
    // Truncation toward zero can pull a pixel one step toward the canvas: keep one more.
    const double reach = margin + 1.0;
    return s.maxX < left - reach || s.minX > right + reach || s.maxY < top - reach ||
           s.minY > bottom + reach;
}
