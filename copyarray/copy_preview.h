#pragma once

#include "copyarray/copy_array.h"
#include "copyarray/copy_deal.h"
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

// One overload per element kind: what one copy of the kind's items draws.
template <class Target>
void drawKind(Target& target, SegmentKind, const Figure& figure, const Matrix3& m, int) {
    target.drawSegments(figure.lines, m);
}
template <class Target>
void drawKind(Target& target, PolylineKind, const Figure& figure, const Matrix3& m, int) {
    for (const PolylineItem& p : figure.polylines) target.drawSegments(p.segments, m);
}
template <class Target>
void drawKind(Target& target, CircleKind, const Figure& figure, const Matrix3& m, int) {
    target.drawCircles(figure.circles, m);
}
template <class Target>
void drawKind(Target& target, PointKind, const Figure& figure, const Matrix3& m, int k) {
    if (figure.points.empty()) return;
    target.beginCopyDots(k);  // the dots over this copy's lines
    target.drawDots(figure.points, m);
}

template <class Target>
void drawKind(Target& target, TextKind, const Figure& figure, const Matrix3& m, int) {
    target.drawTexts(figure.texts, m);
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
//   copyMissesView(box, m)                  the box under m lies wholly outside the visible area
//   drawSegments(segments, m), drawCircles(circles, m), drawDots(points, m), drawTexts(texts, m)
template <class Target>
PreviewResult drawCopies(Target& target, const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params, CopyDeal& deal) {
    const Bounds& bounds = figure.bounds;
    PreviewResult result;
    result.clamped = params.copiesClamped;
    const bool texts = params.keepAttributes && !figure.textBounds.empty;
    if (params.copies <= 0 || (bounds.empty && !texts)) {
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
        if ((bounds.empty || target.copyMissesView(bounds.box, m)) &&
            (!texts || target.copyMissesView(figure.textBounds.box, m)))
            continue;
        target.beginCopyLines(k);
        ElementKinds::each([&](auto kind) {
            if (!decltype(kind)::kOptional || params.keepAttributes)
                drawKind(target, kind, figure, m, k);
        });
    }
    result.drawn = deal.begun();
    return result;
}

// The figure itself, copy 0, in the figure's colour, with the kinds kept only with the
// attributes when asked for: the copies' own walk under the identity.
template <class Target>
void drawFigure(Target& target, const Figure& figure, bool withOptional) {
    const Matrix3 identity;
    target.beginCopyLines(0);
    ElementKinds::each([&](auto kind) {
        if (!decltype(kind)::kOptional || withOptional) drawKind(target, kind, figure, identity, 0);
    });
}
