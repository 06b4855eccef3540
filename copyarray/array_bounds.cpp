#include "copyarray/array_bounds.h"

#include <cmath>

namespace {

void includeCorners(Bounds& into, const Extents& box, const Matrix3& m) {
    const Point2 corners[4] = {
        m.transformPoint(box.minX, box.minY), m.transformPoint(box.maxX, box.minY),
        m.transformPoint(box.minX, box.maxY), m.transformPoint(box.maxX, box.maxY)};
    for (const Point2& c : corners)
        if (!std::isfinite(c.x) || !std::isfinite(c.y)) return;
    for (const Point2& c : corners) into.include(c.x, c.y);
}

}  // namespace

Bounds arrayBounds(const Figure& figure, const CopyArray& copies, const CopyParameters& params) {
    Bounds figureBox = figure.bounds;
    if (params.keepAttributes) figureBox.include(figure.optionalBounds);
    Bounds all = figureBox;
    if (figureBox.empty) return all;
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k)
        includeCorners(all, figureBox.box, copies.drawingMatrix(params, steps.next()));
    return all;
}
