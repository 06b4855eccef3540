#include "app/mouse_input_win.h"

#include <windowsx.h>

#include "app/globals_win.h"
#include "app/output_readout_win.h"

namespace {

MouseContext context(Point2& base) {
    return {theMouse, basePointPickMode, theCanvas.view, base, theFigure};
}

// What the core decided, in the order the window needs it: the scale button before the
// canvas, whose paint follows once the message is handled.
void perform(const MouseEffects& e) {
    if (e.capture) takeCapture();
    if (e.scaleChanged) thePanel.showScale();
    if (e.clearHint) thePanel.setHint("");
    if (e.invalidate) theCanvas.invalidate();
    if (e.release) releaseMouse();
}

// Runs a decision on the base point and stores the point back.
template <class Decide>
void decide(Decide&& decision) {
    Point2 base{theCopyArray.baseX, theCopyArray.baseY};
    const MouseEffects e = decision(context(base));
    const bool moved = base.x != theCopyArray.baseX || base.y != theCopyArray.baseY;
    theCopyArray.baseX = base.x;
    theCopyArray.baseY = base.y;
    perform(e);
    if (moved) updateOutputReadout();  // whether the copies can be written depends on it
}

}  // namespace

PixelPoint canvasPixel(LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(theCanvas.parentWindow, theCanvas.window, &p, 1);
    return {p.x, p.y};
}

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
    decide([](MouseContext c) { return mouseCancelled(c); });
}

void onMouseMove(LPARAM lParam) {
    const PixelPoint at = canvasPixel(lParam);
    decide([&](MouseContext c) { return mouseMoved(c, at); });
}

void onButtonDown(MouseButton button, LPARAM lParam) {
    const PixelPoint at = canvasPixel(lParam);
    decide([&](MouseContext c) { return buttonPressed(c, button, at); });
}

void onButtonUp(MouseButton button, LPARAM lParam) {
    const PixelPoint at = canvasPixel(lParam);
    decide([&](MouseContext c) { return buttonReleased(c, button, at); });
}
