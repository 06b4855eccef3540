#include "view/snap.h"

#include <cmath>

namespace {

struct Nearest {
    double x, y;
    Point2 best{0.0, 0.0};
    double bestDistance;

    void consider(double px, double py) {
        const double d = std::sqrt((y - py) * (y - py) + (x - px) * (x - px));
        if (d < bestDistance) {
            best = {px, py};
            bestDistance = d;
        }
    }
};

}  // namespace

Point2 snapBasePoint(const Figure& figure, double x, double y, double scale, int dpi) {
    Nearest n{x, y, {0.0, 0.0}, std::sqrt(x * x + y * y)};
    for (const LineItem& s : figure.lines) {
        n.consider(s.x1, s.y1);
        n.consider(s.x2, s.y2);
    }
    for (const PolylineItem& p : figure.polylines)
        for (const LineItem& s : p.segments) {
            n.consider(s.x1, s.y1);
            n.consider(s.x2, s.y2);
        }
    for (const PointItem& p : figure.points) n.consider(p.x, p.y);
    if (n.bestDistance / scale < scaled(kSnapPixels, dpi)) return n.best;
    return {x, y};
}
