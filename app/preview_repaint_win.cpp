#include "app/preview_repaint_win.h"

#include "app/globals_win.h"
#include "figure/workers.h"
#include "view/copy_layers.h"
#include "view/view_hooks_win.h"

PreviewResult renderPreview(Canvas& canvas, Figure& figure, const Bounds& bounds, CopyArray& copies,
                            const CopyInputs& inputs,
                            std::chrono::steady_clock::time_point deadline) {
    canvas.drawBackground(theMouse);
    // The copies turn about the base point, which a pick takes from the pointer: before them.
    const bool picking = basePointPickMode != 0;
    if (picking) canvas.pickBasePoint(theMouse.pointerPos, copies.baseX, copies.baseY);
    CopyDeal deal(deadline);
    const PreviewResult preview = drawCopiesInLayers(
        canvas, figure, bounds, copies, inputs, deal, canvas.copyLayers,
        copyThreads(figure, inputs, canvas, workerThreads()), [&] {
            canvas.drawFigure(figure);
            canvas.drawBasePointMarker(copies.baseX, copies.baseY, picking, theMouse.pointerPos);
            canvas.begin(CanvasStep::copyLines);
        });
    canvas.flushLines();
    return preview;
}

namespace {

void setHint(const char* text) {
    thePanel.setHint(text);
}

void scaleChanged() {
    thePanel.refresh();
}

void drawScene(std::chrono::steady_clock::time_point started) {
    thePanel.notePreview(renderPreview(theCanvas, theFigure, theFigureBounds, theCopyArray,
                                       thePanel.readCopyInputs(),
                                       started + std::chrono::milliseconds(kPreviewBudgetMs)));
}

}  // namespace

void installViewHooks() {
    theViewHooks = {setHint, scaleChanged, drawScene};
}
