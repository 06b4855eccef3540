#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/pan_drag.h"
#include "view/wheel_zoom.h"

namespace {

ViewMapping canvas600x400(double scale, int32_t ox, int32_t oy) {
    ViewMapping v;
    v.setClientSize(600, 400);
    v.scale = scale;
    v.offsetX = ox;
    v.offsetY = oy;
    v.saveView();
    return v;
}

// Where the world point lies on the canvas now, in pixels (not truncated).
Point2 pixelOf(const ViewMapping& v, Point2 world) {
    return v.worldToScreen(world.x, world.y);
}

TEST(WheelNotches, GathersPartsIntoWholeNotchesAndDropsThemOnATurnBack) {
    WheelNotches n;
    EXPECT_EQ(n.add(40), 0);
    EXPECT_EQ(n.add(40), 0);
    EXPECT_EQ(n.add(50), 1);  // 130: one notch, 10 kept
    EXPECT_EQ(n.add(230), 2);
    EXPECT_EQ(n.add(-100), 0);  // the other way: what was gathered goes
    EXPECT_EQ(n.add(-20), -1);
    EXPECT_EQ(n.add(-32768), -273);
    EXPECT_EQ(n.pending, -8);
}

TEST(WheelZoom, KeepsTheWorldPointUnderThePointer) {
    for (const Point2 start : {Point2{1.0, 0.0}, Point2{0.037, 1234.0}, Point2{250.0, -7.0}}) {
        ViewMapping v = canvas600x400(start.x, static_cast<int32_t>(start.y), -55);
        WheelZoom wheel;
        const int32_t px = 73, py = 311;
        for (int delta : {120, 120, 360, -120, -600, 240}) {
            const Point2 world = v.screenToWorld(px, py);
            const double before = v.scale;
            ASSERT_TRUE(wheel.turn(v, delta, px, py));
            const int notches = delta / 120;
            EXPECT_NEAR(v.scale, before * std::pow(1.25, -notches), before * 1e-12);
            const Point2 now = pixelOf(v, world);
            EXPECT_LT(std::fabs(now.x - px), 1.0) << start.x << " " << delta;
            EXPECT_LT(std::fabs(now.y - py), 1.0) << start.x << " " << delta;
        }
    }
}

TEST(WheelZoom, StopsAtTheLimitsWithoutTouchingTheView) {
    ViewMapping v = canvas600x400(kMinScale * 1.1, 10, 20);
    WheelZoom wheel;
    EXPECT_TRUE(wheel.turn(v, 120, 0, 0));
    EXPECT_EQ(v.scale, kMinScale);
    const ViewMapping atLimit = v;
    EXPECT_FALSE(wheel.turn(v, 360, 500, 300));
    EXPECT_EQ(std::tuple(v.scale, v.offsetX, v.offsetY, v.changes),
              std::tuple(atLimit.scale, atLimit.offsetX, atLimit.offsetY, atLimit.changes));
    v = canvas600x400(kMaxScale / 1.1, 0, 0);
    EXPECT_TRUE(wheel.turn(v, -240, 0, 0));
    EXPECT_EQ(v.scale, kMaxScale);
    // Beyond the limit (a "ZOOM IN" rectangle may leave it there) a notch out does not zoom in.
    v = canvas600x400(kMaxScale * 3, 0, 0);
    EXPECT_FALSE(wheel.turn(v, -120, 0, 0));
    EXPECT_EQ(v.scale, kMaxScale * 3);
}

TEST(WheelZoom, ARunOfNotchesIsOneStepForPrevious) {
    ViewMapping v = canvas600x400(2.0, 5, 6);
    WheelZoom wheel;
    wheel.turn(v, 120, 100, 100);
    wheel.turn(v, 120, 400, 50);
    wheel.turn(v, -120, 10, 300);
    v.previousView();
    EXPECT_EQ(std::tuple(v.scale, v.offsetX, v.offsetY), std::tuple(2.0, 5, 6));
    v.previousView();  // back to the run's end; these two swaps ended the run
    const double end = v.scale;
    wheel.turn(v, 120, 0, 0);
    v.previousView();
    EXPECT_EQ(v.scale, end);
    // A pan between notches ends the run too.
    wheel.turn(v, 120, 0, 0);
    const ViewMapping beforePan = v;
    v.panTo(310, 200);
    wheel.turn(v, 120, 0, 0);
    v.previousView();
    EXPECT_EQ(std::tuple(v.scale, v.offsetX), std::tuple(beforePan.scale, beforePan.offsetX + 10));
}

TEST(WheelZoom, ARunEndsAfterAPauseOrAnyOtherInput) {
    struct Case {
        uint32_t first, second;  // the two notches' message times
        bool otherInput;         // a key or a click between them
        bool oneRun;
    };
    const Case cases[] = {
        {1000, 1499, false, true},           {1000, 1500, false, false},
        {1000, 400000, false, false},        {0xFFFFFF00u, 0x10u, false, true},  // the clock wraps
        {0xFFFFFF00u, 0x100u, false, false}, {1000, 1010, true, false},
    };
    for (const Case& c : cases) {
        ViewMapping v = canvas600x400(2.0, 5, 6);
        WheelZoom wheel;
        wheel.turn(v, 120, 100, 100, c.first);
        const double afterFirst = v.scale;
        if (c.otherInput) wheel.endRun();
        ASSERT_TRUE(wheel.turn(v, 120, 100, 100, c.second));
        v.previousView();
        EXPECT_EQ(v.scale, c.oneRun ? 2.0 : afterFirst) << c.first << " " << c.second;
    }
    // Parts of notches keep the run going as long as they come without a pause.
    ViewMapping v = canvas600x400(2.0, 5, 6);
    WheelZoom wheel;
    for (uint32_t t = 0; t < 4000; t += 400) wheel.turn(v, 60, 100, 100, t);
    v.previousView();
    EXPECT_EQ(v.scale, 2.0);
}

TEST(WheelZoom, DoesNothingDuringAPanOrGesture) {
    ViewMapping v = canvas600x400(2.0, 5, 6);
    PanDrag pan;
    WheelZoom wheel;
    pan.begin(10, 10, false);
    pan.moveTo(v, 20, 10);
    const ViewMapping panning = v;
    EXPECT_FALSE(wheel.turn(v, 120, 100, 100, 0, pan.active));
    EXPECT_FALSE(wheel.turn(v, 60, 100, 100, 0, pan.active));  // not gathered either
    EXPECT_EQ(std::tuple(v.scale, v.offsetX, v.changes),
              std::tuple(panning.scale, panning.offsetX, panning.changes));
    pan.moveTo(v, 30, 10);
    pan.end();
    EXPECT_FALSE(wheel.turn(v, 60, 100, 100));
    v.previousView();
    EXPECT_EQ(std::tuple(v.scale, v.offsetX, v.offsetY), std::tuple(2.0, 5, 6));
}

TEST(WheelZoom, AnyDeltaKeepsThePointUnderThePointerWithinTheOffsetRange) {
    struct Case {
        double scale;
        int32_t ox, oy, px, py;
        int delta;
    };
    const Case cases[] = {
        {kMaxScale, 0, 0, 0, 0, 32767},
        {kMaxScale, 0, 0, 599, 399, 32767},
        {1.0, 0, 0, 73, 311, 32767},
        {kMinScale, 0, 0, 0, 0, -32768},
        {1.0, 2000000000, 0, 599, 0, 120},
        {3.0, -2147483647, 7, 0, 399, 32767},
        {kMinScale, 2147483647, -2147483647 - 1, 599, 0, -32768},
    };
    for (const Case& c : cases) {
        ViewMapping v = canvas600x400(c.scale, c.ox, c.oy);
        WheelZoom wheel;
        const Point2 world = v.screenToWorld(c.px, c.py);
        wheel.turn(v, c.delta, c.px, c.py);
        EXPECT_GE(v.scale, kMinScale);
        EXPECT_LE(v.scale, kMaxScale);
        const Point2 now = pixelOf(v, world);
        EXPECT_LT(std::fabs(now.x - c.px), 1.0) << c.scale << " " << c.ox << " " << c.delta;
        EXPECT_LT(std::fabs(now.y - c.py), 1.0) << c.scale << " " << c.ox << " " << c.delta;
        // As far as it goes: one notch more does not fit either.
        if (c.delta > 0) {
            EXPECT_FALSE(wheel.turn(v, 120, c.px, c.py)) << c.scale << " " << c.ox;
        }
    }
}

TEST(PanDrag, DragsTheDrawingPixelForPixelAndSavesTheViewOnce) {
    ViewMapping v = canvas600x400(0.5, 3, 4);
    PanDrag pan;
    EXPECT_FALSE(pan.begin(10, 10, true)) << "not while another button is held";
    ASSERT_TRUE(pan.begin(10, 10, false));
    pan.moveTo(v, 10, 10);
    pan.end();
    EXPECT_EQ(v.changes, 1u) << "a click without a drag saves nothing";
    ASSERT_TRUE(pan.begin(10, 10, false));
    const Point2 world = v.screenToWorld(10, 10);
    EXPECT_TRUE(pan.moveTo(v, 25, 3));
    EXPECT_FALSE(pan.moveTo(v, 25, 3));
    EXPECT_TRUE(pan.moveTo(v, 40, -20));
    const Point2 now = pixelOf(v, world);
    EXPECT_EQ(std::pair(now.x, now.y), std::pair(40.0, -20.0));
    v.previousView();
    EXPECT_EQ(std::pair(v.offsetX, v.offsetY), std::pair(3, 4));
    // At the end of the int32 range the offsets stop instead of overflowing.
    v.offsetX = (std::numeric_limits<int32_t>::min)() + 5;
    pan.moveTo(v, 2000000000, -20);
    EXPECT_EQ(v.offsetX, (std::numeric_limits<int32_t>::min)());
}

TEST(PanDrag, OtherButtonsDoNothingDuringADragTheirReleasesIncluded) {
    PanDrag pan;
    EXPECT_FALSE(pan.ignorePress(kPanLeft));
    EXPECT_FALSE(pan.ignoreRelease(kPanLeft));
    pan.begin(0, 0, false);
    EXPECT_TRUE(pan.ignorePress(kPanLeft));
    EXPECT_TRUE(pan.ignorePress(kPanRight));
    EXPECT_TRUE(pan.ignoreRelease(kPanRight));
    pan.end();
    EXPECT_TRUE(pan.ignoreRelease(kPanLeft)) << "released after the drag";
    EXPECT_FALSE(pan.ignoreRelease(kPanLeft)) << "once";
    pan.begin(0, 0, false);
    pan.ignorePress(kPanLeft);
    pan.end();
    EXPECT_FALSE(pan.ignorePress(kPanLeft)) << "a new press: its release counts again";
    EXPECT_FALSE(pan.ignoreRelease(kPanLeft));
}

}  // namespace
