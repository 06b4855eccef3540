#include "app/canvas_window_win.h"

#include "app/app_win.h"
#include "figure/workers.h"
#include "view/copy_layers.h"
#include "view/mouse_actions.h"

Scene currentScene(const App& app) {
    CanvasFeedback feedback;
    feedback.shown = gestureShown(app.mouse, app.dpi);
    feedback.start = app.mouse.gestureStart;
    feedback.pointer = app.mouse.pointerPos;
    Scene scene{
        app.figure,  app.outlines,         app.view, app.model.copies, app.model.previewParams(),
        app.picking, app.mouse.pointerPos, feedback, app.font.get(),   app.dpi};
    if (app.picking) scene.snap = app.snapMark;
    return scene;
}

PreviewResult renderPreview(Canvas& canvas, const Scene& scene,
                            std::chrono::steady_clock::time_point deadline) {
    canvas.view = scene.view;
    canvas.outlines = &scene.outlines;
    canvas.drawBackground(scene.feedback, scene.font, scene.dpi);
    const CopyArray& copies = scene.copies;
    CopyDeal deal(deadline);
    const PreviewResult preview = drawCopiesInLayers(
        canvas, scene.figure, copies, scene.params, deal, canvas.copyLayers,
        copyThreads(scene.figure, scene.params, canvas, workerThreads(scene.threads)), [&] {
            // The texts go with the copies only with the attributes, so they show only then.
            drawFigure(canvas, scene.figure, scene.params.keepAttributes);
        });
    // What points at something stays in sight whatever the copies cover.
    canvas.drawZoomFrame(scene.feedback, scene.font, scene.dpi);
    canvas.drawBasePointMarker(copies.baseX, copies.baseY, scene.picking, scene.pointer, scene.dpi);
    canvas.drawSnapMark(scene.snap, scene.dpi);
    canvas.flushLines();
    return preview;
}

namespace {

// The picture into the bitmap, then to `target`. Nothing is drawn before the window is ready.
bool paintCanvas(App& app, HDC target) {
    Canvas& canvas = app.canvas;
    if (!canvas.ready() || !app.ready) return false;
    const auto started = std::chrono::steady_clock::now();
    GetClientRect(canvas.window, &canvas.clientRect);
    const PreviewResult shown = renderPreview(
        canvas, currentScene(app), started + std::chrono::milliseconds(kPreviewBudgetMs));
    canvas.present(target);
    // The notes are the status strip's business: it hears of them as of any other change.
    if (shown != app.preview)
        PostMessageA(
            app.main, kPreviewShownMessage, static_cast<WPARAM>(shown.drawn),
            static_cast<LPARAM>(shown.wanted) | (shown.clamped ? LPARAM{1} << 32 : LPARAM{0}));
    return true;
}

}  // namespace

void previewShown(App& app, WPARAM wParam, LPARAM lParam) {
    PreviewResult shown;
    shown.drawn = static_cast<int>(wParam);
    shown.wanted = static_cast<int>(lParam & 0xFFFFFFFF);
    shown.clamped = (lParam >> 32) != 0;
    if (shown == app.preview) return;
    app.preview = shown;
    app.strip.invalidate();
}

LRESULT CALLBACK canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App& app = appOf(window);
    const bool paints = app.canvas.ready() && app.ready;
    switch (message) {
        case WM_PAINT:
            if (!paints) break;
            {
                PaintDc dc(window);
                paintCanvas(app, dc.get());
            }
            return 0;
        case WM_PRINTCLIENT:
            if (paintCanvas(app, reinterpret_cast<HDC>(wParam))) return 0;
            break;
        case WM_ERASEBKGND:
            if (paints) return 1;  // every paint covers it all
            break;
    }
    return CallWindowProcA(app.canvas.previousProc, window, message, wParam, lParam);
}
