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
    return putItem(out, m, step, c, scaledArc(c, step.scaleX, step.scaleY));
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c,
             const ScaledArc& arc) {
    double ratio = arc.ratio;
    double start = c.startAngle + arc.shift;
    double end = c.endAngle + arc.shift;
    if (ratio < 0.0) {
        // A mirrored arc: the same curve, walked the other way, with a positive ratio.
        // 0 - a rather than -a, so an angle of 0 is not written as "-0.000000".
        ratio = -ratio;
        const double walked = start;
        start = 0.0 - end;
        end = 0.0 - walked;
    }
    if (ratio < kMinWrittenRatio) ratio = kMinWrittenRatio;
    const double x = m.transformX(c.cx, c.cy);
    const double y = m.transformY(c.cx, c.cy);
    const double tilt = (arc.tilt - step.turn) * kWriterDegreesPerRadian;
    if (c.isThreeNumberCircle()) {
        if (radiusAlone(c, step.scaleX, step.scaleY)) {
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

TextPlacement textPlacement(const Matrix3& m, const CopyStep& step, const TextItem& t) {
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
    TextPlacement p{m.transformX(t.x, t.y), m.transformY(t.x, t.y), 0.0, 0.0};
    if (image != 0.0) {  // zero only with (dx, dy) zero
        p.dx = ix / image * length;
        p.dy = iy / image * length;
    }
    const bool mirrored = m.m[0][0] * m.m[1][1] - m.m[0][1] * m.m[1][0] < 0.0;
    if (mirrored && (p.dx < 0.0 || (p.dx == 0.0 && p.dy < 0.0)))
        // 0 - d rather than -d, so a direction of 0 is not written as "-0.000000".
        p = {p.x + p.dx, p.y + p.dy, 0.0 - p.dx, 0.0 - p.dy};
    return p;
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const TextItem& t) {
    const TextPlacement p = textPlacement(m, step, t);
    const char prefix[4] = {t.tag[0], t.tag[1], ' ', '\0'};
    const double v[4] = {p.x, p.y, p.dx, p.dy};
    return putLine(out, prefix, v, 4, t.string);
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep&, const SolidItem& s) {
    double v[8];
    for (int i = 0; i < s.count; ++i) {
        v[2 * i] = m.transformX(s.corner[i].x, s.corner[i].y);
        v[2 * i + 1] = m.transformY(s.corner[i].x, s.corner[i].y);
    }
    return putLine(out, SolidKind::prefix, v, 2 * s.count);
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep&, const MarkerItem& p) {
    const double v[2] = {m.transformX(p.x, p.y), m.transformY(p.x, p.y)};
    return putLine(out, MarkerKind::prefix, v, 2, p.rest, false);
}

bool putDimensionHead(OutputBuffer& out) {
    putTag(out, DimensionKind::tag);
    return true;
}

bool putBlockHead(OutputBuffer& out, const Matrix3& m, const GroupItem& block) {
    const double v[2] = {m.transformX(block.x, block.y), m.transformY(block.x, block.y)};
    return putLine(out, BlockKind::prefix, v, 2, block.name);
}

bool movesOnly(const CopyStep& step) {
    return step.scaleX == 1.0 && step.scaleY == 1.0 && step.turn == 0.0;
}
