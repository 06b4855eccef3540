#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "copyarray/writer.h"

namespace {

const double kHalfPi = std::acos(0.0);
const double kPi = 2 * kHalfPi;

CircleItem arc(double radius, double start, double end, double ratio, double tilt) {
    CircleItem c;
    c.cx = 3;
    c.cy = -2;
    c.radius = radius;
    c.startAngle = start;
    c.endAngle = end;
    c.ratio = ratio;
    c.tilt = tilt;
    return c;
}

// The point at parameter theta, relative to the centre.
Point2 at(const CircleItem& c, double theta) {
    const double u = c.radius * std::cos(theta), v = c.ratio * c.radius * std::sin(theta);
    return {u * std::cos(c.tilt) - v * std::sin(c.tilt),
            u * std::sin(c.tilt) + v * std::cos(c.tilt)};
}

CircleItem scaled(CircleItem c, double sx, double sy) {
    scaleArc(c, sx, sy);
    return c;
}

TEST(ScaleArc, QuarterArcStretchedAlongX) {
    const CircleItem c = scaled(arc(10, 0, kHalfPi, 1, 0), 2, 1);
    EXPECT_NEAR(c.radius, 20, 1e-12);
    EXPECT_NEAR(c.startAngle, 0, 1e-15);
    EXPECT_NEAR(c.endAngle, kHalfPi, 1e-15);
    EXPECT_NEAR(c.ratio, 0.5, 1e-15);
    EXPECT_NEAR(c.tilt, 0, 1e-15);
    EXPECT_EQ(c.cx, 3.0);  // the centre and the outline are not the function's business
    EXPECT_EQ(c.cy, -2.0);
}

TEST(ScaleArc, QuarterArcStretchedAlongYCountsAnglesFromTheNewLongAxis) {
    const CircleItem c = scaled(arc(10, 0, kHalfPi, 1, 0), 1, 2);
    EXPECT_NEAR(c.radius, 20, 1e-12);
    EXPECT_NEAR(c.startAngle, -kHalfPi, 1e-15);
    EXPECT_NEAR(c.endAngle, 0, 1e-15);
    EXPECT_NEAR(c.ratio, 0.5, 1e-15);
    EXPECT_NEAR(c.tilt, kHalfPi, 1e-15);
}

TEST(ScaleArc, EqualPositiveScalesKeepAFlatArc) {
    for (double tilt : {-2.5, -0.4, 0.0, 1.0, 3.0}) {
        const CircleItem c = scaled(arc(4, 0.2, 1.3, 0.3, tilt), 2.5, 2.5);
        EXPECT_NEAR(c.radius, 10, 1e-12) << tilt;
        EXPECT_NEAR(c.ratio, 0.3, 1e-14) << tilt;
        EXPECT_NEAR(c.startAngle, 0.2, 1e-14) << tilt;
        EXPECT_NEAR(c.endAngle, 1.3, 1e-14) << tilt;
        EXPECT_NEAR(c.tilt, tilt, 1e-14) << tilt;
    }
}

TEST(ScaleArc, CircularArcWithTiltIsReExpressed) {
    const CircleItem c = scaled(arc(4, 0.2, 1.3, 1, 0.8), 3, 3);
    EXPECT_NEAR(c.radius, 12, 1e-12);
    EXPECT_NEAR(c.ratio, 1, 1e-14);
    EXPECT_NEAR(c.tilt, 0.4, 1e-14);
    EXPECT_NEAR(c.startAngle, 0.6, 1e-14);
    EXPECT_NEAR(c.endAngle, 1.7, 1e-14);
}

TEST(ScaleArc, RatioAboveOneTakesTheOtherAxis) {
    const CircleItem c = scaled(arc(5, 0.1, 0.9, 2, 0), 1, 1);
    EXPECT_NEAR(c.radius, 10, 1e-12);
    EXPECT_NEAR(c.ratio, 0.5, 1e-14);
    EXPECT_NEAR(std::fabs(c.tilt), kHalfPi, 1e-14);
    EXPECT_NEAR(c.startAngle - 0.1, -c.tilt, 1e-14);  // shifted by the opposite quarter turn
    EXPECT_NEAR(c.endAngle - 0.9, -c.tilt, 1e-14);
}

TEST(ScaleArc, SignOfTheRatioTellsAMirroredArc) {
    EXPECT_LT(scaled(arc(5, 0, 1, 0.5, 0.3), 1, -1).ratio, 0);
    EXPECT_LT(scaled(arc(5, 0, 1, 0.5, 0.3), -2, 3).ratio, 0);
    EXPECT_GT(scaled(arc(5, 0, 1, 0.5, 0.3), -2, -3).ratio, 0);
    EXPECT_GT(scaled(arc(5, 0, 1, 0.5, 0.3), 2, 3).ratio, 0);
}

TEST(ScaleArc, ZeroRadiusGetsRatioOne) {
    const CircleItem zero = scaled(arc(0, 0, 1, 0.5, 0.3), 2, 3);
    EXPECT_EQ(zero.radius, 0.0);
    EXPECT_EQ(zero.ratio, 1.0);
    const CircleItem collapsed = scaled(arc(5, 0, 1, 0.5, 0.3), 0, 0);
    EXPECT_EQ(collapsed.radius, 0.0);
    EXPECT_EQ(collapsed.ratio, 1.0);
    EXPECT_TRUE(std::isfinite(collapsed.tilt));
    EXPECT_TRUE(std::isfinite(collapsed.startAngle));
}

// The re-expressed arc is the scaled curve: the point at theta, scaled, is the new arc's point
// at theta + shift; the radius is the long semi-axis.
TEST(ScaleArc, DescribesExactlyTheScaledCurve) {
    std::uint32_t state = 99;
    auto uniform = [&](double lo, double hi) {
        state = state * 1664525u + 1013904223u;
        return lo + (hi - lo) * (state >> 8) / 16777216.0;
    };
    const double scales[][2] = {{1, 1},   {2, 1},  {1, 2},     {-1, 1},  {1, -1},  {-2, -0.5},
                                {0.3, 5}, {-4, 4}, {2.5, 2.5}, {0, 1.5}, {1e-3, 7}};
    for (const auto& s : scales) {
        for (int i = 0; i < 40; ++i) {
            const double start = uniform(-4, 4);
            const CircleItem before = arc(uniform(0.1, 50), start, start + uniform(0.1, 6.2),
                                          uniform(-1.5, 3), uniform(-kPi, kPi));
            const CircleItem after = scaled(before, s[0], s[1]);
            const double shift = after.startAngle - before.startAngle;
            EXPECT_NEAR(after.endAngle - before.endAngle, shift, 1e-12);
            EXPECT_GE(after.radius, 0.0);
            EXPECT_LE(std::fabs(after.ratio), 1.0 + 1e-12);
            const double size =
                before.radius * (std::fabs(s[0]) + std::fabs(s[1])) * (1 + std::fabs(before.ratio));
            for (double f : {0.0, 0.37, 1.0}) {
                const double theta = before.startAngle + f * (before.endAngle - before.startAngle);
                const Point2 p = at(before, theta);
                const Point2 q = at(after, theta + shift);
                ASSERT_NEAR(q.x, s[0] * p.x, 1e-12 * size) << "scale " << s[0] << ", " << s[1];
                ASSERT_NEAR(q.y, s[1] * p.y, 1e-12 * size) << "scale " << s[0] << ", " << s[1];
            }
        }
    }
}

}  // namespace
