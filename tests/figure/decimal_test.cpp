#include "figure/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>

namespace {

std::uint64_t bitsOf(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

std::string lf(double v) {
    char buffer[kMaxLfChars + 1];
    return std::string(buffer, formatLf(v, buffer));
}

TEST(ParseDecimal, ReadsTheLongestNumberPrefix) {
    const std::tuple<const char*, double, long> cases[] = {
        {"12", 12, 2},         {"\t\n\v\f\r 7", 7, 7}, {"+3", 3, 2},           {"-0", -0.0, 2},
        {".5", 0.5, 2},        {"5.", 5, 2},           {"-.25x", -0.25, 4},    {".", 0, 0},
        {"-", 0, 0},           {"+.", 0, 0},           {"  x", 0, 0},          {"", 0, 0},
        {"1E+2", 100, 4},      {"25e-1", 2.5, 5},      {"1e", 1, 1},           {"1e+", 1, 1},
        {"1e-x", 1, 1},        {".e5", 0, 0},          {"0x10", 0, 1},         {"inf", 0, 0},
        {"-infinity", 0, 0},   {"nan", 0, 0},          {"1.2.3", 1.2, 3},      {"--1", 0, 0},
        {"+-1", 0, 0},         {"- 1", 0, 0},          {"4\r\n", 4, 1},        {"1,5", 1, 1},
        {"0001.5000", 1.5, 9}, {"1e0005", 1e5, 6},     {"1e999x", HUGE_VAL, 5}};
    for (const auto& [text, value, taken] : cases) {
        const char* end = nullptr;
        const double v = parseDecimal(text, text + std::strlen(text), &end);
        EXPECT_EQ(bitsOf(v), bitsOf(value)) << text;
        EXPECT_EQ(end - text, taken) << text;
        EXPECT_EQ(bitsOf(parseDecimal(text)), bitsOf(value)) << text;
    }
    const char text[] = "123456";  // the given end bounds even a number
    const char* end = nullptr;
    EXPECT_EQ(parseDecimal(text, text + 3, &end), 123.0);
    EXPECT_EQ(end, text + 3);
}

// With bytes to spare after the number, the usual shape is read sixteen bytes at once: it
// must take exactly what the general reader takes, stopping at the given end even when digits
// follow it, and leave other shapes to the general reader.
TEST(ParseDecimal, ReadsTheUsualShapeWithBytesToSpare) {
    const std::tuple<const char*, long, double, long> cases[] = {
        // text, where the number must end (-1: the text's end), value, characters taken
        {"1234567.1234567 ", -1, 1234567.1234567, 15},
        {"-1234567.1234567", -1, -1234567.1234567, 16},
        {"12345678.5 ", -1, 12345678.5, 10},
        {"1.12345678 ", -1, 1.12345678, 10},
        {"0.1234567,", -1, 0.1234567, 9},
        {"2.5e3 ", -1, 2500, 5},
        {"2.5E-1 ", -1, 0.25, 6},
        {"7.25 ", 3, 7.2, 3},
        {"7.25 ", 1, 7, 1},
        {"7.25 ", 2, 7, 2},
        {"-.5 ", -1, -0.5, 3},
        {"5. ", -1, 5, 2},
        {". ", -1, 0, 0},
        {"-. ", -1, 0, 0},
        {"12.5.5 ", -1, 12.5, 4},
        {"+12.5 ", -1, 12.5, 5},
        {" 12.5 ", -1, 12.5, 5},
        {"-", -1, 0, 0},
        {"0.000001 ", -1, 1e-6, 8}};
    for (const auto& [text, cut, value, taken] : cases) {
        // Digits after the text: readable, but never to be taken.
        char buffer[40];
        std::memset(buffer, '7', sizeof buffer);
        const std::size_t length = std::strlen(text);
        std::memcpy(buffer, text, length);
        const char* last = buffer + (cut < 0 ? static_cast<long>(length) : cut);
        const char* end = nullptr;
        const double v = parseDecimal(buffer, last, buffer + sizeof buffer, &end);
        EXPECT_EQ(bitsOf(v), bitsOf(value)) << text << " cut " << cut;
        EXPECT_EQ(end - buffer, taken) << text << " cut " << cut;
    }
}

TEST(ParseDecimal, RoundsCorrectlyOverflowsAndUnderflows) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"0.1", 0x3fb999999999999a},          {"2.2250738585072011e-308", 0x000fffffffffffff},
        {"1e23", 0x44b52d02c7e14af6},         {"2.2250738585072012e-308", 0x0010000000000000},
        {"3e-324", 0x0000000000000001},       {"12345678901234567890123", 0x4484ea15b273b38a},
        {"8.5e-323", 0x0000000000000011},     {"1.7976931348623158e308", 0x7fefffffffffffff},
        {"1000e-326", 0x0000000000000002},    {"1.7976931348623159e308", 0x7ff0000000000000},
        {"0.000001e315", 0x7ff0000000000000}, {"-1e99999999999999999999", 0xfff0000000000000},
        {"-2e-324", 0x8000000000000000},      {"0.0000000000001e300", bitsOf(1e287)},
        {"1e-999", 0x0000000000000000}};
    for (const auto& [text, bits] : cases) EXPECT_EQ(bitsOf(parseDecimal(text)), bits) << text;
    // 2^53 + 1 lies between two doubles: a 1 four hundred digits on decides, else even wins.
    const std::string tie = "9007199254740993." + std::string(383, '0');
    EXPECT_EQ(parseDecimal((tie + "1").c_str()), 9007199254740994.0);
    EXPECT_EQ(parseDecimal(tie.c_str()), 9007199254740992.0);
    EXPECT_EQ(parseDecimal(("0." + std::string(398, '3')).c_str()), 1.0 / 3.0);
}

