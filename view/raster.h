#pragma once

#include <cstdint>

#include "view/pixels.h"

// A one-pixel line from a to b, without its last pixel, lighting exactly the pixels GDI's
// LineTo lights with a cosmetic pen: Bresenham steps whose ties fall to the side GDI chooses
// (toward the minor axis' step when the line runs left or up along its minor axis).
// Both end points must lie inside the width x height bitmap; rows are `width` apart.
void rasterLine(uint32_t* bits, int width, PixelPoint a, PixelPoint b, uint32_t colour);
