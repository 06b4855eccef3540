#include "app/base_point_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

namespace {

// What a typed base point reads as: arithmetic and full-width forms in each half, any of the
// three commas; anything else is refused and leaves the base point as it was.
TEST(BasePointText, TypedAsXCommaY) {
    const std::pair<const char*, std::pair<double, double>> read[] = {
        {"100, -50", {100, -50}},
        {"360/7,1+2*3", {360.0 / 7.0, 7}},
        {" -1.5e2 ,\t(2) ", {-150, 2}},
        {"\x82\x50\x82\x4f\x81\x43\x81\x7c\x82\x54", {10, -5}},  // １０，－５
        {"3\x81\x41 4", {3, 4}},                                 // 3、 4
    };
    for (const auto& [text, want] : read) {
        Point2 p{-1, -1};
        ASSERT_TRUE(readBasePoint(text, p)) << text;
        EXPECT_EQ(std::pair(p.x, p.y), want) << text;
    }
    for (const char* wrong : {"", "100", "1, 2, 3", "1,", ",2", "12abc, 5", "1/0, 0", "1e999, 0",
                              "1 2", "\x82\x50\x82\x51"}) {
        Point2 p{7, 8};
        EXPECT_FALSE(readBasePoint(wrong, p)) << wrong;
        EXPECT_EQ(std::pair(p.x, p.y), std::pair(7.0, 8.0)) << wrong;
    }
}

// The dialog offers every digit: its text reads back as exactly the base point.
TEST(BasePointText, OfferedTextReadsBackExactly) {
    for (const auto& [x, y] : {std::pair(0.1 + 0.2, -0.0), std::pair(1e300, 2.0 / 3.0)}) {
        Point2 p;
        ASSERT_TRUE(readBasePoint(basePointText(x, y).c_str(), p)) << basePointText(x, y);
        EXPECT_EQ(std::tuple(p.x, p.y, std::signbit(p.y)), std::tuple(x, y, std::signbit(y)));
    }
}

// The status bar's numbers: cut, not rounded, without the zeros that end them.
TEST(BasePointText, LabelCutToTheDecimalsThatFit) {
    const std::size_t prefix = basePointLabel(0, 0, 0).size() - 4;  // the label before "0, 0"
    const std::tuple<double, double, int, const char*> cases[] = {
        {0, -0.0, 2, "0, 0"},
        {12.349, -5.5, 2, "12.34, -5.5"},
        {12.349, -0.001, 1, "12.3, 0"},
        {-123456.78, 100.9, 0, "-123456, 100"}};
    for (const auto& [x, y, decimals, numbers] : cases)
        EXPECT_EQ(basePointLabel(x, y, decimals).substr(prefix), numbers);
}

}  // namespace
