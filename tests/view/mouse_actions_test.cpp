// The canvas's mouse decisions without a window: what each event asks the window to do.

#include "view/mouse_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "figure/reader.h"

namespace {

struct Canvas {
    MouseTracker mouse;
    bool picking = false;
    ViewMapping view;
    Point2 base{0, 0};
    Figure figure;
    int paints = 0;  // one per event that invalidates, as the window performs it

    Canvas() {
        view.setClientSize(200, 100);
        const std::string text = " 10 0 20 0\n";
        loadFigureFromMemory(text.data(), text.size(), figure);
    }
    MouseContext context() { return {mouse, picking, view, base, figure, kBaseDpi}; }
    MouseEffects count(MouseEffects e) {
        paints += e.invalidate ? 1 : 0;
        return e;
    }
};

// A zoom-in drag: each event costs at most one paint, and only the last performs anything.
TEST(MouseActions, ADragPaintsOncePerEventAndPerformsOnRelease) {
    Canvas c;
    const MouseEffects first = c.count(buttonPressed(c.context(), MouseButton::right, {50, 20}));
    EXPECT_TRUE(first.capture);
    EXPECT_EQ(c.paints, 0) << "one button alone shows nothing";
    c.count(buttonPressed(c.context(), MouseButton::left, {50, 20}));
    EXPECT_STREQ(gestureShown(c.mouse, kBaseDpi).label, "MOVE");
    for (int step = 1; step <= 30; ++step) {
        const int before = c.paints;
        c.count(mouseMoved(c.context(), {50 + step, 20 + step}));
        EXPECT_EQ(c.paints - before, 1) << "move " << step;
    }
    EXPECT_TRUE(gestureShown(c.mouse, kBaseDpi).rubberBand);
    const double scale = c.view.scale;
    const MouseEffects up = c.count(buttonReleased(c.context(), MouseButton::left, {80, 50}));
    EXPECT_FALSE(up.invalidate || up.release) << "the gesture goes on until both are up";
    const MouseEffects last = c.count(buttonReleased(c.context(), MouseButton::right, {80, 50}));
    EXPECT_TRUE(last.invalidate && last.release && last.scaleChanged);
    EXPECT_LT(c.view.scale, scale) << "zoomed in";
    EXPECT_EQ(gestureShown(c.mouse, kBaseDpi).label, nullptr);
    EXPECT_EQ(c.paints, 32);
}

// Picking: the base point follows the pointer; a left click keeps it, a right click snaps it
// to an end point within reach; a lost capture ends a gesture unperformed.
TEST(MouseActions, PickingAndCancelling) {
    Canvas c;
    c.picking = true;
    c.count(mouseMoved(c.context(), {100 + 12, 50}));
    EXPECT_EQ(c.base.x, 12);
    const MouseEffects click = buttonReleased(c.context(), MouseButton::right, {100 + 12, 50});
    EXPECT_TRUE(click.clearHint && click.release && click.invalidate);
    EXPECT_EQ(c.base.x, 10) << "snapped to the segment's end";
    EXPECT_FALSE(c.picking);
    c.count(mouseMoved(c.context(), {100 + 40, 50}));
    EXPECT_EQ(c.base.x, 10) << "no longer picking";

    buttonPressed(c.context(), MouseButton::left, {0, 0});
    buttonPressed(c.context(), MouseButton::right, {0, 0});
    const ViewMapping before = c.view;
    const MouseEffects lost = mouseCancelled(c.context());
    EXPECT_TRUE(lost.release && lost.invalidate);
    EXPECT_FALSE(c.mouse.leftDown || c.mouse.rightDown || c.mouse.gestureActive);
    EXPECT_EQ(c.view.scale, before.scale);
    EXPECT_EQ(c.view.offsetX, before.offsetX);
}

// Escape while picking: the pick ends and the base point goes back; outside a pick, nothing.
TEST(MouseActions, CancellingAPickPutsBackTheBasePoint) {
    Canvas c;
    c.base = {3, 4};
    c.picking = true;
    c.count(mouseMoved(c.context(), {100 + 40, 50}));
    const MouseEffects e = pickCancelled(c.context(), {3, 4});
    EXPECT_TRUE(e.clearHint && e.invalidate && !e.release);
    EXPECT_FALSE(c.picking);
    EXPECT_EQ(std::pair(c.base.x, c.base.y), std::pair(3.0, 4.0));
    c.count(mouseMoved(c.context(), {100 + 60, 50}));
    const MouseEffects none = pickCancelled(c.context(), {7, 7});
    EXPECT_FALSE(none.clearHint || none.invalidate);
    EXPECT_EQ(std::pair(c.base.x, c.base.y), std::pair(3.0, 4.0));
}

}  // namespace
