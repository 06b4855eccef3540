#include "copyarray/output_count.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "copyarray/copy_layout.h"
#include "copyarray/element_lines.h"
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

void include(PointReach& r, double x, double y, std::size_t item = 0) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        r.notFinite = true;
        return;
    }
    if (!r.any) {
        r.any = true;
        r.minX = r.maxX = x;
        r.minY = r.maxY = y;
        for (PointReach::Side& side : r.side) side = {x, y, item};
        return;
    }
    if (x < r.minX) r.minX = x, r.side[0] = {x, y, item};
    if (x > r.maxX) r.maxX = x, r.side[1] = {x, y, item};
    if (y < r.minY) r.minY = y, r.side[2] = {x, y, item};
    if (y > r.maxY) r.maxY = y, r.side[3] = {x, y, item};
}

double magnitude(const PointReach& r) {
    double most = 0.0;
    for (double v : {r.minX, r.maxX, r.minY, r.maxY}) widen(most, v);
    return most;
}

// One overload per element kind: the numbers of the item that the copy's matrix and scales
// act on.
void reachOf(FigureReach& r, const LineItem& s, std::size_t) {
    include(r.points, s.x1, s.y1);
    include(r.points, s.x2, s.y2);
}

void reachOf(FigureReach& r, const PolylineItem& p, std::size_t) {
    for (const LineItem& s : p.segments) reachOf(r, s, 0);
}

void reachOf(FigureReach& r, const CircleItem& c, std::size_t) {
    include(r.points, c.cx, c.cy);
    const double size = std::fabs(c.radius) * (1.0 + std::fabs(c.ratio));
    if (!r.circles || size > r.arcSize) r.largestArc = c;
    widen(r.arcSize, size);
    const double angle =
        std::fmax(std::fmax(std::fabs(c.startAngle), std::fabs(c.endAngle)), std::fabs(c.tilt));
    if (!r.circles || angle > r.angle) r.widestAngle = c;
    widen(r.angle, angle);
    r.circles = true;
}

void reachOf(FigureReach& r, const PointItem& p, std::size_t) {
    include(r.points, p.x, p.y);
}

// Apart from the rest: they count only when the copies keep the texts.
void reachOf(FigureReach& r, const TextItem& t, std::size_t index) {
    include(r.textPoints, t.x, t.y, index);
    include(r.textVectors, t.dx, t.dy, index);
    if (!std::isfinite(lengthOf(t.dx, t.dy))) r.textTooLong = true;
}

void reachOf(FigureReach& r, const SolidItem& s, std::size_t) {
    for (int i = 0; i < s.count; ++i) include(r.optionalPoints, s.corner[i].x, s.corner[i].y);
}

void reachOf(FigureReach& r, const MarkerItem& p, std::size_t) {
    include(r.optionalPoints, p.x, p.y);
}

// A block's insertion point.
void reachOf(FigureReach& r, const GroupItem& g, std::size_t) {
    include(r.optionalPoints, g.x, g.y);
}

// Far enough below DBL_MAX that a sum of three products, each below it, stays finite, and so
// do the arc's radius and ratio after scaling (sums of a few products of the scales, the
// radius, the flattened radius and sines and cosines).
constexpr double kSafe = DBL_MAX / 64;
// A point's image is a sum of three products whose magnitudes this bound covers with a
// margin far beyond their rounding.
constexpr double kSafePoint = DBL_MAX / 4;
// Angles below this stay finite when turned into degrees.
constexpr double kSafeAngle = 1e300;

enum class Decision { finite, refuses, unknown };

// The image of a point, or of a text's vector (no translation), exactly as the writer forms it.
bool imageFinite(const Matrix3& m, double x, double y, bool translated) {
    if (translated) return std::isfinite(m.transformX(x, y)) && std::isfinite(m.transformY(x, y));
    return std::isfinite(m.m[0][0] * x + m.m[1][0] * y) &&
           std::isfinite(m.m[0][1] * x + m.m[1][1] * y);
}

