#include "copyarray/copy_preview.h"

#include "view/canvas.h"
#include "view/pixels.h"

namespace {
// The dots reach two pixels beyond their centre.
constexpr double kDotReach = 2.0;
}  // namespace

PreviewResult drawCopies(Canvas& canvas, const Figure& figure, const Bounds& bounds,
                         CopyArray& copies, const CopyInputs& inputs,
                         std::chrono::steady_clock::time_point deadline) {
    canvas.selectCopyPen();
    PreviewResult result;
    const CopyParameters params = evaluateCopyParameters(inputs);
    result.clamped = params.copiesClamped;
    if (params.copies <= 0 || bounds.empty) {
        result.wanted = params.copies > 0 ? params.copies : 0;
        result.drawn = result.wanted;
        return result;
    }
    result.wanted = params.copies;
    const ViewMapping& view = canvas.view;
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        if (k > 1 && std::chrono::steady_clock::now() >= deadline) break;
        result.drawn = k;
        copies.buildDrawingMatrix(params, steps.next());
        const Matrix3& m = copies.matrix;
        if (copyMissesCanvas(bounds.box, m, view, canvas.bitmapWidth, canvas.bitmapHeight,
                             kDotReach))
            continue;
        auto segment = [&](const LineItem& s) {
            canvas.drawSegmentPixels(
                view.worldToScreen(m.transformX(s.x1, s.y1), m.transformY(s.x1, s.y1)),
                view.worldToScreen(m.transformX(s.x2, s.y2), m.transformY(s.x2, s.y2)));
        };
        for (const LineItem& s : figure.lines) segment(s);
        for (const PolylineItem& p : figure.polylines)
            for (const LineItem& s : p.segments) segment(s);
        for (const CircleItem& c : figure.circles) canvas.drawCircle(c, m);
        if (!figure.points.empty()) {
            // The dots of this copy go over its lines and under the next copy's lines.
            canvas.flushLines();
            for (const PointItem& p : figure.points)
                canvas.drawPointDot(m.transformX(p.x, p.y), m.transformY(p.x, p.y),
                                    kCopyPointColour);
        }
    }
    return result;
}
