#include "view/snap.h"

#include <cmath>

#include "figure/element_kinds.h"

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

// One overload per element kind: the points of its items a click may snap to.
void considerKind(Nearest& n, SegmentKind, const Figure& figure) {
    for (const LineItem& s : figure.lines) {
        n.consider(s.x1, s.y1);
        n.consider(s.x2, s.y2);
    }
}

void considerKind(Nearest& n, PolylineKind, const Figure& figure) {
    for (const PolylineItem& p : figure.polylines)
        for (const LineItem& s : p.segments) {
            n.consider(s.x1, s.y1);
            n.consider(s.x2, s.y2);
        }
}

void considerKind(Nearest&, CircleKind, const Figure&) {}

void considerKind(Nearest& n, PointKind, const Figure& figure) {
    for (const PointItem& p : figure.points) n.consider(p.x, p.y);
}

// The kinds kept only with the attributes do not snap: the base point comes from the geometry.
void considerKind(Nearest&, TextKind, const Figure&) {}
void considerKind(Nearest&, SolidKind, const Figure&) {}
void considerKind(Nearest&, MarkerKind, const Figure&) {}
void considerKind(Nearest&, DimensionKind, const Figure&) {}
void considerKind(Nearest&, BlockKind, const Figure&) {}

}  // namespace

Point2 snapBasePoint(const Figure& figure, double x, double y, double scale, int dpi) {
    Nearest n{x, y, {0.0, 0.0}, std::sqrt(x * x + y * y)};
    // The kinds in file order put the polylines before the points, as the search always went.
    ElementKinds::each([&](auto kind) { considerKind(n, kind, figure); });
    if (n.bestDistance / scale < scaled(kSnapPixels, dpi)) return n.best;
    return {x, y};
}
