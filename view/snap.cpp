#include "view/snap.h"

#include <cmath>

#include "figure/element_kinds.h"

NearestTarget::NearestTarget(double px, double py)
    : x(px),
      y(py),
      best{true, {0.0, 0.0}, SnapKind::origin},
      bestDistance(std::sqrt(px * px + py * py)) {}

void NearestTarget::consider(double px, double py, SnapKind kind) {
    const double d = std::sqrt((y - py) * (y - py) + (x - px) * (x - px));
    if (d < bestDistance) {
        best = {true, {px, py}, kind};
        bestDistance = d;
    }
}

SnapTarget NearestTarget::within(double scale, int pixels) const {
    if (bestDistance / scale < pixels) return best;
    return {};
}

namespace {

void considerSegment(NearestTarget& n, const LineItem& s) {
    n.consider(s.x1, s.y1, SnapKind::end);
    n.consider(s.x2, s.y2, SnapKind::end);
    // Halves first: the sum of two huge ends would overflow.
    n.consider(s.x1 * 0.5 + s.x2 * 0.5, s.y1 * 0.5 + s.y2 * 0.5, SnapKind::middle);
}

// One overload per element kind: the points of its items a click may snap to.
void considerKind(NearestTarget& n, SegmentKind, const Figure& figure) {
    for (const LineItem& s : figure.lines) considerSegment(n, s);
}

void considerKind(NearestTarget& n, PolylineKind, const Figure& figure) {
    for (const PolylineItem& p : figure.polylines)
        for (const LineItem& s : p.segments) considerSegment(n, s);
}

void considerKind(NearestTarget& n, CircleKind, const Figure& figure) {
    for (const CircleItem& c : figure.circles) n.consider(c.cx, c.cy, SnapKind::centre);
}

void considerKind(NearestTarget& n, PointKind, const Figure& figure) {
    for (const PointItem& p : figure.points) n.consider(p.x, p.y, SnapKind::point);
}

// The kinds kept only with the attributes do not snap: the base point comes from the geometry.
void considerKind(NearestTarget&, TextKind, const Figure&) {}
void considerKind(NearestTarget&, SolidKind, const Figure&) {}
void considerKind(NearestTarget&, MarkerKind, const Figure&) {}
void considerKind(NearestTarget&, DimensionKind, const Figure&) {}
void considerKind(NearestTarget&, BlockKind, const Figure&) {}

}  // namespace

SnapTarget snapTarget(const Figure& figure, double x, double y, double scale, int dpi) {
    NearestTarget n(x, y);
    ElementKinds::each([&](auto kind) { considerKind(n, kind, figure); });
    return n.within(scale, scaled(kSnapPixels, dpi));
}

Point2 snapBasePoint(const Figure& figure, double x, double y, double scale, int dpi) {
    const SnapTarget t = snapTarget(figure, x, y, scale, dpi);
    return t.found ? t.at : Point2{x, y};
}