// Rounding is monotonic, so each coordinate of an image, as computed, lies between its values
// at two opposite corners of the box: finite corners make every point of the set finite.
bool cornersFinite(const PointReach& r, const Matrix3& m, bool translated) {
    return imageFinite(m, r.minX, r.minY, translated) &&
           imageFinite(m, r.minX, r.maxY, translated) &&
           imageFinite(m, r.maxX, r.minY, translated) && imageFinite(m, r.maxX, r.maxY, translated);
}

Decision worse(Decision a, Decision b) {
    if (a == Decision::refuses || b == Decision::refuses) return Decision::refuses;
    return a == Decision::unknown || b == Decision::unknown ? Decision::unknown : Decision::finite;
}

template <class Item>
bool writes(const Item& item, const Matrix3& m, const CopyStep& step) {
    OutputBuffer check(nullptr);
    return putItem(check, m, step, item);
}

// One copy from the reach alone: the points at the box's sides are written by the copy, so
// one of them that is not finite decides as surely as finite corners do.
Decision decideCopy(const Figure& figure, const FigureReach& reach, const Matrix3& m,
                    const CopyStep& step, bool texts) {
    Decision d = Decision::finite;
    if (reach.points.any && !cornersFinite(reach.points, m, true)) {
        d = Decision::unknown;
        for (const PointReach::Side& side : reach.points.side)
            if (!imageFinite(m, side.x, side.y, true)) return Decision::refuses;
    }
    if (texts) {
        for (const PointReach* set : {&reach.textPoints, &reach.textVectors}) {
            if (!set->any || cornersFinite(*set, m, set == &reach.textPoints)) continue;
            d = worse(d, Decision::unknown);
            for (const PointReach::Side& side : set->side)
                if (!writes(figure.texts[side.item], m, step)) return Decision::refuses;
        }
        if (reach.optionalPoints.any && !cornersFinite(reach.optionalPoints, m, true)) {
            d = worse(d, Decision::unknown);
            for (const PointReach::Side& side : reach.optionalPoints.side)
                if (!imageFinite(m, side.x, side.y, true)) return Decision::refuses;
        }
    }
    if (reach.circles) {
        const double scale = std::fmax(std::fabs(step.scaleX), std::fabs(step.scaleY));
        if (!(reach.arcSize < kSafe && reach.angle < kSafeAngle && scale * reach.arcSize < kSafe &&
              std::fabs(step.turn) < kSafeAngle)) {
            if (!writes(reach.largestArc, m, step) || !writes(reach.widestAngle, m, step))
                return Decision::refuses;
            d = worse(d, Decision::unknown);
        }
    }
    return d;
}

// Whether every number a copy writes stays finite when the copy scales by at most `scale`,
// moves at most `moves` times the move and turns by at most `turn`, about the base point.
bool boundHolds(const FigureReach& reach, const CopyArray& copies, const CopyParameters& params,
                double scale, double moves, double turn, bool texts) {
    const double base = std::fabs(copies.baseX) + std::fabs(copies.baseY);
    const double shift =
        base * scale + moves * (std::fabs(params.moveX) + std::fabs(params.moveY)) + base;
    double coordinate = magnitude(reach.points);
    if (texts) {
        coordinate = std::fmax(coordinate, magnitude(reach.textPoints));
        coordinate = std::fmax(coordinate, magnitude(reach.optionalPoints));
        if (!(2.0 * scale * magnitude(reach.textVectors) < kSafePoint)) return false;
    }
    // A NaN fails every comparison, so it falls to the copies one by one.
    if (!(2.0 * scale * coordinate + shift < kSafePoint)) return false;
    return !reach.circles || (reach.arcSize < kSafe && reach.angle < kSafeAngle &&
                              scale * reach.arcSize < kSafe && turn < kSafeAngle);
}

// A bound over every copy at once: scale powers up to max(1, |sx|, |sy|)^n, turns up to
// n * |angle|, moves up to n times the move, all about the base point.
bool allCopiesWithinBound(const FigureReach& reach, const CopyArray& copies,
                          const CopyParameters& params, bool texts) {
    const double n = params.copies;
    // fmax passes a NaN over; every bound below must fail on one.
    if (std::isnan(params.scaleX) || std::isnan(params.scaleY) ||
        !(n * std::fabs(params.angle) < DBL_MAX))
        return false;
    const double most =
        std::fmax(1.0, std::fmax(std::fabs(params.scaleX), std::fabs(params.scaleY)));
    const double scale = most == 1.0 ? 1.0 : std::pow(most, n);
    return boundHolds(reach, copies, params, scale, n, n * std::fabs(params.angle), texts);
}

