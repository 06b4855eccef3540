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

}  // namespace
