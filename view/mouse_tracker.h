#pragma once

#include <cstdint>

struct PixelPos {
    int32_t x = 0;
    int32_t y = 0;
};

// The mouse state of the main window, in canvas pixels.
struct MouseTracker {
    int32_t leftDown = 0;
    int32_t rightDown = 0;
    int32_t gestureActive = 0;
    int32_t captured = 0;
    PixelPos releasePos;
    PixelPos pointerPos;
    PixelPos gestureStart;
};
