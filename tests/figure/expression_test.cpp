#include "figure/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "figure/decimal.h"

namespace {

std::uint64_t bitsOf(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

constexpr double kInf = HUGE_VAL;

TEST(TypedValue, ExpressionsAndTextsThatReadAsBefore) {
    const std::pair<const char*, double> cases[] = {
        // Precedence, left to right, unary signs, parentheses, spaces.
        {"1+2*3", 7},
        {"(1+2)*3", 9},
        {"2*3-4/8", 5.5},
        {"8/4/2", 1},
        {"10-4-3", 3},
        {"1-2", -1},
        {"-3*-2", 6},
        {"-(2+3)", -5},
        {"--5", 5},
        {"+5*2", 10},
        {"- 1", -1},
        {"((2))", 2},
        {" 1 +\t2 ", 3},
        {"360/7", 360.0 / 7.0},
        {"0.1+0.2", 0.1 + 0.2},
        {"1/3*3", 1.0 / 3.0 * 3.0},
        {"2e3*2", 4000},
        {"1.5e+2-50", 100},
        {"1e-3-1", 0.001 - 1},
        {"-0", -0.0},
        {".5*4", 2},
        // Not finite: returned as such, a row reads it as 0.
        {"1/0", kInf},
        {"-1/0", -kInf},
        {"1e308*10", kInf},
        {"1e999-1", kInf},
        // Not a complete expression: the longest number at the start, as always.
        {"12abc", 12},
        {"1e3", 1000},
        {"  5", 5},
        {"", 0},
        {"-", 0},
        {".", 0},
        {"1+", 1},
        {"2*(3", 2},
        {"(2)x", 0},
        {"5 5", 5},
        {"1e", 1},
        {"1e+", 1},
        {"0x10", 0},
        {"inf", 0},
        {"1,5", 1},
        {"3 + abc", 3},
        {"  -12.5mm", -12.5},
        {"1.2.3", 1.2},
        // Full-width forms as the input method types them, in Shift-JIS.
        {"\x82\x52\x82\x55\x82\x4f\x81\x5e\x82\x56", 360.0 / 7.0},        // ３６０／７
        {"\x81\x69\x82\x50\x81\x7b\x82\x51\x81\x6a\x81\x7e\x82\x52", 9},  // （１＋２）×３
        {"\x82\x51\x81\x96\x82\x52\x81\x80\x82\x53", 1.5},                // ２＊３÷４
        {"\x81\x7c\x82\x54\x81\x7b\x82\x51", -3},                         // －５＋２
        {"\x82\x50\x81\x44\x82\x54", 1.5},                                // １．５
        {"\x81\x40\x82\x54\x81\x40+\x81\x40\x82\x50", 6},                 // 　５　+　１
        {"\x82\x50\x82\x51\x82\x81\x82\x82", 12},                         // １２ａｂ
        {"2\x83\x7b+3", 2},       // ボ: its second byte is ＋'s, under another first byte
        {"5\x81", 5},             // a first byte without its second
        {"\x82\x4f\x82\x58", 9},  // ０９
    };
    for (const auto& [text, value] : cases) {
        const double v = typedValue(text);
        EXPECT_EQ(bitsOf(v), bitsOf(value)) << '"' << text << "\" gives " << v;
    }
    EXPECT_TRUE(std::isnan(typedValue("0/0")));
    EXPECT_TRUE(std::isnan(typedValue("1e999-1e999")));
}

TEST(TypedValue, NestingBeyondWhatABoxHoldsIsNotAnExpression) {
    const std::string deep = std::string(150, '(') + "1" + std::string(150, ')');
    EXPECT_EQ(typedValue(deep.c_str()), 1.0);
    const std::string deeper = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(typedValue(deeper.c_str()), 0.0);  // read as a number: none at its start
    EXPECT_EQ(typedValue((std::string(5000, '-') + "1").c_str()), 0.0);
}

TEST(NormaliseFullWidth, MapsTheFormsAndKeepsEveryOtherPairWhole) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x82\x4f\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\x82\x56\x82\x57\x82\x58",
         "0123456789"},
        {"\x81\x44\x81\x7b\x81\x7c\x81\x96\x81\x7e\x81\x5e\x81\x80\x81\x69\x81\x6a\x81\x40",
         ".+-**//() "},
        {"12.5 + x", "12.5 + x"},
        {"\x82\x4e\x82\x59\x81\x7d\x81\x5d", "\x82\x4e\x82\x59\x81\x7d\x81\x5d"},  // neighbours
        {"\x83\x7b\x83\x4f", "\x83\x7b\x83\x4f"},  // second bytes of forms under other firsts
        {"\xb1\x82\x50", "\xb1\x31"},              // a half-width kana is one byte
        {"\x82", "\x82"},
    };
    for (const auto& [in, out] : cases) {
        std::string n(in.size(), '#');
        n.resize(normaliseFullWidth(in.data(), in.data() + in.size(), n.data()));
        EXPECT_EQ(n, out) << in;
    }
}

}  // namespace
