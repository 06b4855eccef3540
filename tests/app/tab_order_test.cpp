#include <gtest/gtest.h>

#include "app/tab_order.h"

namespace {

TEST(TabOrder, WalksBothWaysWrappingAndEntersAtTheEnds) {
    EXPECT_EQ(nextTabStop(17, 0, false), 1);
    EXPECT_EQ(nextTabStop(17, 16, false), 0);
    EXPECT_EQ(nextTabStop(17, 0, true), 16);
    EXPECT_EQ(nextTabStop(17, 5, true), 4);
    EXPECT_EQ(nextTabStop(17, -1, false), 0);
    EXPECT_EQ(nextTabStop(17, -1, true), 16);
    EXPECT_EQ(nextTabStop(1, 0, false), 0);
    EXPECT_EQ(nextTabStop(0, -1, false), -1);
}

TEST(TabOrder, GoesOnFromAControlOutsideTheListWhereItLies) {
    // Two rows (value box, slider, percent box), a button, then the canvas.
    const bool isStop[] = {true, true, false, true, true, false, true, false};
    struct Case {
        int current;
        bool backward;
        int next;
    };
    const Case cases[] = {
        {2, false, 3},  {2, true, 1},   // the first row's percent box
        {5, false, 6},  {5, true, 4},   // the second's
        {7, false, 0},  {7, true, 6},   // the canvas, after the panel
        {-1, false, 0}, {-1, true, 6},  // elsewhere: at the ends
        {0, false, 1},  {0, true, 6},  {6, false, 0}, {4, false, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nextTabStopAmong(isStop, 8, c.current, c.backward), c.next)
            << c.current << (c.backward ? " back" : "");
    const bool none[] = {false, false};
    EXPECT_EQ(nextTabStopAmong(none, 2, 0, false), -1);
    EXPECT_EQ(nextTabStopAmong(isStop, 0, -1, false), -1);
}

}  // namespace
