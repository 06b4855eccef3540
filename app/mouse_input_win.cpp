#include "app/mouse_input_win.h"

#include "copyarray/copy_array.h"
#include "figure/figure.h"
#include "view/canvas_win.h"
#include "view/mouse_tracker.h"
#include "view/nav_gesture.h"
#include "view/snap.h"
#include "app/globals_win.h"
#include "view/view_hooks_win.h"

namespace {

// The canvas lies right of the panel at the main window's top.
PixelPoint canvasPixel(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)) - theCanvas.left,
            static_cast<short>(HIWORD(lParam))};
}

void beginGesture(LPARAM lParam) {
    theMouse.gestureActive = 1;
    theMouse.gestureStart = canvasPixel(lParam);
    theCanvas.setRubberBand(0);
    theCanvas.showLabel(commandLabel(NavCommand::move));
}

void gestureFeedbackStep() {
    const GestureFeedback f = gestureFeedback(theMouse.pointerPos.x - theMouse.gestureStart.x,
                                              theMouse.pointerPos.y - theMouse.gestureStart.y);
    if (f.rubberBand) {
        theCanvas.setRubberBand(1);
        theCanvas.hideLabel();
        theCanvas.repaint();
    } else {
        theCanvas.setRubberBand(0);
        theCanvas.showLabel(f.label);
    }
}

void finishGesture() {
    const PixelPoint s = theMouse.gestureStart;
    const PixelPoint r = theMouse.releasePos;
    const NavCommand command = gestureCommand(r.x - s.x, r.y - s.y);
    theCanvas.setRubberBand(0);
    theCanvas.hideLabel();
    ViewMapping& view = theCanvas.view;
    switch (command) {
        case NavCommand::zoomOut:
            view.zoomOutAt(s.x, s.y);
            break;
        case NavCommand::previous:
            view.previousView();
            break;
        case NavCommand::move:
            view.panTo(s.x, s.y);
            break;
        case NavCommand::showAll:
            view.showAll();
            break;
        case NavCommand::zoomIn:
            view.zoomToRect(s.x, s.y, r.x, r.y);
            break;
    }
    if (command != NavCommand::move) theViewHooks.scaleChanged();  // the scale button first
    theCanvas.repaint();
}

// After every plain click: the hint goes, the preview is redrawn, the capture is let go.
void endPlainClick() {
    theViewHooks.setHint("");
    theCanvas.repaint();
    releaseMouse();
}

}  // namespace

void takeCapture() {
    if (!theMouse.captured) {
        SetCapture(theCanvas.parentWindow);
        theMouse.captured = 1;
    }
}

void releaseMouse() {
    if (theMouse.captured) {
        // ReleaseCapture sends WM_CAPTURECHANGED at once: by then it must not count as a loss.
        theMouse.captured = 0;
        ReleaseCapture();
    }
}

void onCaptureChanged() {
    if (!theMouse.captured) return;  // our own release
    // Taken away: nothing left to release (a sent message may come while it is still ours).
    if (GetCapture() != theCanvas.parentWindow) theMouse.captured = 0;
    cancelMouse();
}

void cancelMouse() {
    theMouse.leftDown = 0;
    theMouse.rightDown = 0;
    theMouse.gestureActive = 0;
    releaseMouse();
    theCanvas.clearFeedback();
}

void onMouseMove(LPARAM lParam) {
    theMouse.pointerPos = canvasPixel(lParam);
    if (theMouse.gestureActive) gestureFeedbackStep();
    if (basePointPickMode) {
        const Point2 base =
            theCanvas.view.screenToWorld(theMouse.pointerPos.x, theMouse.pointerPos.y);
        theCopyArray.baseX = base.x;
        theCopyArray.baseY = base.y;
        theCanvas.repaint();
    }
}

void onLButtonDown(LPARAM lParam) {
    takeCapture();
    theMouse.leftDown = 1;
    if (theMouse.rightDown) beginGesture(lParam);
}

void onRButtonDown(LPARAM lParam) {
    takeCapture();
    theMouse.rightDown = 1;
    if (theMouse.leftDown) beginGesture(lParam);
}

void onLButtonUp(LPARAM lParam) {
    theMouse.releasePos = canvasPixel(lParam);
    theMouse.leftDown = 0;
    if (theMouse.gestureActive) {
        if (theMouse.rightDown) return;  // the gesture goes on until both are up
        theMouse.gestureActive = 0;
        finishGesture();
        releaseMouse();
        return;
    }
    const Point2 p = theCanvas.view.screenToWorld(theMouse.releasePos.x, theMouse.releasePos.y);
    if (basePointPickMode) {
        theCopyArray.baseX = p.x;
        theCopyArray.baseY = p.y;
        basePointPickMode = 0;
    }
    endPlainClick();
}

void onRButtonUp(LPARAM lParam) {
    theMouse.rightDown = 0;
    if (theMouse.gestureActive) {
        if (theMouse.leftDown) return;
        theMouse.gestureActive = 0;
        theMouse.releasePos = canvasPixel(lParam);
        finishGesture();
        releaseMouse();
        return;
    }
    const PixelPoint pixel = canvasPixel(lParam);
    const Point2 p = theCanvas.view.screenToWorld(pixel.x, pixel.y);
    if (basePointPickMode) {
        basePointPickMode = 0;
        const Point2 snapped = snapBasePoint(theFigure, p.x, p.y, theCanvas.view.scale);
        theCopyArray.baseX = snapped.x;
        theCopyArray.baseY = snapped.y;
    }
    endPlainClick();
}
