#pragma once

#include <cstdint>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// What the completion would write now: the copies and the elements over all of them.
struct OutputCount {
    int copies = 0;        // the clamped count; 0 when the count is 0 or less
    int64_t elements = 0;  // copies x (segments + polyline segments + points + circles and arcs)

    bool operator==(const OutputCount& o) const {
        return copies == o.copies && elements == o.elements;
    }
    bool operator!=(const OutputCount& o) const { return !(*this == o); }
};

// Segments, polyline segments, points, circles and arcs: the elements one copy writes.
int64_t elementsPerCopy(const Figure& figure);

OutputCount outputCount(int64_t perCopy, const CopyParameters& params);
