#include "view/mouse_actions.h"

#include "view/snap.h"

namespace {

void beginGesture(MouseTracker& m, PixelPoint at, MouseEffects& e) {
    m.gestureActive = true;
    m.gestureStart = at;
    m.pointerPos = at;  // the label shows "MOVE" from the start, wherever the last move was
    e.invalidate = true;
}

void performGesture(MouseContext c, MouseEffects& e) {
    const PixelPoint s = c.mouse.gestureStart;
    const PixelPoint r = c.mouse.releasePos;
    const NavCommand command = gestureCommand(r.x - s.x, r.y - s.y, c.dpi);
    switch (command) {
        case NavCommand::zoomOut:
            c.view.zoomOutAt(s.x, s.y);
            break;
        case NavCommand::previous:
            c.view.previousView();
            break;
        case NavCommand::move:
            c.view.panTo(s.x, s.y);
            break;
        case NavCommand::showAll:
            c.view.showAll();
            break;
        case NavCommand::zoomIn:
            c.view.zoomToRect(s.x, s.y, r.x, r.y);
            break;
    }
    e.scaleChanged = command != NavCommand::move;
    e.invalidate = true;
    e.release = true;
}

// A release with the other button still up: the plain click of that button.
MouseEffects plainClick(MouseContext c, MouseButton button, PixelPoint at) {
    MouseEffects e;
    if (c.picking) {
        c.picking = false;
        const Point2 p = c.view.screenToWorld(at.x, at.y);
        c.base = button == MouseButton::right
                     ? snapBasePoint(c.figure, p.x, p.y, c.view.scale, c.dpi)
                     : p;
    }
    e.clearHint = true;
    e.invalidate = true;
    e.release = true;
    return e;
}

}  // namespace

MouseEffects mouseMoved(MouseContext c, PixelPoint at) {
    MouseEffects e;
    c.mouse.pointerPos = at;
    if (c.mouse.gestureActive) e.invalidate = true;
    if (c.picking) {
        c.base = c.view.screenToWorld(at.x, at.y);
        e.invalidate = true;
    }
    return e;
}

MouseEffects buttonPressed(MouseContext c, MouseButton button, PixelPoint at) {
    MouseEffects e;
    e.capture = true;
    bool& own = button == MouseButton::left ? c.mouse.leftDown : c.mouse.rightDown;
    const bool other = button == MouseButton::left ? c.mouse.rightDown : c.mouse.leftDown;
    own = true;
    if (other) beginGesture(c.mouse, at, e);
    return e;
}

MouseEffects buttonReleased(MouseContext c, MouseButton button, PixelPoint at) {
    MouseTracker& m = c.mouse;
    (button == MouseButton::left ? m.leftDown : m.rightDown) = false;
    if (m.gestureActive) {
        MouseEffects e;
        if (m.leftDown || m.rightDown) return e;  // the gesture goes on until both are up
        m.gestureActive = false;
        m.releasePos = at;
        performGesture(c, e);
        return e;
    }
    m.releasePos = at;
    return plainClick(c, button, at);
}

MouseEffects pickCancelled(MouseContext c, Point2 before) {
    MouseEffects e;
    if (!c.picking) return e;
    c.picking = false;
    c.base = before;
    e.clearHint = true;
    e.invalidate = true;
    return e;
}

MouseEffects mouseCancelled(MouseContext c) {
    c.mouse.leftDown = false;
    c.mouse.rightDown = false;
    c.mouse.gestureActive = false;
    MouseEffects e;
    e.invalidate = true;
    e.release = true;
    return e;
}

GestureFeedback gestureShown(const MouseTracker& m, int dpi) {
    if (!m.gestureActive) return {};
    return gestureFeedback(m.pointerPos.x - m.gestureStart.x, m.pointerPos.y - m.gestureStart.y,
                           dpi);
}
