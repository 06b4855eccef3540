#pragma once

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// The box around the figure and its copies 1..n as the preview draws them. A copy counts by
// its figure box's four corners under the copy's matrix, which holds the copy (a turned one
// with a little room). The texts count when the copies keep them; a copy with a corner that is
// not finite draws nothing and counts for nothing.
Bounds arrayBounds(const Figure& figure, const CopyArray& copies, const CopyParameters& params);
