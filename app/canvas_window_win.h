#pragma once

#include <windows.h>

#include <chrono>

#include "copyarray/copy_array.h"
#include "copyarray/copy_preview.h"
#include "figure/figure.h"
#include "view/canvas_win.h"
#include "view/figure_outlines.h"
#include "view/view_mapping.h"

struct App;

// A repaint stops drawing further copies once it has spent this long, so the window never hangs.
constexpr int kPreviewBudgetMs = 100;

// Posted to the main window by a paint: what its preview could show (wParam the copies drawn,
// lParam the copies wanted, and 1 << 32 when the count was clamped).
constexpr UINT kPreviewShownMessage = WM_APP + 1;

// Everything one picture shows, read and never written by the paint.
struct Scene {
    const Figure& figure;
    const FigureOutlines& outlines;
    const ViewMapping& view;
    const CopyArray& copies;  // the base point
    const CopyParameters& params;
    bool picking;
    PixelPoint pointer;
    CanvasFeedback feedback;
    HFONT font;
    int dpi;
    int threads = 0;    // for the copies, as workerThreads takes it
    SnapTarget snap{};  // while picking, where a right click would snap
};

// The application's scene now.
Scene currentScene(const App& app);

// The whole picture into the canvas bitmap, in its fixed order: background, axes and gesture
// label, the figure, the copies until the deadline, then over them the zoom rectangle, the
// base-point marker and the snap mark.
PreviewResult renderPreview(Canvas& canvas, const Scene& scene,
                            std::chrono::steady_clock::time_point deadline);

// The canvas window's procedure: it paints (WM_PAINT, WM_PRINTCLIENT) and nothing else does.
LRESULT CALLBACK canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's side of kPreviewShownMessage: the status strip's notes follow.
void previewShown(App& app, WPARAM wParam, LPARAM lParam);
