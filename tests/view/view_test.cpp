#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "figure/reader.h"
#include "view/dpi_scale.h"
#include "view/nav_gesture.h"
#include "view/pixels.h"
#include "view/raster.h"
#include "view/snap.h"
#include "view/view_mapping.h"

namespace {

ViewMapping canvas600x400() {
    ViewMapping v;
    v.setClientSize(601, 401);  // halves truncate
    return v;
}

// Offsets and scale, then the saved ones.
std::tuple<int32_t, int32_t, double, int32_t, int32_t, double> state(const ViewMapping& v) {
    return {v.offsetX, v.offsetY, v.scale, v.savedOffsetX, v.savedOffsetY, v.savedScale};
}

TEST(ViewMapping, MapsWorldToPixelsAndBack) {
    ViewMapping v = canvas600x400();
    EXPECT_EQ(std::pair(v.halfWidth, v.halfHeight), std::pair(300, 200));
    const Point2 s = v.worldToScreen(10, 10);  // y grows down on the canvas
    EXPECT_EQ(std::pair(s.x, s.y), std::pair(310.0, 190.0));
    v.scale = 0.37;
    v.offsetX = -12;
    v.offsetY = 40;
    const Point2 t = v.worldToScreen(123.456, -78.9);
    const Point2 w = v.screenToWorld(static_cast<int32_t>(t.x), static_cast<int32_t>(t.y));
    EXPECT_NEAR(w.x, 123.456, v.scale);  // within the pixel it was truncated to
    EXPECT_NEAR(w.y, -78.9, v.scale);
}

TEST(ViewMapping, EachViewChangeSavesTheViewBefore) {
    ViewMapping v = canvas600x400();
    v.offsetX = 7;
    v.scale = 2.0;
    v.homeScale = 3.0;
    v.panTo(310, 180);
    EXPECT_EQ(state(v), std::tuple(17, -20, 2.0, 7, 0, 2.0));
    v.zoomOutAt(400, 200);  // the point under the pixel becomes the centre
    EXPECT_EQ(state(v), std::tuple(58, -10, 4.0, 17, -20, 2.0));
    v.previousView();  // back and forth
    EXPECT_EQ(state(v), std::tuple(17, -20, 2.0, 58, -10, 4.0));
    v.previousView();
    EXPECT_EQ(state(v), std::tuple(58, -10, 4.0, 17, -20, 2.0));
    v.showAll();
    EXPECT_EQ(state(v), std::tuple(0, 0, 3.0, 58, -10, 4.0));
    // The world point under the pixel, truncated toward 0 (-0.7 and -3.9), becomes the centre.
    v = canvas600x400();
    v.scale = 0.1;
    v.zoomAt(293, 161, 2.0);
    EXPECT_EQ(state(v), std::tuple(0, -60, 0.05, 0, 0, 0.1));
    v = canvas600x400();
    v.zoomToRect(100, 100, 111, 111);  // the tighter of 600/11 and 400/11, about (105, 105)
    EXPECT_EQ(state(v), std::tuple(-7090, -3454, 1 / (400.0 / 11), 0, 0, 1.0));
}

TEST(ViewMapping, ZoomLimitsAndTypedScales) {
    ViewMapping v = canvas600x400();
    v.scale = 0.00002;
    v.zoomAt(300, 200, 100.0);
    EXPECT_EQ(v.scale, kMinScale);
    v.scale = 60000.0;
    v.zoomOutAt(300, 200);
    EXPECT_EQ(v.scale, kMaxScale);
    ViewMapping sizeless;  // asks for an infinite magnification; the scale stays finite
    sizeless.zoomToRect(0, 0, 20, 20);
    EXPECT_EQ(sizeless.scale, kMaxScale);
    // A typed scale: finite and positive, clamped; nothing else changes.
    v = canvas600x400();
    for (double refused : {0.0, -2.0, HUGE_VAL, std::nan("")}) EXPECT_EQ(v.applyScale(refused), 0);
    EXPECT_EQ(v.scale, 1.0);
    for (auto [typed, scale] : {std::pair{2.5, 2.5}, {1e-9, kMinScale}, {1e9, kMaxScale}}) {
        EXPECT_EQ(v.applyScale(typed), 1);
        EXPECT_EQ(state(v), std::tuple(0, 0, scale, 0, 0, 1.0));
    }
}

TEST(ViewMapping, FitOnceToTheLargerRelativeSpan) {
    // A fifth of the canvas: 120 / 100 pixels per unit across, 80 / 50 down.
    const std::tuple<Extents, double> cases[] = {{{0, 0, 100, 50}, 1 / 1.2},
                                                 {{0, 0, 50, 100}, 1 / 0.8},
                                                 {{0, 0, 100, 0}, 1 / 1.2},
                                                 {{0, 0, 0, 0}, 1.0}};
    for (const auto& [extents, scale] : cases) {
        ViewMapping v = canvas600x400();
        v.fitToExtents(extents);
        v.fitToExtents({0, 0, 1, 1});
        EXPECT_DOUBLE_EQ(v.scale, scale) << extents.maxX << " x " << extents.maxY;
        EXPECT_EQ(v.homeScale, v.scale);
        EXPECT_EQ(v.savedScale, v.scale);
    }
    ViewMapping sizeless;
    sizeless.fitToExtents({0, 0, 100, 50});
    EXPECT_EQ(sizeless.scale, 1.0);
}

// Pixel positions and offsets once were summed in int32, which overflows when both are large.
TEST(ViewMapping, ExtremePixelsAndOffsetsStayInRange) {
    ViewMapping v = canvas600x400();
    v.offsetX = INT32_MAX;
    v.offsetY = INT32_MIN;
    const Point2 w = v.screenToWorld(INT32_MAX, INT32_MAX);
    EXPECT_EQ(w.x, (2147483647.0 - 300 + 2147483647.0) * v.scale);
    EXPECT_EQ(w.y, (200.0 + 2147483648.0 - 2147483647.0) * v.scale);
    v.zoomAt(INT32_MAX, INT32_MIN, 1.0);
    EXPECT_EQ(std::pair(v.offsetX, v.offsetY), std::pair(INT32_MAX, INT32_MIN));
    v = canvas600x400();
    v.setClientSize(-2000000000, 0);
    v.panTo(INT32_MAX, 0);
    EXPECT_EQ(v.offsetX, INT32_MAX);
    v = canvas600x400();
    v.zoomToRect(INT32_MIN, 0, INT32_MAX, 400);  // wider than any int32 difference
    EXPECT_GT(v.scale, 1.0);
    EXPECT_EQ(truncateClamped(NAN), 0);
    EXPECT_EQ(truncateClamped(-12.9), -12);
}

// At the finest scale a view 15,000 units from the origin needs offsets beyond 1e9 pixels; any
// offset that fits an int32 is kept as computed, so the view stays centred where it was.
TEST(ViewMapping, FarViewsAtTheFinestScaleKeepTheirCentre) {
    ViewMapping v = canvas600x400();
    v.offsetX = 15000;
    v.offsetY = 21000;
    v.zoomAt(300, 200, 1e5);
    ASSERT_EQ(v.scale, kMinScale);
    EXPECT_EQ(std::pair(v.offsetX, v.offsetY), std::pair(1499999999, 2099999999));
    const Point2 centre = v.screenToWorld(300, 200);
    EXPECT_NEAR(centre.x, 15000, 1e-4);
    EXPECT_NEAR(centre.y, -21000, 1e-4);
    v.panTo(600, 100000000);  // beyond the int32 range: the nearest offset, no overflow
    EXPECT_EQ(std::pair(v.offsetX, v.offsetY), std::pair(1500000299, INT32_MAX));
}

TEST(Pixels, TruncatedTowardZeroWithinRangeClippedBeyond) {
    const std::pair<Point2, PixelPoint> cases[] = {{{298.5, -1.5}, {298, -1}},
                                                   {{-0.7, 201.5}, {0, 201}},
                                                   {{1e300, -1e300}, {kPixelLimit, -kPixelLimit}},
                                                   {{HUGE_VAL, NAN}, {kPixelLimit, 0}}};
    for (const auto& [point, pixel] : cases) {
        EXPECT_EQ(toPixel(point).x, pixel.x) << point.x;
        EXPECT_EQ(toPixel(point).y, pixel.y) << point.y;
    }
    PixelPoint a, b;
    ASSERT_TRUE(segmentToPixels({300, 200}, {298.5, 201.5}, a, b));
    EXPECT_EQ(std::tuple(a.x, a.y, b.x, b.y), std::tuple(300, 200, 298, 201));
    ASSERT_TRUE(segmentToPixels({-1e12, 20}, {10, 20}, a, b));  // clipped, same direction
    EXPECT_EQ(std::tuple(a.x, a.y, b.x, b.y), std::tuple(-kPixelLimit, 20, 10, 20));
    EXPECT_FALSE(segmentToPixels({1e12, 0}, {2e12, 5}, a, b));  // wholly outside
    EXPECT_FALSE(segmentToPixels({0, 0}, {HUGE_VAL, 5}, a, b));
}

TEST(Pixels, CopyCullingKeepsEverythingThatCouldShow) {
    ViewMapping v;
    v.setClientSize(600, 400);
    // Moves of a 10 x 10 box at the origin; whether the copy misses the canvas by more than
    // the margin and the pixel truncation may add.
    const std::tuple<double, double, bool> cases[] = {
        {0, 0, false},   {-313, 0, false}, {-313.5, 0, true}, {303, 0, false},  {303.5, 0, true},
        {0, 203, false}, {0, 203.5, true}, {0, -213, false},  {0, -213.5, true}};
    for (const auto& [dx, dy, misses] : cases) {
        Matrix3 m;
        m.translate(dx, dy);
        EXPECT_EQ(copyMissesCanvas({0, 0, 10, 10}, m, v, 600, 400, 2.0), misses) << dx << "," << dy;
    }
}

// The walk that starts inside the clip, from the closed form of the error term, lights what
// the whole walk from the first end point lights there; far end points in every direction.
TEST(Raster, ClippedLineIsTheWholeWalkWithinTheClip) {
    constexpr int kSize = 48;
    const PixelRect clip{5, 9, 40, 30};
    std::mt19937_64 random(5);
    auto coordinate = [&](int64_t reach) {
        return static_cast<int32_t>(static_cast<int64_t>(random() % (2 * reach + 1)) - reach +
                                    kSize / 2);
    };
    for (int i = 0; i < 8000; ++i) {
        const int64_t reach = int64_t{1} << (3 + i % 18);  // far enough to need 64 bits
        PixelPoint a{coordinate(reach), coordinate(reach)};
        PixelPoint b{coordinate(i % 3 ? 30 : reach), coordinate(i % 3 ? 30 : reach)};
        if (i % 2) std::swap(a, b);
        std::vector<uint32_t> mine(kSize * kSize, 0), whole(kSize * kSize, 0);
        rasterLineClipped(mine.data(), kSize, clip, a, b, 1);
        // The whole walk, kept only within the clip.
        const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
        const int64_t ax = std::abs(dx), ay = std::abs(dy), major = std::max(ax, ay);
        const int64_t minor = std::min(ax, ay), bias = (ax >= ay ? dy < 0 : dx < 0) ? 1 : 0;
        int64_t x = a.x, y = a.y, error = 2 * minor - major;
        for (int64_t n = 0; n < major; ++n) {
            if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
                whole[y * kSize + x] = 1;
            const bool minorStep = error + bias > 0;
            error += minorStep ? 2 * minor - 2 * major : 2 * minor;
            if (ax >= ay) {
                x += dx < 0 ? -1 : 1;
                if (minorStep) y += dy < 0 ? -1 : 1;
            } else {
                y += dy < 0 ? -1 : 1;
                if (minorStep) x += dx < 0 ? -1 : 1;
            }
        }
        ASSERT_EQ(mine, whole) << a.x << "," << a.y << " to " << b.x << "," << b.y;
    }
}

TEST(NavGesture, ZonesDecideFeedbackAndCommand) {
    using C = NavCommand;
    // Offsets of exactly 10 count as no direction; the horizontal zone shows and does "MOVE".
    const std::tuple<int, int, NavCommand, const char*> cases[] = {
        {0, 0, C::move, "MOVE"},
        {11, 11, C::zoomIn, "ZOOM IN"},
        {11, -11, C::showAll, "SHOW ALL"},
        {-11, -11, C::zoomOut, "ZOOM OUT"},
        {-11, 11, C::previous, "PREVIOUS"},
        {10, 50, C::move, "MOVE"},
        {10, 10, C::move, "MOVE"},
        {-10, -50, C::move, "MOVE"},
        {50, 10, C::move, "MOVE"},
        {50, -10, C::move, "MOVE"},
        {-50, 0, C::move, "MOVE"},
        {80, 3, C::move, "MOVE"}};
    for (const auto& [dx, dy, command, label] : cases) {
        EXPECT_EQ(gestureCommand(dx, dy), command) << dx << "," << dy;
        const GestureFeedback f = gestureFeedback(dx, dy);
        EXPECT_EQ(f.rubberBand, command == C::zoomIn) << dx << "," << dy;
        EXPECT_STREQ(f.label, label) << dx << "," << dy;
        EXPECT_STREQ(commandLabel(command), label);
    }
}

TEST(Snap, NearestEndPointOrPointWithinTenPixels) {
    // The origin comes first, then segment and polyline ends and midpoints, circle, arc and
    // ellipse centres, then points; a tie keeps the earlier candidate; a text is no target.
    const std::string text =
        " 100 0 200 0\n 0 4 9 9\npl\n 0 100 0 200\n#\npt 50 50\npt 6 0\npt 0 4\nci 300 300 5\n"
        "ci 400 0 20 0 90 0.5 30\nch 600 0 10 0 \"A\n";
    Figure f;
    loadFigureFromMemory(text.data(), text.size(), f);
    // Click x, y and units per pixel; where the base point goes.
    const std::tuple<double, double, double, double, double> cases[] = {
        {106, 0, 1, 100, 0},     {0, 195, 1, 0, 200}, {52, 53, 1, 50, 50},
        {112, 12, 1, 112, 12},   {130, 0, 4, 150, 0}, {130, 0, 2, 130, 0},
        {3, 0, 1, 0, 0},         {0, 3.5, 1, 0, 4},   {301, 300, 1, 300, 300},
        {304, 300, 1, 300, 300}, {2, 152, 1, 0, 150}, {398, 2, 1, 400, 0},
        {601, 0, 1, 601, 0}};
    for (const auto& [x, y, scale, sx, sy] : cases) {
        const Point2 p = snapBasePoint(f, x, y, scale);
        EXPECT_EQ(std::pair(p.x, p.y), std::pair(sx, sy)) << x << "," << y;
    }
    EXPECT_EQ(snapBasePoint(Figure(), 5, 5, 1.0).x, 0);
    EXPECT_EQ(snapBasePoint(Figure(), 50, 5, 1.0).x, 50);
}

// The choice among candidates: the nearest of several wins, of equally near ones the earlier,
// and one at the radius or beyond is none.
TEST(Snap, NearestTargetWithinTheRadiusTheEarlierOnATie) {
    using K = SnapKind;
    struct Candidate {
        double x, y;
        K kind;
    };
    // After the origin: an end, a point on it, a midpoint and a centre.
    const Candidate candidates[] = {
        {20, 0, K::end}, {20, 0, K::point}, {20, 6, K::middle}, {26, 0, K::centre}};
    struct Case {
        double x, y, scale;
        int dpi;
        bool found;
        double ax, ay;
        K kind;
    };
    const Case cases[] = {
        {21, 0, 1, 96, true, 20, 0, K::end},  // the end, not the point after it
        {20, 5, 1, 96, true, 20, 6, K::middle},  {25, 0, 1, 96, true, 26, 0, K::centre},
        {3, 0, 1, 96, true, 0, 0, K::origin},    {10, 0, 1, 96, false, 0, 0, K::origin},
        {9.99, 0, 1, 96, true, 0, 0, K::origin}, {36, 0, 1, 96, false, 0, 0, K::origin},
        {36, 0, 2, 96, true, 26, 0, K::centre},  {40, 0, 1, 144, true, 26, 0, K::centre},
        {20, 3, 1, 96, true, 20, 0, K::end},  // equally near the end and the midpoint
    };
    for (const Case& c : cases) {
        NearestTarget n(c.x, c.y);
        for (const Candidate& k : candidates) n.consider(k.x, k.y, k.kind);
        const SnapTarget t = n.within(c.scale, scaled(kSnapPixels, c.dpi));
        EXPECT_EQ(t.found, c.found) << c.x << "," << c.y;
        if (!t.found || !c.found) continue;
        EXPECT_EQ(std::tuple(t.at.x, t.at.y, t.kind), std::tuple(c.ax, c.ay, c.kind))
            << c.x << "," << c.y;
    }
}

// Home: the box fills 0.9 of the canvas in its tighter direction, centred; one step back.
TEST(ViewMapping, FitBoxCentresAndFillsAndPreviousGoesBack) {
    struct Case {
        Extents box;
        double scale;
        int32_t offsetX, offsetY;
    };
    // A 600 x 400 canvas at scale 1: 540 x 360 pixels for the box.
    const Case cases[] = {
        {{0, 0, 1080, 360}, 2.0, 270, -90},     // the width decides
        {{-100, -50, 100, 310}, 1.0, 0, -130},  // the height decides
        {{10, 20, 10, 20}, 1.0, 10, -20},       // a point: centred at the same scale
        {{0, 0, 0, 36}, 0.1, 0, -180},          // no width: the height alone
        {{1, 1, 1.000000001, 1.000000001}, kMinScale, 100000, -100000},  // within the zoom limits
    };
    for (const Case& c : cases) {
        ViewMapping v = canvas600x400();
        v.fitBox(c.box, kHomeShare);
        EXPECT_EQ(std::tuple(v.scale, v.offsetX, v.offsetY),
                  std::tuple(c.scale, c.offsetX, c.offsetY))
            << c.box.minX << "," << c.box.minY << " " << c.box.maxX << "," << c.box.maxY;
        v.previousView();
        EXPECT_EQ(std::tuple(v.scale, v.offsetX, v.offsetY), std::tuple(1.0, 0, 0));
    }
}

TEST(Dpi, ScaledRoundsToTheNearestPixelHalvesAwayFromZeroAndIsExactAt96) {
    // 96-DPI pixels, DPI, device pixels.
    const std::tuple<int, int, int> cases[] = {{12, 96, 12},
                                               {12, 144, 18},
                                               {12, 192, 24},
                                               {12, 120, 15},
                                               {53, 144, 80},
                                               {17, 144, 26},
                                               {3, 144, 5},
                                               {1, 120, 1},
                                               {1, 144, 2},
                                               {-1, 144, -2},
                                               {-53, 144, -80},
                                               {5, 168, 9},
                                               {800, 144, 1200},
                                               {10, 0, 10},
                                               {10, -5, 10},
                                               {2000000000, 192, INT32_MAX},
                                               {-2000000000, 192, INT32_MIN}};
    for (const auto& [px, dpi, want] : cases)
        EXPECT_EQ(scaled(px, dpi), want) << px << " at " << dpi;
    for (int px = -1000; px <= 1000; ++px) ASSERT_EQ(scaled(px, kBaseDpi), px);
    const PixelBox r = scaledRect({56, 5, 53, 20}, 144);
    EXPECT_EQ(std::tuple(r.x, r.y, r.w, r.h), std::tuple(84, 8, 80, 30));
}

TEST(Dpi, SnapRadiusAndGestureZoneGrowWithTheDpi) {
    // The radius is 15 pixels at 144 DPI and 20 at 192; exactly the radius does not snap.
    EXPECT_EQ(snapBasePoint(Figure(), 14, 0, 1.0, 144).x, 0);
    EXPECT_EQ(snapBasePoint(Figure(), 15, 0, 1.0, 144).x, 15);
    EXPECT_EQ(snapBasePoint(Figure(), 19, 0, 1.0, 192).x, 0);
    EXPECT_EQ(snapBasePoint(Figure(), 14, 0, 1.0, 96).x, 14);
    EXPECT_EQ(gestureCommand(15, 15, 144), NavCommand::move);
    EXPECT_EQ(gestureCommand(16, 16, 144), NavCommand::zoomIn);
    EXPECT_EQ(gestureCommand(20, -20, 192), NavCommand::move);
    EXPECT_EQ(gestureCommand(21, -21, 192), NavCommand::showAll);
    EXPECT_STREQ(gestureFeedback(-16, -16, 144).label, "ZOOM OUT");
}

TEST(Dpi, ChangingTheDpiKeepsTheCentreAndTheDrawingsSizeOnTheScreen) {
    ViewMapping v = canvas600x400();
    v.scale = 0.5;
    v.homeScale = 0.25;
    v.offsetX = 101;
    v.offsetY = -37;
    v.savedScale = 2.0;
    v.savedOffsetX = 7;
    v.savedOffsetY = 0;
    const uint32_t changes = v.changes;
    v.changeDpi(96, 144);
    EXPECT_DOUBLE_EQ(v.scale, 0.5 * 96 / 144);
    EXPECT_DOUBLE_EQ(v.homeScale, 0.25 * 96 / 144);
    EXPECT_DOUBLE_EQ(v.savedScale, 2.0 * 96 / 144);
    EXPECT_EQ(std::tuple(v.offsetX, v.offsetY, v.savedOffsetX, v.savedOffsetY),
              std::tuple(152, -56, 11, 0));  // 151.5 and -55.5 round away from zero
    EXPECT_NE(v.changes, changes) << "a wheel run ends at a DPI change";
    // The world point at the centre moves by less than half a pixel.
    EXPECT_LE(std::abs(v.offsetX * v.scale - 101 * 0.5), v.scale / 2);
    EXPECT_LE(std::abs(v.offsetY * v.scale - -37 * 0.5), v.scale / 2);
    v.changeDpi(144, 96);
    EXPECT_DOUBLE_EQ(v.scale, 0.5);
    EXPECT_EQ(std::tuple(v.offsetX, v.offsetY), std::tuple(101, -37));
    v.changeDpi(96, 0);  // none known: nothing changes
    EXPECT_DOUBLE_EQ(v.scale, 0.5);
    v.offsetX = INT32_MAX;
    v.changeDpi(96, 192);
    EXPECT_EQ(v.offsetX, INT32_MAX) << "clamped, not overflowed";
}

}  // namespace
