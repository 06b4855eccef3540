#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "copyarray/copy_array.h"
#include "copyarray/copy_gate.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

struct PreviewResult {
    int wanted = 0;        // copies the parameters ask for
    int drawn = 0;         // copies handled before the time ran out (those off the canvas count)
    bool clamped = false;  // the count asked for more than the most copies there can be
    int ownLast = 0;       // the last copy this worker began: copies.matrix is its matrix
};

// Blocks of `block` consecutive copies, each taken by whichever worker is free next; a worker
// takes its blocks in rising order.
struct CopyDeal {
    explicit CopyDeal(int copiesPerBlock) : block(copiesPerBlock) {}
    // The next block's copies first..last of 1..copies; false when none is left.
    bool take(int copies, int& first, int& last) {
        const int64_t b = taken.fetch_add(1);
        if (b >= (int64_t{copies} + block - 1) / block) return false;
        first = static_cast<int>(b * block + 1);
        last = static_cast<int>(std::min<int64_t>(copies, b * block + block));
        return true;
    }

    int block;
    std::atomic<int64_t> taken{0};
};

// Draws copies 1..n of the figure onto a drawing target, lines in the copy colour, each copy's
// points as dots over its own lines and under the next copy's. Copies whose box misses the
// target are skipped; the gate says whether a further copy is begun (none after the deadline,
// so a repaint never hangs the window). With a deal, the target draws the blocks it takes;
// the result counts all the copies begun. The target, in world coordinates:
//   beginCopyLines(k), beginCopyDots(k)     what copy k draws next
//   copyMissesView(box, m)                  the box under m lies wholly outside the visible area
//   drawSegments(segments, m), drawCircle(circle, m), drawDots(points, m)
template <class Target>
PreviewResult drawCopies(Target& target, const Figure& figure, const Bounds& bounds,
                         CopyArray& copies, const CopyInputs& inputs, CopyGate& gate,
                         CopyDeal* deal = nullptr) {
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
    int first = 1, last = deal ? 0 : params.copies;  // the copies this worker draws now
    for (int k = 1; k <= params.copies; ++k) {
        // Every step in turn: the powers of the scales must come out as one pass makes them.
        const CopyStep step = steps.next();
        if (k > last && !(deal && deal->take(params.copies, first, last))) break;
        if (k < first) continue;
        if (!gate.mayBegin(k, known)) break;
        result.ownLast = k;
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
