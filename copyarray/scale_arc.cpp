#include "copyarray/scale_arc.h"

#include <cmath>

ScaledArc scaledArc(const CircleItem& arc, double sx, double sy) {
    const double r = arc.radius;
    const double b = arc.ratio * r;
    const double c = std::cos(arc.tilt);
    const double s = std::sin(arc.tilt);
    const double a1 = sx * r * c;
    const double a2 = -sx * b * s;
    const double b1 = sy * r * s;
    const double b2 = sy * b * c;
    const double p = std::atan2(b1 - a2, a1 + b2);
    const double q = std::atan2(b1 + a2, a1 - b2);
    const double newTilt = (p + q) * 0.5;
    const double shift = (p - q) * 0.5;
    const double cd = std::cos(shift);
    const double sd = std::sin(shift);
    const double ct = std::cos(newTilt);
    const double st = std::sin(newTilt);
    const double cc = ct * c;
    const double ss = st * s;
    const double sc = st * c;
    const double cs = ct * s;
    const double newRadius = (cc * sx + ss * sy) * cd * r - (sc * sy - cs * sx) * sd * b;
    // 0/0 for a zero radius or two zero scale factors; a circle of radius 0 has ratio 1.
    const double newRatio =
        newRadius == 0.0
            ? 1.0
            : ((cs * sy - sc * sx) * sd * r + (cc * sy + ss * sx) * cd * b) / newRadius;
    return {newRadius, newRatio, newTilt, shift};
}

void scaleArc(CircleItem& arc, double sx, double sy) {
    const ScaledArc scaled = scaledArc(arc, sx, sy);
    arc.radius = scaled.radius;
    arc.ratio = scaled.ratio;
    arc.tilt = scaled.tilt;
    arc.startAngle += scaled.shift;
    arc.endAngle += scaled.shift;
}

void ScaledArcs::plan(const std::vector<CircleItem>& circles, double sx, double sy) {
    scaleX = sx;
    scaleY = sy;
    radius.assign(circles.size(), 0.0);
    shaped.assign((circles.size() + 63) / 64, 0);
    shapesBefore.assign(shaped.size(), 0);
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < circles.size(); ++i) {
        if (i % 64 == 0) shapesBefore[i / 64] = count;
        if (radiusAlone(circles[i], sx, sy)) continue;
        shaped[i / 64] |= std::uint64_t{1} << (i % 64);
        ++count;
    }
    shapes.assign(count, Shape{0.0, 0.0, 0.0});
}

void ScaledArcs::fill(const std::vector<CircleItem>& circles, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const ScaledArc s = scaledArc(circles[i], scaleX, scaleY);
        radius[i] = s.radius;
        const std::uint64_t word = shaped[i / 64];
        if (!(word >> (i % 64) & 1)) continue;
        const std::uint64_t below = (std::uint64_t{1} << (i % 64)) - 1;
        shapes[shapesBefore[i / 64] + __builtin_popcountll(word & below)] = {s.ratio, s.tilt,
                                                                             s.shift};
    }
}

void ScaledArcs::clear() {
    radius.clear();
    shapes.clear();
    shaped.clear();
    shapesBefore.clear();
}
