#pragma once

#include <cstdint>
#include <vector>

#include "figure/point2.h"

// The drawing handed over by the host, in drawing units (the host's millimetres), y up.
// Angles are radians. Filled once by the reader, read-only afterwards, except for the
// screen fields of segments, which the canvas rewrites whenever it draws them.

struct Extents {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;

    // Strict comparisons, so a NaN never widens anything.
    void widen(double x, double y) {
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    }
};

struct LineItem {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    // Where the canvas last drew the end points, in pixels; never read from or written to a file.
    double sx1 = 0.0, sy1 = 0.0, sx2 = 0.0, sy2 = 0.0;

    LineItem() = default;
    LineItem(double ax1, double ay1, double ax2, double ay2) : x1(ax1), y1(ay1), x2(ax2), y2(ay2) {}
};

struct PointItem {
    double x = 0.0;
    double y = 0.0;
};

struct PolylineItem {
    std::vector<LineItem> segments;
};

struct CircleItem {
    double cx = 0.0, cy = 0.0;
    double radius = 0.0;
    // startAngle == endAngle == 0 marks a circle read in the three-number form.
    double startAngle = 0.0, endAngle = 0.0;
    double ratio = 0.0;  // second semi-axis / radius
    double tilt = 0.0;   // first axis from the x axis, counter-clockwise
    std::vector<Point2> outline;

    bool isThreeNumberCircle() const { return startAngle == 0.0 && endAngle == 0.0; }
};

struct Figure {
    int32_t polylineOpen = 0;  // only meaningful while the file is being read
    Extents extents;
    std::vector<LineItem> lines;
    std::vector<CircleItem> circles;
    std::vector<PointItem> points;
    std::vector<PolylineItem> polylines;

    void appendSegment(const LineItem& item);
    void appendPoint(const PointItem& item);
    void appendCircle(CircleItem&& item);
    void openPolyline();
    void closePolyline() { polylineOpen = 0; }

    bool empty() const {
        return lines.empty() && circles.empty() && points.empty() && polylines.empty();
    }
};

// The box around everything the figure draws (end points, points, outline points), without
// the origin that Extents always holds. empty when there is nothing.
struct Bounds {
    Extents box;
    bool empty = true;
};

Bounds figureBounds(const Figure& figure);

// The program's figure, read once at start-up (defined with the other globals).
extern Figure theFigure;
