#pragma once

#include "figure/figure.h"
#include "figure/point2.h"
#include "view/dpi_scale.h"

// A right-click snaps to the nearest end point or point element, or to the world origin,
// within this many pixels at the current zoom (at 96 DPI; scaled with the canvas's DPI).
constexpr int kSnapPixels = 10;

// The origin is the first candidate; then every kind's candidates in file order (the end points
// of segments and of polyline segments, the points). A later candidate wins only when strictly
// nearer. Circles and texts never snap. Returns the winner when it lies within kSnapPixels
// scaled to dpi, else (x, y).
Point2 snapBasePoint(const Figure& figure, double x, double y, double scale, int dpi = kBaseDpi);
