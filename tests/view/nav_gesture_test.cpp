#include "view/nav_gesture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    int dx, dy;
    NavCommand command;
    bool rubberBand;
    const char* label;
};

TEST(NavGesture, ZonesDecideFeedbackAndCommand) {
    const Case cases[] = {
        {0, 0, NavCommand::move, false, "MOVE"},
        {11, 11, NavCommand::zoomIn, true, "ZOOM IN"},
        {11, -11, NavCommand::showAll, false, "SHOW ALL"},
        {-11, -11, NavCommand::zoomOut, false, "ZOOM OUT"},
        {-11, 11, NavCommand::previous, false, "PREVIOUS"},
        // Exactly 10 counts as no direction.
        {10, 50, NavCommand::move, false, "MOVE"},
        {10, 10, NavCommand::move, false, "MOVE"},
        {-10, -50, NavCommand::move, false, "MOVE"},
        {50, 10, NavCommand::move, false, "MOVE"},
        {50, -10, NavCommand::move, false, "MOVE"},
        // The horizontal zone: "MOVE" shown, "MOVE" performed.
        {-50, 0, NavCommand::move, false, "MOVE"},
        {80, 3, NavCommand::move, false, "MOVE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
        EXPECT_EQ(gestureCommand(c.dx, c.dy), c.command);
        const GestureFeedback f = gestureFeedback(c.dx, c.dy);
        EXPECT_EQ(f.rubberBand, c.rubberBand);
        EXPECT_STREQ(f.label, c.label);
        EXPECT_STREQ(commandLabel(c.command), c.label);
    }
}

}  // namespace
