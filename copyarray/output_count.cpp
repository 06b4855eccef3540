#include "copyarray/output_count.h"

#include <cfloat>
#include <cmath>

#include "copyarray/writer.h"
#include "figure/element_kinds.h"

int64_t elementsPerCopy(const Figure& figure, bool withTexts) {
    return static_cast<int64_t>(copyWeights(figure, withTexts).elements);
}

int64_t textsPerCopy(const Figure& figure) {
    return static_cast<int64_t>(figure.texts.size());
}

OutputCount outputCount(int64_t perCopy, const CopyParameters& params) {
    OutputCount count;
    count.copies = params.copies > 0 ? params.copies : 0;
    // At most kMaxCopies times what fits in memory: far inside 64 bits.
    count.elements = count.copies * perCopy;
    return count;
}

namespace {

// Strict comparisons, so a NaN never counts.
void widen(double& reach, double value) {
    const double a = std::fabs(value);
    if (a > reach) reach = a;
}

// One overload per element kind: the numbers of the item that the copy's matrix and scales
// act on.
void reachOf(FigureReach& r, const LineItem& s) {
    widen(r.coordinate, s.x1);
    widen(r.coordinate, s.y1);
    widen(r.coordinate, s.x2);
    widen(r.coordinate, s.y2);
}

void reachOf(FigureReach& r, const PolylineItem& p) {
    for (const LineItem& s : p.segments) reachOf(r, s);
}

void reachOf(FigureReach& r, const CircleItem& c) {
    r.circles = true;
    widen(r.coordinate, c.cx);
    widen(r.coordinate, c.cy);
    widen(r.arcSize, std::fabs(c.radius) * (1.0 + std::fabs(c.ratio)));
    widen(r.angle, c.startAngle);
    widen(r.angle, c.endAngle);
    widen(r.angle, c.tilt);
}

void reachOf(FigureReach& r, const PointItem& p) {
    widen(r.coordinate, p.x);
    widen(r.coordinate, p.y);
}

// Also when the texts are not written: a wider reach only sends more to the checking pass.
void reachOf(FigureReach& r, const TextItem& t) {
    widen(r.coordinate, t.x);
    widen(r.coordinate, t.y);
    widen(r.coordinate, t.dx);
    widen(r.coordinate, t.dy);
}

void reachOf(FigureReach& r, const SolidItem& s) {
    for (int i = 0; i < s.count; ++i) {
        widen(r.coordinate, s.corner[i].x);
        widen(r.coordinate, s.corner[i].y);
    }
}

void reachOf(FigureReach& r, const MarkerItem& p) {
    widen(r.coordinate, p.x);
    widen(r.coordinate, p.y);
}

// A block's insertion point; a dimension's elements are their kinds'.
void reachOf(FigureReach& r, const GroupItem& g) {
    widen(r.coordinate, g.x);
    widen(r.coordinate, g.y);
}

// Far enough below DBL_MAX that a sum of three products, each below it, stays finite, and so
// do the arc's radius and ratio after scaling (sums of a few products of the scales, the
// radius, the flattened radius and sines and cosines).
constexpr double kSafe = DBL_MAX / 64;
// Angles below this stay finite when turned into degrees.
constexpr double kSafeAngle = 1e300;

// The conservative bound: true only when no copy can write a number that is not finite.
bool withinBound(const FigureReach& reach, const CopyArray& copies, const CopyParameters& params) {
    CopySteps steps(params);
    if (reach.circles && !(reach.arcSize < kSafe && reach.angle < kSafeAngle)) return false;
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        const Matrix3 matrix = copies.copyMatrix(params, step);
        const double(&m)[3][3] = matrix.m;
        double most = 0.0;
        for (double v : {m[0][0], m[0][1], m[1][0], m[1][1]}) widen(most, v);
        // A NaN fails every comparison, so it falls to the checking pass.
        if (!(most * reach.coordinate < kSafe && std::fabs(m[2][0]) < kSafe &&
              std::fabs(m[2][1]) < kSafe))
            return false;
        if (!reach.circles) continue;
        const double scale = std::fmax(std::fabs(step.scaleX), std::fabs(step.scaleY));
        if (!(scale * reach.arcSize < kSafe && std::fabs(step.turn) < kSafeAngle)) return false;
    }
    return true;
}

}  // namespace

FigureReach figureReach(const Figure& figure) {
    FigureReach reach;
    ElementKinds::each([&](auto kind) {
        for (const auto& item : decltype(kind)::list(figure)) reachOf(reach, item);
    });
    return reach;
}

bool copiesRepresentable(const Figure& figure, const FigureReach& reach, const CopyArray& copies,
                         const CopyParameters& params) {
    if (params.copies <= 0 || withinBound(reach, copies, params)) return true;
    OutputBuffer check(nullptr);
    return emitCopies(figure, copies, params, check) != WriteError::notRepresentable;
}

bool copiesRepresentable(const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params) {
    return copiesRepresentable(figure, figureReach(figure), copies, params);
}
