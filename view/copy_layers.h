#pragma once

#include <cstdint>
#include <vector>

#include "copyarray/copy_array.h"
#include "copyarray/copy_gate.h"
#include "copyarray/copy_preview.h"
#include "figure/figure.h"
#include "view/raster_target.h"

// Most threads that draw copies at once: each needs a layer as large as the bitmap.
constexpr int kMostCopyLayers = 4;

// The layers of the last repaint, kept so that the next one allocates nothing.
struct CopyLayers {
    std::vector<uint32_t> stamps;
};

// The copies into the target's clip, on up to `threads` threads. Each thread draws its share
// of the copies (blocks of consecutive copies dealt in turn) into a layer of its own, as
// stamps that grow with the drawing order; then every pixel takes the colour of its largest
// stamp, which is the colour one pass drawing every copy in order leaves there. The gate lets
// all threads begin the same copies. One thread draws straight into the target, as one pass.
// copies.matrix ends as one pass leaves it.
PreviewResult drawCopiesInLayers(RasterTarget& target, const Figure& figure, const Bounds& bounds,
                                 CopyArray& copies, const CopyInputs& inputs, CopyGate& gate,
                                 CopyLayers& layers, int threads);
