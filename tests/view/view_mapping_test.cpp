#include "view/view_mapping.h"

#include <gtest/gtest.h>

namespace {

ViewMapping canvas600x400() {
    ViewMapping v;
    v.setClientSize(600, 400);
    return v;
}

TEST(ViewMapping, MapsWorldToPixelsAndBack) {
    ViewMapping v = canvas600x400();
    EXPECT_EQ(v.worldToScreen(0, 0).x, 300.0);
    EXPECT_EQ(v.worldToScreen(0, 0).y, 200.0);
    EXPECT_EQ(v.worldToScreen(10, 10).x, 310.0);
    EXPECT_EQ(v.worldToScreen(10, 10).y, 190.0);
    // Back from a truncated pixel: within one pixel of the world point.
    v.scale = 0.37;
    v.offsetX = -12;
    v.offsetY = 40;
    const Point2 s = v.worldToScreen(123.456, -78.9);
    const Point2 w = v.screenToWorld(static_cast<int32_t>(s.x), static_cast<int32_t>(s.y));
    EXPECT_NEAR(w.x, 123.456, v.scale);
    EXPECT_NEAR(w.y, -78.9, v.scale);
}

TEST(ViewMapping, HalfSizesTruncate) {
    ViewMapping v;
    v.setClientSize(601, 399);
    EXPECT_EQ(v.halfWidth, 300);
    EXPECT_EQ(v.halfHeight, 199);
}

TEST(ViewMapping, PanAtCentreKeepsViewButSavesIt) {
    ViewMapping v = canvas600x400();
    v.offsetX = 7;
    v.scale = 2.0;
    v.savedOffsetX = 99;
    v.panTo(300, 200);
    EXPECT_EQ(v.offsetX, 7);
    EXPECT_EQ(v.offsetY, 0);
    EXPECT_EQ(v.savedOffsetX, 7);
    EXPECT_EQ(v.savedScale, 2.0);
    v.panTo(310, 180);
    EXPECT_EQ(v.offsetX, 17);
    EXPECT_EQ(v.offsetY, -20);
}

TEST(ViewMapping, ZoomRecentresOnTruncatedWorldPoint) {
    ViewMapping v = canvas600x400();
    v.scale = 0.1;
    // World x under pixel 293 is -0.7, world -y under pixel 161 is -3.9: both truncate toward 0.
    v.zoomAt(293, 161, 2.0);
    EXPECT_EQ(v.scale, 0.05);
    EXPECT_EQ(v.offsetX, 0);
    EXPECT_EQ(v.offsetY, -60);  // -3 world units at 0.05 per pixel
    EXPECT_EQ(v.savedScale, 0.1);
}

TEST(ViewMapping, ZoomClampsAtTheLimits) {
    ViewMapping v = canvas600x400();
    v.scale = 0.00002;
    v.zoomAt(300, 200, 100.0);
    EXPECT_EQ(v.scale, kMinScale);
    v.scale = 60000.0;
    v.zoomOutAt(300, 200);
    EXPECT_EQ(v.scale, kMaxScale);
    v.zoomOutAt(300, 200);
    EXPECT_EQ(v.scale, kMaxScale);
    // A canvas without size asks for an infinite magnification; the scale stays finite.
    ViewMapping empty;
    empty.zoomToRect(0, 0, 20, 20);
    EXPECT_EQ(empty.scale, kMaxScale);
}

TEST(ViewMapping, ZoomOutCentresOnTheGivenPixel) {
    ViewMapping v = canvas600x400();
    v.zoomOutAt(400, 200);  // world x 100 becomes the centre at twice the units per pixel
    EXPECT_EQ(v.scale, 2.0);
    EXPECT_EQ(v.offsetX, 50);
    EXPECT_EQ(v.offsetY, 0);
}

TEST(ViewMapping, ZoomToRectFitsTheTighterDirection) {
    ViewMapping v = canvas600x400();
    v.zoomToRect(100, 100, 111, 111);  // 11 x 11: fx = 600/11, fy = 400/11
    EXPECT_DOUBLE_EQ(v.scale, 1.0 / (400.0 / 11.0));
    // Centre pixel (105, 105) is world (-195, 95): the new centre.
    EXPECT_EQ(v.offsetX, static_cast<int32_t>(-195 / v.scale));
    EXPECT_EQ(v.offsetY, static_cast<int32_t>(-95 / v.scale));
}

TEST(ViewMapping, PreviousTogglesAndShowAllGoesHome) {
    ViewMapping v = canvas600x400();
    v.homeScale = 3.0;
    v.panTo(350, 200);
    v.zoomOutAt(300, 200);
    const ViewMapping zoomed = v;
    v.previousView();
    EXPECT_EQ(v.offsetX, 50);
    EXPECT_EQ(v.scale, 1.0);
    v.previousView();
    EXPECT_EQ(v.offsetX, zoomed.offsetX);
    EXPECT_EQ(v.scale, zoomed.scale);
    v.showAll();
    EXPECT_EQ(v.scale, 3.0);
    EXPECT_EQ(v.offsetX, 0);
    v.previousView();
    EXPECT_EQ(v.scale, zoomed.scale);
    EXPECT_EQ(v.offsetX, zoomed.offsetX);
}

TEST(ViewMapping, FitUsesTheLargerRelativeSpanOnce) {
    ViewMapping v = canvas600x400();
    v.fitToExtents({0, 0, 100, 50});  // fx = 120/100, fy = 80/50: width decides
    EXPECT_DOUBLE_EQ(v.scale, 1.0 / 1.2);
    EXPECT_EQ(v.homeScale, v.scale);
    EXPECT_EQ(v.savedScale, v.scale);
    EXPECT_EQ(v.offsetX, 0);
    v.fitToExtents({0, 0, 1, 1});
    EXPECT_DOUBLE_EQ(v.scale, 1.0 / 1.2);
}

TEST(ViewMapping, FitOfDegenerateExtents) {
    ViewMapping flat = canvas600x400();
    flat.fitToExtents({0, 0, 100, 0});  // zero height: the width alone decides
    EXPECT_DOUBLE_EQ(flat.scale, 1.0 / 1.2);
    ViewMapping point = canvas600x400();
    point.fitToExtents({0, 0, 0, 0});
    EXPECT_EQ(point.scale, 1.0);
    ViewMapping sizeless;
    sizeless.fitToExtents({0, 0, 100, 50});
    EXPECT_EQ(sizeless.scale, 1.0);
}

TEST(ViewMapping, TypedScaleIsCheckedAndClamped) {
    ViewMapping v = canvas600x400();
    EXPECT_EQ(v.applyScale(0.0), 0);
    EXPECT_EQ(v.applyScale(-2.0), 0);
    EXPECT_EQ(v.applyScale(1.0 / 0.0), 0);
    EXPECT_EQ(v.scale, 1.0);
    EXPECT_EQ(v.applyScale(2.5), 1);
    EXPECT_EQ(v.scale, 2.5);
    EXPECT_EQ(v.applyScale(1e-9), 1);
    EXPECT_EQ(v.scale, kMinScale);
    EXPECT_EQ(v.applyScale(1e9), 1);
    EXPECT_EQ(v.scale, kMaxScale);
    EXPECT_EQ(v.savedScale, 1.0);
}

TEST(ViewMapping, HugeZoomsKeepOffsetsInRange) {
    ViewMapping v = canvas600x400();
    v.scale = 1e6;
    v.zoomAt(32000, -32000, 1e-300);  // would need offsets far beyond 32 bits
    EXPECT_LE(v.offsetX, kMaxOffset);
    EXPECT_GE(v.offsetY, -kMaxOffset);
    EXPECT_EQ(truncateClamped(0.0 / 0.0), 0);
    EXPECT_EQ(truncateClamped(-12.9), -12);
}

// Found by fuzzing: pixel positions and offsets were summed in int32, which overflows (and is
// undefined) once both are large. The sums are exact in doubles.
TEST(ViewMapping, ExtremePixelsAndOffsetsDoNotOverflow) {
    ViewMapping v = canvas600x400();
    v.offsetX = kMaxOffset;
    v.offsetY = -kMaxOffset;
    const Point2 w = v.screenToWorld(INT32_MAX, INT32_MAX);
    EXPECT_EQ(w.x, (2147483647.0 - 300 + 1e9) * v.scale);
    EXPECT_EQ(w.y, (200.0 + 1e9 - 2147483647.0) * v.scale);

    v.zoomAt(INT32_MAX, INT32_MIN, 1.0);
    EXPECT_EQ(v.offsetX, kMaxOffset);  // wrapped around to a negative value before
    EXPECT_EQ(v.offsetY, -kMaxOffset);

    v = canvas600x400();
    v.setClientSize(-2000000000, 0);
    v.panTo(INT32_MAX, 0);
    EXPECT_EQ(v.offsetX, kMaxOffset);

    v = canvas600x400();
    v.zoomToRect(INT32_MIN, 0, INT32_MAX, 400);  // a rectangle wider than any int32 difference
    EXPECT_TRUE(v.scale > 1.0);
}

}  // namespace