#ifndef _WIN32
// glibc's strtod rounds correctly; on decimal texts it must agree bit for bit.
TEST(ParseDecimal, AgreesWithStrtod) {
    std::mt19937_64 random(42);
    auto below = [&](int n) { return static_cast<int>(random() % n); };
    auto digits = [&](std::string& text, int n) {
        while (n-- > 0) text += static_cast<char>('0' + below(10));
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = below(2) ? "" : below(2) ? "-" : "+";
        digits(text, below(25));
        if (below(2)) digits(text += '.', below(25));
        if (below(2)) {
            text += below(2) ? 'e' : 'E';
            if (below(2)) text += below(2) ? '-' : '+';
            text += std::to_string(below(700));
        }
        text += "z";
        char* strtodEnd = nullptr;
        const double expected = std::strtod(text.c_str(), &strtodEnd);
        const char* end = nullptr;
        const double v = parseDecimal(text.c_str(), text.c_str() + text.size(), &end);
        ASSERT_EQ(bitsOf(v), bitsOf(expected)) << text;
        ASSERT_EQ(end, strtodEnd) << text;
    }
}
#endif

TEST(FormatLf, WritesSixFixedDecimalsRoundingHalfToEven) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.000000"},        {-0.0, "-0.000000"},       {12345.0078125, "12345.007812"},
        {-1e-9, "-0.000000"},     {-4010.0, "-4010.000000"}, {-NAN, "nan"},
        {0.1234565, "0.123456"},  {2.5e-7, "0.000000"},      {0.0000015, "0.000002"},
        {0.0078125, "0.007812"},  {-0.0546875, "-0.054688"}, {0.9999995, "1.000000"},
        {0.99999949, "0.999999"}, {4.9e-324, "0.000000"},    {-4.9e-324, "-0.000000"},
        {HUGE_VAL, "inf"},        {-HUGE_VAL, "-inf"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(lf(value), text);
    EXPECT_EQ(lf(1e23), "99999999999999991611392.000000");
    EXPECT_EQ(lf(9007199254740993.0), "9007199254740992.000000");
    const std::string largest = lf(-std::numeric_limits<double>::max());
    EXPECT_EQ(largest.size(), kMaxLfChars);
    EXPECT_EQ(largest.substr(0, 18), "-17976931348623157");
    EXPECT_EQ(largest.substr(largest.size() - 7), ".000000");
}

