#pragma once

#include <chrono>

#include "copyarray/copy_array.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

struct PreviewResult {
    int wanted = 0;        // copies the parameters ask for
    int drawn = 0;         // copies handled before the time ran out (those off the canvas count)
    bool clamped = false;  // the count asked for more than the most copies there can be
};

// Draws copies 1..n of the figure onto a drawing target, lines in the copy colour, each copy's
// points as dots over its own lines and under the next copy's. Copies whose box misses the
// target are skipped; no further copy is begun after the deadline, so a repaint never hangs
// the window. The target, in world coordinates:
//   beginCopyLines(), beginCopyDots()       what is drawn next
//   copyMissesView(box, m)                  the box under m lies wholly outside the visible area
//   worldSegment(a, b), worldDot(p)
//   drawCircle(circle, m)                   the circle's outline under m
template <class Target>
PreviewResult drawCopies(Target& target, const Figure& figure, const Bounds& bounds,
                         CopyArray& copies, const CopyInputs& inputs,
                         std::chrono::steady_clock::time_point deadline) {
    target.beginCopyLines();
    PreviewResult result;
    const CopyParameters params = evaluateCopyParameters(inputs);
    result.clamped = params.copiesClamped;
    if (params.copies <= 0 || bounds.empty) {
        result.wanted = params.copies > 0 ? params.copies : 0;
        result.drawn = result.wanted;
        return result;
    }
    result.wanted = params.copies;
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        if (k > 1 && std::chrono::steady_clock::now() >= deadline) break;
        result.drawn = k;
        copies.buildDrawingMatrix(params, steps.next());
        const Matrix3& m = copies.matrix;
        if (target.copyMissesView(bounds.box, m)) continue;
        auto segment = [&](const LineItem& s) {
            target.worldSegment(m.transformPoint(s.x1, s.y1), m.transformPoint(s.x2, s.y2));
        };
        for (const LineItem& s : figure.lines) segment(s);
        for (const PolylineItem& p : figure.polylines)
            for (const LineItem& s : p.segments) segment(s);
        for (const CircleItem& c : figure.circles) target.drawCircle(c, m);
        if (!figure.points.empty()) {
            target.beginCopyDots();
            for (const PointItem& p : figure.points) target.worldDot(m.transformPoint(p.x, p.y));
            target.beginCopyLines();
        }
    }
    return result;
}
