#pragma once

#include "figure/figure.h"
#include "figure/point2.h"
#include "view/mouse_tracker.h"
#include "view/nav_gesture.h"
#include "view/view_mapping.h"

// The canvas's mouse handling as decisions: an event comes in with what it may change, and
// what the window must do comes out. The window layer only performs these (capture, one
// invalidation, the scale display, the hint).

struct MouseEffects {
    bool invalidate = false;    // the picture changes: one repaint
    bool capture = false;       // a button went down: keep the mouse until it is up
    bool release = false;       // nothing is held any more: let the mouse go
    bool scaleChanged = false;  // the scale display must follow the view
    bool clearHint = false;     // a plain click ends whatever the hint asked for
};

// What a mouse event may change: the mouse state, the pick mode, the view and the base point.
struct MouseContext {
    MouseTracker& mouse;
    bool& picking;  // the next plain click sets the base point
    ViewMapping& view;
    Point2& base;
    const Figure& figure;
    int dpi;  // the canvas's pixels per inch: the gesture's and the snap's distances follow it
};

enum class MouseButton { left, right };

MouseEffects mouseMoved(MouseContext c, PixelPoint at);
MouseEffects buttonPressed(MouseContext c, MouseButton button, PixelPoint at);
MouseEffects buttonReleased(MouseContext c, MouseButton button, PixelPoint at);
// Escape while picking: the pick ends and the base point goes back to `before`, where it was
// when the pick began. Nothing happens outside pick mode.
MouseEffects pickCancelled(MouseContext c, Point2 before);
// The capture was taken away or the system cancelled the modes: no gesture is performed.
MouseEffects mouseCancelled(MouseContext c);

// What the canvas shows of the gesture now: nothing while none is on.
GestureFeedback gestureShown(const MouseTracker& mouse, int dpi);
