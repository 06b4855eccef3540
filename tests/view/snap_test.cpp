#include "view/snap.h"

#include <gtest/gtest.h>

namespace {

Figure figure() {
    Figure f;
    f.appendSegment(LineItem(100, 0, 200, 0));
    f.openPolyline();
    f.appendSegment(LineItem(0, 100, 0, 200));
    f.closePolyline();
    f.appendPoint({50, 50});
    CircleItem c;
    c.cx = 300;
    c.cy = 300;
    c.radius = 5;
    c.outline = {{305, 300}};
    f.appendCircle(std::move(c));
    return f;
}

TEST(Snap, NearestVertexWithinTenPixels) {
    const Figure f = figure();
    Point2 p = snapBasePoint(f, 106, 0, 1.0);  // 6 pixels from (100, 0)
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 0);
    p = snapBasePoint(f, 0, 195, 1.0);  // a polyline end
    EXPECT_EQ(p.y, 200);
    p = snapBasePoint(f, 52, 53, 1.0);  // a point element
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 50);
}

TEST(Snap, FarFromEverythingKeepsTheClick) {
    const Figure f = figure();
    const Point2 p = snapBasePoint(f, 112, 12, 1.0);
    EXPECT_EQ(p.x, 112);
    EXPECT_EQ(p.y, 12);
}

TEST(Snap, DistanceScalesWithTheZoom) {
    const Figure f = figure();
    EXPECT_EQ(snapBasePoint(f, 130, 0, 4.0).x, 100);  // 30 units are 7.5 pixels
    EXPECT_EQ(snapBasePoint(f, 130, 0, 2.0).x, 130);  // ... and 15 pixels here
}

TEST(Snap, OriginFirstAndTiesKeepTheEarlier) {
    Figure f;
    f.appendPoint({6, 0});  // exactly as far from (3, 0) as the origin
    Point2 p = snapBasePoint(f, 3, 0, 1.0);
    EXPECT_EQ(p.x, 0);
    f.appendSegment(LineItem(0, 4, 9, 9));
    f.appendPoint({0, 4});  // same place as the segment's end, later: the segment's stays
    p = snapBasePoint(f, 0, 3.5, 1.0);
    EXPECT_EQ(p.y, 4);
    // An empty figure snaps to the origin or not at all.
    const Figure none;
    EXPECT_EQ(snapBasePoint(none, 5, 5, 1.0).x, 0);
    EXPECT_EQ(snapBasePoint(none, 50, 5, 1.0).x, 50);
}

TEST(Snap, CirclesNeverSnap) {
    const Figure f = figure();
    const Point2 p = snapBasePoint(f, 301, 300, 1.0);  // beside the centre and an outline point
    EXPECT_EQ(p.x, 301);
}

}  // namespace
