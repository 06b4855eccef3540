#pragma once

#include <cstdint>

// Every size in the window layer is written for 96 DPI and scaled to the window's DPI here,
// the one place where the rounding is chosen: to the nearest pixel, halves away from zero, as
// MulDiv rounds. At 96 DPI every size is exactly the constant it was written as.

constexpr int kBaseDpi = 96;

// px pixels at 96 DPI in pixels at dpi. A DPI of 0 or less (none known) counts as 96; a result
// beyond the int range is clamped to it.
constexpr int scaled(int px, int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    const int64_t product = static_cast<int64_t>(px) * dpi;
    const int64_t half = kBaseDpi / 2;
    const int64_t q = (product >= 0 ? product + half : product - half) / kBaseDpi;
    if (q > INT32_MAX) return INT32_MAX;
    if (q < INT32_MIN) return INT32_MIN;
    return static_cast<int>(q);
}

// A window's place in its parent's client area: left, top, width, height.
struct PixelBox {
    int x, y, w, h;
};

// Each of the four scaled on its own, so that a size does not depend on where it lies.
constexpr PixelBox scaledRect(PixelBox at96, int dpi) {
    return {scaled(at96.x, dpi), scaled(at96.y, dpi), scaled(at96.w, dpi), scaled(at96.h, dpi)};
}
