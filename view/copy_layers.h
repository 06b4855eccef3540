#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "copyarray/copy_array.h"
#include "copyarray/copy_deal.h"
#include "copyarray/copy_preview.h"
#include "figure/figure.h"
#include "view/raster_target.h"

// Most threads that draw copies at once: each needs a layer as large as the bitmap.
constexpr int kMostCopyLayers = 4;

// The layers of the last repaint, kept while they are small so that the next one allocates
// nothing; a large canvas's are let go once drawn.
struct CopyLayers {
    std::vector<uint32_t> stamps;
};

// Below this many points and segments per repaint one thread is as fast: starting a thread
// costs up to milliseconds (under Wine).
constexpr long kThreadedCopyWork = 300000;

// The threads worth starting for the copies of one repaint, of `available`: one for less work
// than `threadedWork`, at most kMostCopyLayers, and fewer where the layers of a large canvas
// would take too much memory.
int copyThreads(const Figure& figure, const CopyParameters& params, const RasterTarget& target,
                int available, long threadedWork = kThreadedCopyWork);

// First `under` draws into the target what lies under the copies, then the copies go into
// the target's clip on `threads` threads (at most one per copy). With several, each thread gets
// a copy of the target, drawing into a layer of its own, and of the parameters before any starts;
// the calling thread runs `under` while the others begin the copies, then joins them. The deal
// hands out blocks of consecutive copies; each thread draws its copies as stamps that grow with
// the drawing order, then every pixel takes the colour of its largest stamp, which is the colour
// one pass drawing copies 1..n in order leaves there. One thread draws straight into the target,
// as one pass. `copies` gives the base point and is not written.
PreviewResult drawCopiesInLayers(RasterTarget& target, const Figure& figure,
                                 const CopyArray& copies, const CopyParameters& params,
                                 CopyDeal& deal, CopyLayers& layers, int threads,
                                 const std::function<void()>& under);
