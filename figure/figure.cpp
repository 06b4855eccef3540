#include "figure/figure.h"

#include <utility>

void Figure::appendSegment(const LineItem& item) {
    if (polylineOpen == 1)
        polylines.back().segments.push_back(item);
    else
        lines.push_back(item);
    extents.widen(item.x1, item.y1);
    extents.widen(item.x2, item.y2);
}

void Figure::appendPoint(const PointItem& item) {
    points.push_back(item);
    extents.widen(item.x, item.y);
}

void Figure::appendCircle(CircleItem&& item) {
    for (const Point2& p : item.outline) extents.widen(p.x, p.y);
    circles.push_back(std::move(item));
}

void Figure::openPolyline() {
    polylineOpen = 1;
    polylines.emplace_back();
}

namespace {

void include(Bounds& b, double x, double y) {
    if (b.empty) {
        b.box = {x, y, x, y};
        b.empty = false;
    } else {
        b.box.widen(x, y);
    }
}

}  // namespace

Bounds figureBounds(const Figure& figure) {
    Bounds b;
    for (const LineItem& s : figure.lines) {
        include(b, s.x1, s.y1);
        include(b, s.x2, s.y2);
    }
    for (const PolylineItem& p : figure.polylines)
        for (const LineItem& s : p.segments) {
            include(b, s.x1, s.y1);
            include(b, s.x2, s.y2);
        }
    for (const CircleItem& c : figure.circles)
        for (const Point2& p : c.outline) include(b, p.x, p.y);
    for (const PointItem& p : figure.points) include(b, p.x, p.y);
    return b;
}
