#pragma once

#include <cstdint>

#include "view/view_mapping.h"

// Zooming with the mouse wheel about the pointer. Wheels report turns in parts of a notch
// (a whole notch on an ordinary mouse, less on a high-resolution one); the view zooms once per
// whole notch gathered.

constexpr int kWheelNotch = 120;  // WHEEL_DELTA
constexpr double kWheelZoomFactor = 1.25;

// Gathers wheel deltas (positive away from the user) into whole notches. A turn the other way
// drops what was gathered in the first direction.
struct WheelNotches {
    int pending = 0;     // always within one notch, with the sign of the last turn
    int add(int delta);  // the whole notches completed, with their direction
};

// The scale one notch further: in divides by kWheelZoomFactor, out multiplies, each stopping
// at its zoom limit. At (or beyond) the limit the scale comes back unchanged.
double wheelNotchScale(double scale, bool in);

// Sets the scale, keeping the world point under canvas pixel (px, py) under it up to the
// truncation of the offsets to whole pixels. The saved view is not touched.
void zoomKeepingPixel(ViewMapping& view, int32_t px, int32_t py, double newScale);

// A run of notches is one view change for "PREVIOUS": the view before its first notch is saved,
// and any other view change (one that moves the view's change count) ends the run.
struct WheelZoom {
    WheelNotches notches;
    bool inRun = false;
    uint32_t runChanges = 0;  // the view's change count after the run's last notch

    // One wheel message over canvas pixel (px, py); true when the view changed.
    bool turn(ViewMapping& view, int delta, int32_t px, int32_t py);
    void endRun() { inRun = false; }
};
