#pragma once

#include <cstdint>
#include <functional>
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

// The threads worth starting for the copies of one repaint, of `available`: one for little
// work (starting a thread costs up to milliseconds under Wine), at most kMostCopyLayers, and
// fewer where the layers of a large canvas would take too much memory.
int copyThreads(const Figure& figure, const CopyInputs& inputs, const RasterTarget& target,
                int available);

// First `under` draws into the target what lies under the copies, then the copies go into
// the target's clip on `threads` threads (at most one per copy). With several, the calling
// thread runs `under` while the others begin the copies, then joins them. Each thread takes
// blocks of consecutive copies in turn and draws them into a layer of its own, as stamps that
// grow with the drawing order; then every pixel takes the colour of its largest stamp, which
// is the colour one pass drawing every copy in order leaves there. The gate lets all threads
// begin the same copies. One thread draws straight into the target, as one pass. copies.matrix
// ends as one pass leaves it.
PreviewResult drawCopiesInLayers(RasterTarget& target, const Figure& figure, const Bounds& bounds,
                                 CopyArray& copies, const CopyInputs& inputs, CopyGate& gate,
                                 CopyLayers& layers, int threads,
                                 const std::function<void()>& under);
