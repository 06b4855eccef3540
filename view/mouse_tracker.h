#pragma once

#include "view/pixels.h"

// The mouse state of the main window, in canvas pixels.
struct MouseTracker {
    bool leftDown = false;
    bool rightDown = false;
    bool gestureActive = false;
    bool captured = false;  // this program holds the mouse capture
    PixelPoint releasePos{};
    PixelPoint pointerPos{};
    PixelPoint gestureStart{};
};
