#pragma once

#include <chrono>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

struct Canvas;

struct PreviewResult {
    int wanted = 0;        // copies the parameters ask for
    int drawn = 0;         // copies handled before the time ran out (those off the canvas count)
    bool clamped = false;  // the count asked for more than the most copies there can be
};

// Draws copies 1..n of the figure into the canvas bitmap in the copy colour, each copy's points
// as blue dots. Copies whose box misses the canvas are skipped; no further copy is begun
// after the deadline, so a repaint never hangs the window.
PreviewResult drawCopies(Canvas& canvas, const Figure& figure, const Bounds& bounds,
                         CopyArray& copies, const CopyInputs& inputs,
                         std::chrono::steady_clock::time_point deadline);
