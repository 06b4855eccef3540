#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "figure/figure.h"

// An arc after scaling (x, y) -> (sx x, sy y) about its centre: new radius, ratio and tilt, and
// the shift of both angles' parameters. A zero radius gets ratio 1.
struct ScaledArc {
    double radius = 0.0, ratio = 0.0, tilt = 0.0, shift = 0.0;
};

ScaledArc scaledArc(const CircleItem& arc, double sx, double sy);

// Re-expresses the arc after that scaling: scaledArc's values, both angles shifted.
void scaleArc(CircleItem& arc, double sx, double sy);

// Whether the scaled arc's line takes its radius alone: a circle read in the three-number form
// that stays a circle.
inline bool radiusAlone(const CircleItem& c, double sx, double sy) {
    return c.isThreeNumberCircle() && std::fabs(sx) == std::fabs(sy);
}

// The circles and arcs of a figure scaled by one pair of scales, once for a run of copies. Each
// keeps what its line takes: a circle whose line takes its radius alone, the radius alone.
struct ScaledArcs {
    // Makes room for the circles scaled by (sx, sy), which fill() then scales.
    void plan(const std::vector<CircleItem>& circles, double sx, double sy);
    // Circles [from, to) of those planned for; from any thread, each its own range.
    void fill(const std::vector<CircleItem>& circles, std::size_t from, std::size_t to);
    void clear();
    bool empty() const { return radius.empty(); }
    std::size_t size() const { return radius.size(); }
    // Circle i's, with ratio, tilt and shift 0 where its line takes the radius alone.
    ScaledArc operator[](std::size_t i) const {
        const std::uint64_t below = (std::uint64_t{1} << (i % 64)) - 1;
        const std::uint64_t word = shaped[i / 64];
        if (!(word >> (i % 64) & 1)) return {radius[i], 0.0, 0.0, 0.0};
        const Shape& s = shapes[shapesBefore[i / 64] + __builtin_popcountll(word & below)];
        return {radius[i], s.ratio, s.tilt, s.shift};
    }

    double scaleX = 1.0, scaleY = 1.0;

  private:
    struct Shape {
        double ratio, tilt, shift;
    };
    std::vector<double> radius;         // one per circle
    std::vector<Shape> shapes;          // of the circles that take more than the radius, in order
    std::vector<std::uint64_t> shaped;  // bit i % 64 of word i / 64: circle i has a shape
    std::vector<std::uint32_t> shapesBefore;  // the shapes before each word's circles
};
