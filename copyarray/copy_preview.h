#pragma once

#include "copyarray/copy_array.h"
#include "copyarray/copy_gate.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

struct PreviewResult {
    int wanted = 0;        // copies the parameters ask for
    int drawn = 0;         // copies handled before the time ran out (those off the canvas count)
    bool clamped = false;  // the count asked for more than the most copies there can be
};

// The copies one of several workers draws: blocks of `block` consecutive copies, dealt to the
// workers in turn. One worker draws them all.
struct CopyShare {
    int worker = 0;
    int workers = 1;
    int block = 1;
    bool mine(int k) const { return workers == 1 || ((k - 1) / block) % workers == worker; }
};

// Draws copies 1..n of the figure onto a drawing target, lines in the copy colour, each copy's
// points as dots over its own lines and under the next copy's. Copies whose box misses the
// target are skipped; the gate says whether a further copy is begun (none after the deadline,
// so a repaint never hangs the window). Of the copies begun, the target draws its share; the
// result counts all the copies begun. The target, in world coordinates:
//   beginCopyLines(k), beginCopyDots(k)     what copy k draws next
//   copyMissesView(box, m)                  the box under m lies wholly outside the visible area
//   drawSegments(segments, m), drawCircle(circle, m), drawDots(points, m)
template <class Target>
PreviewResult drawCopies(Target& target, const Figure& figure, const Bounds& bounds,
                         CopyArray& copies, const CopyInputs& inputs, CopyGate& gate,
                         const CopyShare& share = CopyShare()) {
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
    int known = 0;
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        if (!share.mine(k)) continue;
        if (!gate.mayBegin(k, known)) break;
        copies.buildDrawingMatrix(params, step);
        const Matrix3& m = copies.matrix;
        if (target.copyMissesView(bounds.box, m)) continue;
        target.beginCopyLines(k);
        target.drawSegments(figure.lines, m);
        for (const PolylineItem& p : figure.polylines) target.drawSegments(p.segments, m);
        for (const CircleItem& c : figure.circles) target.drawCircle(c, m);
        if (!figure.points.empty()) {
            target.beginCopyDots(k);
            target.drawDots(figure.points, m);
        }
    }
    result.drawn = gate.begun();
    return result;
}
