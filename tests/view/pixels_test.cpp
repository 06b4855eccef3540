#include "view/pixels.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Pixels, TruncateTowardZeroWithinRange) {
    const PixelPoint p = toPixel({298.5, 201.5});
    EXPECT_EQ(p.x, 298);
    EXPECT_EQ(p.y, 201);
    const PixelPoint n = toPixel({-0.7, -1.5});
    EXPECT_EQ(n.x, 0);
    EXPECT_EQ(n.y, -1);
}

TEST(Pixels, ValuesBeyondTheRangeAreClampedNotOverflowed) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(toPixel({1e300, -1e300}).x, kPixelLimit);
    EXPECT_EQ(toPixel({1e300, -1e300}).y, -kPixelLimit);
    EXPECT_EQ(toPixel({inf, std::numeric_limits<double>::quiet_NaN()}).x, kPixelLimit);
    EXPECT_EQ(toPixel({inf, std::numeric_limits<double>::quiet_NaN()}).y, 0);
}

TEST(Pixels, SegmentsInsideAreUntouchedAndFarOnesClipped) {
    PixelPoint a, b;
    ASSERT_TRUE(segmentToPixels({300, 200}, {298.5, 201.5}, a, b));
    EXPECT_EQ(b.x, 298);
    EXPECT_EQ(b.y, 201);
    // A horizontal line to far away stays horizontal after clipping.
    ASSERT_TRUE(segmentToPixels({10, 20}, {1e12, 20}, a, b));
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(b.x, kPixelLimit);
    EXPECT_EQ(b.y, 20);
    // Wholly outside, or not finite: nothing to draw.
    EXPECT_FALSE(segmentToPixels({1e12, 0}, {2e12, 5}, a, b));
    EXPECT_FALSE(segmentToPixels({0, 0}, {std::numeric_limits<double>::infinity(), 5}, a, b));
}

TEST(Pixels, CopyCullingKeepsEverythingThatCouldShow) {
    ViewMapping v;
    v.setClientSize(600, 400);
    const Extents box{0, 0, 10, 10};
    Matrix3 m;
    EXPECT_FALSE(copyMissesCanvas(box, m, v, 600, 400, 2.0));
    m.translate(-330, 0);  // right edge at pixel -20: gone
    EXPECT_TRUE(copyMissesCanvas(box, m, v, 600, 400, 2.0));
    Matrix3 near;
    near.translate(-312, 0);  // right edge at -2: a dot there still reaches pixel 0
    EXPECT_FALSE(copyMissesCanvas(box, near, v, 600, 400, 2.0));
    Matrix3 below;
    below.translate(0, -300);
    EXPECT_TRUE(copyMissesCanvas(box, below, v, 600, 400, 2.0));
}

}  // namespace