// Where the integer part gains a digit by rounding (also across 10^8, where the digits are
// written in two groups), exact binary ties far from zero, values that must keep their minus
// sign, the smallest values that still round to a millionth, and the 1e12 switch to the wide
// path. Expected texts are glibc's.
TEST(FormatLf, CarriesTiesAndBoundaries) {
    const std::pair<double, const char*> cases[] = {
        {9.9999995, "9.999999"},
        {std::nextafter(9.9999995, 10.0), "10.000000"},
        {-std::nextafter(9.9999995, 10.0), "-10.000000"},
        {999999.9999995, "999999.999999"},
        {std::nextafter(999999.9999995, 1e6), "1000000.000000"},
        {99999999.9999995, "99999999.999999"},
        {std::nextafter(99999999.9999995, 1e8), "100000000.000000"},
        {99999999.0, "99999999.000000"},
        {100000000.0, "100000000.000000"},
        {12345678.5, "12345678.500000"},
        {123456789012.345678, "123456789012.345673"},
        {-2.0000005, "-2.000001"},
        {0.5078125, "0.507812"},
        {0.0234375, "0.023438"},
        {99999999.9921875, "99999999.992188"},
        {549755813887.9921875, "549755813887.992188"},
        {-5e-7, "-0.000000"},
        {-1e-300, "-0.000000"},
        {5.000000000000001e-7, "0.000001"},
        {0x1p-21, "0.000000"},
        {0x1p-20, "0.000001"},
        {0x1p-11, "0.000488"},
        {std::nextafter(0x1p-11, 0.0), "0.000488"},
        {std::nextafter(1e12, 0.0), "999999999999.999878"},
        {1e12, "1000000000000.000000"},
        {-1e12, "-1000000000000.000000"},
        {std::nextafter(1e12, 2e12), "1000000000000.000122"}};
    for (const auto& [value, text] : cases) {
        // Guard bytes: nothing may be written past the text.
        char buffer[kMaxLfChars + 8];
        std::memset(buffer, '#', sizeof buffer);
        const std::size_t n = formatLf(value, buffer);
        EXPECT_EQ(std::string(buffer, n), text) << std::hexfloat << value;
        EXPECT_EQ(std::string(buffer + n, 8), "########") << text;
        EXPECT_EQ(n, formatLfInline(value, buffer)) << text;
    }
}

#ifndef _WIN32
// glibc's printf is the reference; Windows' printf rounds differently.
TEST(FormatLf, MatchesGlibcPrintf) {
    std::mt19937_64 random(7);
    char expected[400];
    auto check = [&](double v) {
        std::snprintf(expected, sizeof expected, "%lf", v);
        ASSERT_EQ(lf(v), expected) << "bits " << std::hex << bitsOf(v);
    };
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t u = random();  // any finite double
        if (((u >> 52) & 0x7ff) == 0x7ff) u ^= 1ULL << 62;
        double v;
        std::memcpy(&v, &u, sizeof v);
        check(v);
        // The magnitudes drawings hold, where the sixth decimal matters.
        const double scale = std::pow(10.0, static_cast<int>(random() % 24) - 9);
        check((static_cast<double>(random() >> 11) / 0x1p53 - 0.5) * scale);
    }
    for (int k = -300; k < 300; ++k) {  // binary ties at the seventh decimal, near-ties beside
        check((2 * k + 1) / 128.0);
        check((2 * k + 1) * 5e-7);
        check(k * 1.0000005);
        check(std::ldexp(1.0, k));
    }
}
#endif

}  // namespace