// The copy's own bound, before its matrix is made.
bool copyWithinBound(const FigureReach& reach, const CopyArray& copies,
                     const CopyParameters& params, const CopyStep& step, bool texts) {
    if (std::isnan(step.scaleX) || std::isnan(step.scaleY) || !std::isfinite(step.turn))
        return false;
    const double scale = std::fmax(std::fabs(step.scaleX), std::fabs(step.scaleY));
    return boundHolds(reach, copies, params, scale, step.k, std::fabs(step.turn), texts);
}

}  // namespace

FigureReach figureReach(const Figure& figure) {
    FigureReach reach;
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        // A dimension's head is a line without a point: only its elements, in their kinds, reach.
        if constexpr (!std::is_same_v<Kind, DimensionKind>) {
            const auto& list = Kind::list(figure);
            for (std::size_t i = 0; i < list.size(); ++i) reachOf(reach, list[i], i);
        }
    });
    for (const std::vector<GroupItem>* groups : {&figure.dimensions, &figure.blocks})
        for (const GroupItem& g : *groups) {
            if (!g.known) reach.unknownGroups = true;
            if (g.known && groups == &figure.blocks) reach.blocks = true;
        }
    return reach;
}

WriteVerdict writeVerdict(const Figure& figure, const FigureReach& reach, const CopyArray& copies,
                          const CopyParameters& params, std::size_t budget) {
    // The kinds written only with the attributes, where there are any ("texts" for short).
    const bool texts = params.keepAttributes && (reach.textPoints.any || reach.optionalPoints.any);
    if (params.copies <= 0) return WriteVerdict::writes;
    if (reach.points.notFinite ||
        (texts && (reach.textTooLong || reach.textPoints.notFinite || reach.textVectors.notFinite ||
                   reach.optionalPoints.notFinite)))
        return WriteVerdict::refuses;
    if (!reach.points.any && !texts) return WriteVerdict::writes;
    if (allCopiesWithinBound(reach, copies, params, texts)) return WriteVerdict::writes;
    std::vector<CopyStep> undecided;
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        if (copyWithinBound(reach, copies, params, step, texts)) continue;
        Decision decided = decideCopy(figure, reach, copies.copyMatrix(params, step), step, texts);
        // The reach holds every element; a copy that leaves some out is decided by the writer.
        const bool leavesOut =
            params.keepAttributes && (reach.unknownGroups || (reach.blocks && !movesOnly(step)));
        if (decided == Decision::refuses && leavesOut) decided = Decision::unknown;
        switch (decided) {
            case Decision::finite:
                break;
            case Decision::refuses:
                return WriteVerdict::refuses;
            case Decision::unknown:
                undecided.push_back(step);
                break;
        }
    }
    // The rest copy by copy, as the writer checks them, while the budget lasts.
    if (undecided.empty()) return WriteVerdict::writes;
    const std::size_t perCopy = static_cast<std::size_t>(elementsPerCopy(figure, texts)) + 1;
    if (budget < perCopy) return WriteVerdict::unknown;
    const CopyLayout layout(figure, false, params.keepAttributes);
    std::size_t spent = 0;
    OutputBuffer check(nullptr);
    for (const CopyStep& step : undecided) {
        if (budget - spent < perCopy) return WriteVerdict::unknown;
        spent += perCopy;
        if (!layout.put(check, copies.copyMatrix(params, step), step, 0, layout.perCopy))
            return WriteVerdict::refuses;
    }
    return WriteVerdict::writes;
}

bool copiesRepresentable(const Figure& figure, const FigureReach& reach, const CopyArray& copies,
                         const CopyParameters& params) {
    return writeVerdict(figure, reach, copies, params, SIZE_MAX) != WriteVerdict::refuses;
}

bool copiesRepresentable(const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params) {
    return copiesRepresentable(figure, figureReach(figure), copies, params);
}
