#pragma once

#include <chrono>

#include "copyarray/copy_array.h"
#include "copyarray/copy_preview.h"
#include "figure/figure.h"
#include "view/canvas_win.h"

// A repaint stops drawing further copies once it has spent this long, so the window never hangs.
constexpr int kPreviewBudgetMs = 100;

// The whole picture into the canvas bitmap, in its fixed order: background, axes and gesture
// feedback, the figure, the base-point marker, then the copies until the deadline.
PreviewResult renderPreview(Canvas& canvas, Figure& figure, const Bounds& bounds, CopyArray& copies,
                            const CopyInputs& inputs,
                            std::chrono::steady_clock::time_point deadline);

// Gives the view what it asks of the program: the hint, the scale display and the picture.
void installViewHooks();
