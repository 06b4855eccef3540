#pragma once

#include <cstdint>

#include "view/pixels.h"

// The mouse state of the main window, in canvas pixels.
struct MouseTracker {
    int32_t leftDown = 0;
    int32_t rightDown = 0;
    int32_t gestureActive = 0;
    int32_t captured = 0;
    PixelPoint releasePos{};
    PixelPoint pointerPos{};
    PixelPoint gestureStart{};
};
