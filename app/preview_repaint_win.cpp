#include "app/preview_repaint_win.h"

#include "app/globals_win.h"
#include "figure/workers.h"
#include "view/copy_layers.h"
#include "view/mouse_actions.h"

namespace {

WNDPROC previousCanvasProc = nullptr;

}  // namespace

Scene currentScene() {
    CanvasFeedback feedback;
    feedback.shown = gestureShown(theMouse, theCanvas.view.dpi);
    feedback.start = theMouse.gestureStart;
    feedback.pointer = theMouse.pointerPos;
    return {theFigure,    theFigureBounds,        thePanel.model.params,
            theCopyArray, basePointPickMode != 0, theMouse.pointerPos,
            feedback};
}

PreviewResult renderPreview(Canvas& canvas, const Scene& scene,
                            std::chrono::steady_clock::time_point deadline) {
    canvas.drawBackground(scene.feedback);
    CopyArray& copies = scene.copies;
    // The copies turn about the base point, which a pick takes from the pointer: before them.
    if (scene.picking) {
        const Point2 base = canvas.pointerInWorld(scene.pointer);
        copies.baseX = base.x;
        copies.baseY = base.y;
    }
    CopyDeal deal(deadline);
    const PreviewResult preview = drawCopiesInLayers(
        canvas, scene.figure, scene.bounds, copies, scene.params, deal, canvas.copyLayers,
        copyThreads(scene.figure, scene.params, canvas, workerThreads()), [&] {
            canvas.drawFigure(scene.figure);
            // The texts go with the copies only with the attributes, so they show only then.
            if (scene.params.keepAttributes) canvas.drawFigureTexts(scene.figure);
            canvas.drawBasePointMarker(copies.baseX, copies.baseY, scene.picking, scene.pointer);
            canvas.begin(CanvasStep::copyLines);
        });
    canvas.flushLines();
    return preview;
}

namespace {

// The picture into the bitmap, then to `target`. Nothing is drawn before the window is ready.
bool paintCanvas(HDC target) {
    if (!theCanvas.ready() || !previewReady) return false;
    const auto started = std::chrono::steady_clock::now();
    ++theCanvas.repaints;
    GetClientRect(theCanvas.window, &theCanvas.clientRect);
    thePanel.notePreview(renderPreview(theCanvas, currentScene(),
                                       started + std::chrono::milliseconds(kPreviewBudgetMs)));
    theCanvas.present(target);
    return true;
}

void onCanvasPaint(HWND window) {
    PaintDc dc(window);
    paintCanvas(dc.get());
}

}  // namespace

LRESULT CALLBACK canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            if (!theCanvas.ready() || !previewReady) break;
            onCanvasPaint(window);
            return 0;
        case WM_PRINTCLIENT:
            if (paintCanvas(reinterpret_cast<HDC>(wParam))) return 0;
            break;
        case WM_ERASEBKGND:
            if (theCanvas.ready() && previewReady) return 1;  // every paint covers it all
            break;
    }
    return CallWindowProcA(previousCanvasProc, window, message, wParam, lParam);
}

void subclassCanvas() {
    previousCanvasProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(theCanvas.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(canvasProc)));
}
