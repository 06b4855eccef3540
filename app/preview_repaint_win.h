#pragma once

#include <windows.h>

#include <chrono>

#include "copyarray/copy_array.h"
#include "copyarray/copy_preview.h"
#include "figure/figure.h"
#include "view/canvas_win.h"

// A repaint stops drawing further copies once it has spent this long, so the window never hangs.
constexpr int kPreviewBudgetMs = 100;

// Everything one picture shows, gathered when the canvas paints.
struct Scene {
    const Figure& figure;
    const Bounds& bounds;
    const CopyParameters& params;
    CopyArray& copies;  // in pick mode the base point follows the pointer under the current view
    bool picking;
    PixelPoint pointer;
    CanvasFeedback feedback;
};

// The program's scene now.
Scene currentScene();

// The whole picture into the canvas bitmap, in its fixed order: background, axes and gesture
// feedback, the figure, the base-point marker, then the copies until the deadline.
PreviewResult renderPreview(Canvas& canvas, const Scene& scene,
                            std::chrono::steady_clock::time_point deadline);

// The canvas window's procedure: it paints (WM_PAINT, WM_PRINTCLIENT) and nothing else does.
LRESULT CALLBACK canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void subclassCanvas();
