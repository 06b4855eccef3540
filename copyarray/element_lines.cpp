#include "copyarray/element_lines.h"

#include <cmath>

#include "copyarray/scale_arc.h"
#include "figure/element_kinds.h"

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep&, const LineItem& s) {
    const double v[4] = {m.transformX(s.x1, s.y1), m.transformY(s.x1, s.y1),
                         m.transformX(s.x2, s.y2), m.transformY(s.x2, s.y2)};
    return putLine(out, SegmentKind::prefix, v, 4);
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c) {
    CircleItem arc = c;
    scaleArc(arc, step.scaleX, step.scaleY);
    double ratio = arc.ratio;
    double start = arc.startAngle;
    double end = arc.endAngle;
    if (ratio < 0.0) {
        // A mirrored arc: the same curve, walked the other way, with a positive ratio.
        // 0 - a rather than -a, so an angle of 0 is not written as "-0.000000".
        ratio = -ratio;
        start = 0.0 - arc.endAngle;
        end = 0.0 - arc.startAngle;
    }
    if (ratio < kMinWrittenRatio) ratio = kMinWrittenRatio;
    const double x = m.transformX(c.cx, c.cy);
    const double y = m.transformY(c.cx, c.cy);
    const double tilt = (arc.tilt - step.turn) * kWriterDegreesPerRadian;
    if (c.isThreeNumberCircle()) {
        if (std::fabs(step.scaleX) == std::fabs(step.scaleY)) {
            const double v[3] = {x, y, arc.radius};
            return putLine(out, CircleKind::prefix, v, 3);
        }
        // Unequal scales make the circle an ellipse: write what the preview shows.
        const double v[7] = {x, y, arc.radius, 0.0, 360.0, ratio, tilt};
        return putLine(out, CircleKind::prefix, v, 7);
    }
    const double v[7] = {
        x,     y,   arc.radius, start * kWriterDegreesPerRadian, end * kWriterDegreesPerRadian,
        ratio, tilt};
    return putLine(out, CircleKind::prefix, v, 7);
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep&, const PointItem& p) {
    const double v[2] = {m.transformX(p.x, p.y), m.transformY(p.x, p.y)};
    return putLine(out, PointKind::prefix, v, 2);
}

double lengthOf(double x, double y) {
    const double s = std::fmax(std::fabs(x), std::fabs(y));
    if (!(s > 0.0) || !std::isfinite(s)) return s;
    const double a = x / s, b = y / s;
    return s * std::sqrt(a * a + b * b);
}

// The start point follows the copy; the direction is that of the copy's image of (dx, dy), or
// (dx, dy) turned by the copy's angle where a zero scale leaves no image; the length stays,
// since the host draws a text at its type's size.
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const TextItem& t) {
    double ix = m.m[0][0] * t.dx + m.m[1][0] * t.dy;
    double iy = m.m[0][1] * t.dx + m.m[1][1] * t.dy;
    if (ix == 0.0 && iy == 0.0) {
        Matrix3 turn;
        turn.rotate(step.turn);
        ix = turn.m[0][0] * t.dx + turn.m[1][0] * t.dy;
        iy = turn.m[0][1] * t.dx + turn.m[1][1] * t.dy;
    }
    const double image = lengthOf(ix, iy);
    const double length = lengthOf(t.dx, t.dy);
    double dx = 0.0, dy = 0.0;
    if (image != 0.0) {  // zero only with (dx, dy) zero
        dx = ix / image * length;
        dy = iy / image * length;
    }
    const double v[4] = {m.transformX(t.x, t.y), m.transformY(t.x, t.y), dx, dy};
    return putLine(out, TextKind::prefix, v, 4, t.string);
}

bool putItemLines(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const PolylineItem& p,
                  std::size_t from, std::size_t to) {
    const std::size_t n = p.segments.size();
    if (from == 0) putTag(out, PolylineKind::tag);
    const std::size_t last = to < n + 1 ? to : n + 1;
    for (std::size_t i = from > 0 ? from : 1; i < last; ++i)
        if (!putItem(out, m, step, p.segments[i - 1])) return false;
    if (to == n + 2) putTag(out, PolylineKind::endTag);
    return true;
}
