#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "figure/point2.h"

// The drawing handed over by the host, in drawing units (the host's millimetres), y up.
// Angles are radians. Filled once by the reader, read-only afterwards.

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

// Outline points: a span of a figure's point store, or points of its own for a circle made
// outside a figure. Copies of an owning outline own copies.
struct Outline {
    Outline() = default;
    Outline(const Outline& other) { *this = other; }
    Outline(Outline&& other) noexcept { *this = std::move(other); }
    Outline& operator=(const Outline& other);
    Outline& operator=(Outline&& other) noexcept;

    void refer(const Point2* first, std::size_t n);
    void own(std::vector<Point2>&& points);
    void push_back(const Point2& p);

    std::size_t size() const { return count; }
    std::size_t capacity() const { return count; }
    bool empty() const { return count == 0; }
    const Point2* data() const { return points; }
    const Point2& operator[](std::size_t i) const { return points[i]; }
    const Point2& front() const { return points[0]; }
    const Point2& back() const { return points[count - 1]; }
    const Point2* begin() const { return points; }
    const Point2* end() const { return points + count; }

  private:
    const Point2* points = nullptr;
    std::size_t count = 0;
    std::vector<Point2> owned;
};

// Outline points of many circles in few large blocks, so reading allocates nothing per circle.
// Blocks never move; copies of a figure share them.
struct PointStore {
    PointStore() = default;
    PointStore(const PointStore& other) : blocks(other.blocks) {}  // starts a fresh block
    PointStore& operator=(const PointStore& other);
    PointStore(PointStore&&) = default;
    PointStore& operator=(PointStore&&) = default;

    Point2* allocate(std::size_t n);
    void adopt(PointStore&& other);  // takes other's blocks; their points stay where they are

    std::vector<std::shared_ptr<Point2[]>> blocks;
    Point2* current = nullptr;
    std::size_t used = 0;
    std::size_t size = 0;
};

struct CircleItem {
    double cx = 0.0, cy = 0.0;
    double radius = 0.0;
    // startAngle == endAngle == 0 marks a circle read in the three-number form.
    double startAngle = 0.0, endAngle = 0.0;
    double ratio = 0.0;  // second semi-axis / radius
    double tilt = 0.0;   // first axis from the x axis, counter-clockwise
    Outline outline;

    bool isThreeNumberCircle() const { return startAngle == 0.0 && endAngle == 0.0; }
};

struct Figure {
    int32_t polylineOpen = 0;  // only meaningful while the file is being read
    // Read before reading: without outlines (nothing will draw the figure) circles keep only
    // their numbers; the outline points are still computed for the checks and the extents.
    bool keepOutlines = true;
    Extents extents;
    std::vector<LineItem> lines;
    std::vector<CircleItem> circles;
    std::vector<PointItem> points;
    std::vector<PolylineItem> polylines;
    PointStore outlinePoints;

    void appendSegment(const LineItem& item);
    void appendPoint(const PointItem& item);
    void appendCircle(CircleItem&& item);  // the outline goes into the point store
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
