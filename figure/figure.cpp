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
