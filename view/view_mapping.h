#pragma once

#include <cstdint>
#include <limits>

#include "figure/figure.h"
#include "figure/point2.h"

// World (drawing units, y up) <-> canvas pixels (y down), with a one-level view history.
// The world point at the canvas centre is (offsetX * scale, -offsetY * scale); offsets are
// whole pixels, any int32 (sums with them are formed in doubles or int64). Plain arithmetic:
// the window layer repaints after each operation.

constexpr double kMinScale = 0.00001;   // zooming in stops here
constexpr double kMaxScale = 100000.0;  // zooming out stops here
// The figure's larger relative span covers this share of the canvas after the start-up fit.
constexpr double kFitShare = 0.2;
// Home: the figure and its copies cover this share of the canvas.
constexpr double kHomeShare = 0.9;

struct ViewMapping {
    int32_t halfWidth = 0;
    int32_t halfHeight = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t savedOffsetX = 0;
    int32_t savedOffsetY = 0;
    double homeScale = 1.0;
    double scale = 1.0;  // drawing units per device pixel
    double savedScale = 1.0;
    bool fitDone = false;
    // Moves with every view change that starts anew (each saves, swaps or sets the view), so
    // that a run of wheel notches can tell that something else changed the view meanwhile.
    uint32_t changes = 0;

    // Half the client size, truncated, as every resize and repaint sets it.
    void setClientSize(int width, int height);

    Point2 worldToScreen(double x, double y) const {
        const double r = 1.0 / scale;
        return {halfWidth + x * r - offsetX, halfHeight - y * r - offsetY};
    }
    Point2 screenToWorld(int32_t px, int32_t py) const {
        // In doubles, so that no pixel position and offset can overflow an int32 sum.
        return {(static_cast<double>(px) - halfWidth + offsetX) * scale,
                (static_cast<double>(halfHeight) - offsetY - py) * scale};
    }

    void saveView();
    void panTo(int32_t px, int32_t py);  // "MOVE"
    void zoomAt(int32_t px, int32_t py, double factor);
    void zoomOutAt(int32_t px, int32_t py);                                     // "ZOOM OUT"
    void zoomToRect(int32_t left, int32_t top, int32_t right, int32_t bottom);  // "ZOOM IN"
    void showAll();                                                             // "SHOW ALL"
    void previousView();                                                        // "PREVIOUS"
    void fitToExtents(const Extents& extents);                                  // once, at start-up
    // Home: the box fills `share` of the canvas in its tighter direction, centred to the
    // nearest whole pixel, within the zoom limits; the view before is saved for "PREVIOUS". A
    // box without width and height (or a canvas without size) keeps the scale.
    void fitBox(const Extents& box, double share);

    // A scale typed by the user: accepted when finite and positive, clamped to the zoom
    // limits. Offsets, saved view and home scale stay. False when refused.
    bool applyScale(double value);

    // The window went from one DPI to another: the drawing keeps its size on the screen, so
    // every scale (current, saved, home) goes by the ratio of the DPIs, and the offsets with
    // them so that the world point at the canvas centre stays (to within half a pixel: offsets
    // are whole).
    void changeDpi(int from, int to);
};

// Truncates toward zero, first clamping into [-limit, limit]; NaN gives 0.
int32_t truncateClamped(double v, int32_t limit = (std::numeric_limits<int32_t>::max)());
// An offset: truncated toward zero when it fits an int32, else the nearest end; NaN gives 0.
int32_t truncateOffset(double v);
