#pragma once

#include "copyarray/copy_array.h"
#include "copyarray/copy_deal.h"
#include "copyarray/element_lines.h"
#include "figure/element_kinds.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

struct PreviewResult {
    int wanted = 0;        // copies the parameters ask for
    int drawn = 0;         // copies handled before the time ran out (those off the canvas count)
    bool clamped = false;  // the count asked for more than the most copies there can be

    bool operator==(const PreviewResult& o) const {
        return wanted == o.wanted && drawn == o.drawn && clamped == o.clamped;
    }
    bool operator!=(const PreviewResult& o) const { return !(*this == o); }
};

// One overload per element kind: what one copy (matrix m, step) of the kind's items draws. The
// kinds drawn as dots come after the others, over the copy's lines.
template <class Target>
void drawKind(Target& target, SegmentKind, const Figure& figure, const Matrix3& m,
              const CopyStep&) {
    target.drawSegments(figure.lines, m);
}
template <class Target>
void drawKind(Target& target, PolylineKind, const Figure& figure, const Matrix3& m,
              const CopyStep&) {
    target.drawPolylines(figure.polylines, m);
}
template <class Target>
void drawKind(Target& target, CircleKind, const Figure& figure, const Matrix3& m, const CopyStep&) {
    target.drawCircles(figure.circles, m);
}
template <class Target>
void drawKind(Target& target, PointKind, const Figure& figure, const Matrix3& m, const CopyStep&) {
    target.drawDots(figure.points, m);
}
// Each text where it is written: from its start, with the length it has, and a mark there so
// the reading direction shows.
template <class Target>
void drawKind(Target& target, TextKind, const Figure& figure, const Matrix3& m,
              const CopyStep& step) {
    for (const TextItem& t : figure.texts) target.drawText(textPlacement(m, step, t));
}
template <class Target>
void drawKind(Target& target, SolidKind, const Figure& figure, const Matrix3& m, const CopyStep&) {
    for (const SolidItem& s : figure.solids) target.drawOutline(s.corner, s.count, m);
}
template <class Target>
void drawKind(Target& target, MarkerKind, const Figure& figure, const Matrix3& m, const CopyStep&) {
    for (const MarkerItem& p : figure.markers) target.drawDot(m, p.x, p.y);
}
// A dimension's elements are drawn as their kinds.
template <class Target>
void drawKind(Target&, DimensionKind, const Figure&, const Matrix3&, const CopyStep&) {}
// A block reference, where a copy takes it, as a dot at its insertion point.
template <class Target>
void drawKind(Target& target, BlockKind, const Figure& figure, const Matrix3& m,
              const CopyStep& step) {
    if (!movesOnly(step)) return;
    for (const GroupItem& b : figure.blocks)
        if (b.known) target.drawDot(m, b.x, b.y);
}

// Copy k of the figure: the kinds of lines, then over them the kinds of dots.
template <class Target>
void drawCopy(Target& target, const Figure& figure, const Matrix3& m, const CopyStep& step,
              bool withOptional) {
    target.beginCopyLines(step.k);
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        if (!Kind::kDots && (!Kind::kOptional || withOptional))
            drawKind(target, kind, figure, m, step);
    });
    target.beginCopyDots(step.k);
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        if (Kind::kDots && (!Kind::kOptional || withOptional))
            drawKind(target, kind, figure, m, step);
    });
}

// Draws copies 1..n of the figure onto a drawing target, lines in the copy colour, each copy's
// points as dots over its own lines and under the next copy's. Copies whose box misses the
// target are skipped. The deal says which copies this target draws (all of them with one block)
// and whether a further one is begun (none after the deadline, so a repaint never hangs the
// window); the result counts the copies begun by every worker of the deal. `copies` gives the
// base point. The kinds kept only with the attributes (the texts, each drawn as the segment
// from its start to its end) are drawn only when the parameters keep them, and their box then
// counts in the test whether a copy shows.
// The target, in world coordinates:
//   beginCopyLines(k), beginCopyDots(k)     what copy k draws next
//   copyMissesView(box, m, reach)           the box under m, widened by reach drawing units
//                                           around its image, lies wholly outside the view
//   drawSegments(segments, m), drawPolylines(polylines, m), drawCircles(circles, m),
//   drawDots(points, m),
//   drawDot(m, x, y), drawText(placement), drawOutline(corners, count, m)
template <class Target>
PreviewResult drawCopies(Target& target, const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params, CopyDeal& deal) {
    const Bounds& bounds = figure.bounds;
    PreviewResult result;
    result.clamped = params.copiesClamped;
    const bool optional = params.keepAttributes && !figure.optionalBounds.empty;
    if (params.copies <= 0 || (bounds.empty && !optional)) {
        result.wanted = params.copies > 0 ? params.copies : 0;
        result.drawn = result.wanted;
        return result;
    }
    result.wanted = params.copies;
    CopySteps steps(params);
    int known = 0;
    int first = 1, last = 0;  // the copies this worker draws now
    for (int k = 1; k <= params.copies; ++k) {
        // Every step in turn: the powers of the scales must come out as one pass makes them.
        const CopyStep step = steps.next();
        if (k > last && !deal.take(params.copies, first, last)) break;
        if (k < first) continue;
        if (!deal.mayBegin(k, known)) break;
        const Matrix3 m = copies.drawingMatrix(params, step);
        if ((bounds.empty || target.copyMissesView(bounds.box, m, 0.0)) &&
            (!optional || target.copyMissesView(figure.optionalBounds.box, m, figure.longestText)))
            continue;
        drawCopy(target, figure, m, step, params.keepAttributes);
    }
    result.drawn = deal.begun();
    return result;
}

// The figure itself, copy 0, in the figure's colour, with the kinds kept only with the
// attributes when asked for: the copies' own drawing under the identity.
template <class Target>
void drawFigure(Target& target, const Figure& figure, bool withOptional) {
    drawCopy(target, figure, Matrix3(), CopyStep(), withOptional);
}
