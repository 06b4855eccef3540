#pragma once

#include "figure/figure.h"
#include "figure/point2.h"
#include "view/dpi_scale.h"

// A right-click snaps to the nearest target within this many pixels at the current zoom (at
// 96 DPI; scaled with the canvas's DPI).
constexpr int kSnapPixels = 10;

// What a target is, so the mark under the pointer can tell the drafter before the click.
enum class SnapKind { origin, end, middle, centre, point };

struct SnapTarget {
    bool found = false;  // false: nothing within reach, a click takes its own position
    Point2 at;
    SnapKind kind = SnapKind::origin;
};

// The choice among candidates shown one after the other: the origin is the first, a later
// candidate wins only when strictly nearer, so of equally near ones the earliest stays.
struct NearestTarget {
    NearestTarget(double x, double y);
    void consider(double px, double py, SnapKind kind);
    // The winner when it lies closer than `pixels` at `scale` drawing units per pixel.
    SnapTarget within(double scale, int pixels) const;

    double x, y;
    SnapTarget best;
    double bestDistance;
};

// The candidates are the origin, then every kind's in file order: the ends and then the
// midpoint of each segment and of each polyline segment, the centre of each circle, arc and
// ellipse, the points. Texts never snap. The target a right click at world (x, y) takes.
SnapTarget snapTarget(const Figure& figure, double x, double y, double scale, int dpi = kBaseDpi);

// Where a right click at world (x, y) puts the base point: the target, else (x, y).
Point2 snapBasePoint(const Figure& figure, double x, double y, double scale, int dpi = kBaseDpi);
