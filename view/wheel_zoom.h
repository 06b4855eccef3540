#pragma once

#include <cstdint>

#include "view/view_mapping.h"

// Zooming with the mouse wheel about the pointer. Wheels report turns in parts of a notch
// (a whole notch on an ordinary mouse, less on a high-resolution one); the view zooms once per
// whole notch gathered.

constexpr int kWheelNotch = 120;  // WHEEL_DELTA
constexpr double kWheelZoomFactor = 1.25;
// A pause this long (milliseconds) between wheel messages ends a run of notches.
constexpr uint32_t kWheelRunPause = 500;

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

// A run of notches is one view change for "PREVIOUS": the view before its first notch is saved.
// The run ends with any other view change (one that moves the view's change count), with a
// pause of kWheelRunPause between wheel messages, and with endRun (any other input).
struct WheelZoom {
    WheelNotches notches;
    bool inRun = false;
    uint32_t runChanges = 0;  // the view's change count after the run's last notch
    uint32_t lastTime = 0;    // of the latest wheel message, in the message clock's milliseconds

    // One wheel message over canvas pixel (px, py) at time now (milliseconds of a clock that
    // may wrap); true when the view changed. While a middle-button pan or a two-button gesture
    // is in progress (dragging) the wheel does nothing at all. Of several notches in one
    // message only as many are applied as keep the offsets within an int32.
    bool turn(ViewMapping& view, int delta, int32_t px, int32_t py, uint32_t now = 0,
              bool dragging = false);
    void endRun() { inRun = false; }
};
