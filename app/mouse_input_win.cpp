#include "app/mouse_input_win.h"

#include <windowsx.h>

#include "app/app_win.h"

namespace {

// What the core decided, in the order the window needs it: the scale button before the
// canvas, whose paint follows once the message is handled.
void perform(App& app, const MouseEffects& e) {
    if (e.capture) takeCapture(app);
    if (e.scaleChanged) showScale(app);
    if (e.clearHint) app.strip.setHint("");
    if (e.invalidate) app.canvas.invalidate();
    if (e.release) releaseMouse(app);
}

// Runs a decision on the base point; the model takes a moved one. While picking, the base point
// stays under the pointer whatever the decision did to the view.
template <class Decide>
void decide(App& app, Decide&& decision) {
    Point2 base{app.model.copies.baseX, app.model.copies.baseY};
    const MouseEffects e =
        decision(MouseContext{app.mouse, app.picking, app.view, base, app.figure, app.dpi});
    if (app.picking) base = pointerInWorld(app);
    moveBase(app, base);
    // Every event that moves the pointer or ends the pick while picking repaints anyway.
    updateSnapMark(app);
    perform(app, e);
}

}  // namespace

PixelPoint canvasPixel(const App& app, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(app.main, app.canvas.window, &p, 1);
    return {p.x, p.y};
}

void takeCapture(App& app) {
    if (!app.mouse.captured) {
        SetCapture(app.main);
        app.mouse.captured = true;
    }
}

void releaseMouse(App& app) {
    if (app.mouse.captured) {
        // ReleaseCapture sends WM_CAPTURECHANGED at once: by then it must not count as a loss.
        app.mouse.captured = false;
        ReleaseCapture();
    }
}

void onCaptureChanged(App& app) {
    if (!app.mouse.captured) return;  // our own release
    // Taken away: nothing left to release (a sent message may come while it is still ours).
    if (GetCapture() != app.main) app.mouse.captured = false;
    cancelMouse(app);
}

void cancelMouse(App& app) {
    decide(app, [](MouseContext c) { return mouseCancelled(c); });
}

void cancelPick(App& app) {
    const Point2 before = app.baseBeforePick;
    decide(app, [&](MouseContext c) { return pickCancelled(c, before); });
}

void onMouseMove(App& app, LPARAM lParam) {
    const PixelPoint at = canvasPixel(app, lParam);
    decide(app, [&](MouseContext c) { return mouseMoved(c, at); });
}

void onButtonDown(App& app, MouseButton button, LPARAM lParam) {
    const PixelPoint at = canvasPixel(app, lParam);
    decide(app, [&](MouseContext c) { return buttonPressed(c, button, at); });
}

void onButtonUp(App& app, MouseButton button, LPARAM lParam) {
    const PixelPoint at = canvasPixel(app, lParam);
    decide(app, [&](MouseContext c) { return buttonReleased(c, button, at); });
}
