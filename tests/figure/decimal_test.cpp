#include "figure/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::uint64_t bitsOf(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

double fromBits(std::uint64_t u) {
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

// Deterministic pseudo-random numbers (splitmix64), the same on every platform.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

std::string lf(double v) {
    char buffer[kMaxLfChars + 1];
    const std::size_t n = formatLf(v, buffer);
    return std::string(buffer, n);
}

struct ReadCase {
    const char* text;
    double value;
    std::size_t taken;  // characters consumed, as the end pointer says
};

class ParseDecimalGrammar : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ParseDecimalGrammar, ReadsLongestNumberPrefix) {
    const ReadCase& c = GetParam();
    const char* end = nullptr;
    const double v = parseDecimal(c.text, c.text + std::strlen(c.text), &end);
    EXPECT_EQ(bitsOf(v), bitsOf(c.value)) << "text \"" << c.text << "\" read " << v;
    EXPECT_EQ(static_cast<std::size_t>(end - c.text), c.taken) << "text \"" << c.text << "\"";
    EXPECT_EQ(bitsOf(parseDecimal(c.text)), bitsOf(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalGrammar,
    ::testing::Values(ReadCase{"12", 12.0, 2}, ReadCase{" \t\n\v\f\r7", 7.0, 7},
                      ReadCase{"+3", 3.0, 2}, ReadCase{"-3", -3.0, 2}, ReadCase{"-0", -0.0, 2},
                      ReadCase{".5", 0.5, 2}, ReadCase{"5.", 5.0, 2}, ReadCase{"-.25x", -0.25, 4},
                      ReadCase{".", 0.0, 0}, ReadCase{"-", 0.0, 0}, ReadCase{"+.", 0.0, 0},
                      ReadCase{"  x", 0.0, 0}, ReadCase{"", 0.0, 0}, ReadCase{"1e5", 1e5, 3},
                      ReadCase{"1E+2", 100.0, 4}, ReadCase{"25e-1", 2.5, 5}, ReadCase{"1e", 1.0, 1},
                      ReadCase{"1e+", 1.0, 1}, ReadCase{"1e-x", 1.0, 1}, ReadCase{".e5", 0.0, 0},
                      ReadCase{"0x10", 0.0, 1}, ReadCase{"inf", 0.0, 0},
                      ReadCase{"-infinity", 0.0, 0}, ReadCase{"nan", 0.0, 0},
                      ReadCase{"NAN(1)", 0.0, 0}, ReadCase{"12abc", 12.0, 2},
                      ReadCase{"1.2.3", 1.2, 3}, ReadCase{"--1", 0.0, 0}, ReadCase{"+-1", 0.0, 0},
                      ReadCase{"- 1", 0.0, 0}, ReadCase{"4\r\n", 4.0, 1}, ReadCase{"1,5", 1.0, 1},
                      ReadCase{"0001.5000", 1.5, 9}, ReadCase{"1e0005", 1e5, 6}));

TEST(ParseDecimal, StopsAtTheGivenEndEvenWithinANumber) {
    const char text[] = "123456";
    const char* end = nullptr;
    EXPECT_EQ(parseDecimal(text, text + 3, &end), 123.0);
    EXPECT_EQ(end, text + 3);
    EXPECT_EQ(parseDecimal(text, text, &end), 0.0);
    EXPECT_EQ(end, text);
}

struct RoundCase {
    const char* text;
    std::uint64_t bits;
};

class ParseDecimalRounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(ParseDecimalRounding, GivesTheNearestDouble) {
    const RoundCase& c = GetParam();
    const double v = parseDecimal(c.text);
    EXPECT_EQ(bitsOf(v), c.bits) << c.text << " read " << v;
}

INSTANTIATE_TEST_SUITE_P(
    HardCases, ParseDecimalRounding,
    ::testing::Values(RoundCase{"0.1", 0x3fb999999999999aULL},
                      RoundCase{"0.3", 0x3fd3333333333333ULL},
                      RoundCase{"1e23", 0x44b52d02c7e14af6ULL},
                      RoundCase{"2.2250738585072011e-308", 0x000fffffffffffffULL},
                      RoundCase{"2.2250738585072012e-308", 0x0010000000000000ULL},
                      RoundCase{"4.9406564584124654e-324", 0x0000000000000001ULL},
                      RoundCase{"3e-324", 0x0000000000000001ULL},
                      RoundCase{"8.5e-323", 0x0000000000000011ULL},
                      RoundCase{"123456789012345678901234567890", 0x45f8ee90ff6c373eULL},
                      RoundCase{"1.7976931348623158e308", 0x7fefffffffffffffULL}));

TEST(ParseDecimal, RoundsOnEveryDigitOfAVeryLongNumber) {
    // 2^53 + 1 lies exactly between two doubles; a 1 four hundred digits further on decides.
    const std::string tie = "9007199254740993." + std::string(383, '0');
    EXPECT_EQ(parseDecimal((tie + "1").c_str()), 9007199254740994.0);
    EXPECT_EQ(parseDecimal(tie.c_str()), 9007199254740992.0);  // a true tie goes to even
    const std::string longFraction = "0." + std::string(398, '3');
    EXPECT_EQ(bitsOf(parseDecimal(longFraction.c_str())), bitsOf(1.0 / 3.0));
}

TEST(ParseDecimal, OverflowGivesInfinityAndUnderflowGivesZero) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(parseDecimal("1e999"), inf);
    EXPECT_EQ(parseDecimal("-1e999"), -inf);
    EXPECT_EQ(parseDecimal("1.7976931348623159e308"), inf);
    EXPECT_EQ(parseDecimal("0.000001e315"), inf);  // 1e309
    EXPECT_EQ(parseDecimal("1e99999999999999999999"), inf);
    const double tiny = parseDecimal("1e-999");
    EXPECT_EQ(tiny, 0.0);
    EXPECT_FALSE(std::signbit(tiny));
    const double negativeTiny = parseDecimal("-2e-324");
    EXPECT_EQ(negativeTiny, 0.0);
    EXPECT_TRUE(std::signbit(negativeTiny));
    EXPECT_EQ(parseDecimal("1000e-326"), fromBits(0x0000000000000002ULL));  // stays subnormal
    EXPECT_EQ(parseDecimal("0.0000000000001e300"), 1e287);  // leading zeros are no overflow
    const char text[] = "1e999 rest";
    const char* end = nullptr;
    parseDecimal(text, text + std::strlen(text), &end);
    EXPECT_EQ(end, text + 5);
}

#ifndef _WIN32
// glibc's strtod rounds correctly; on decimal texts it must agree bit for bit.
TEST(ParseDecimal, AgreesWithStrtodOnGeneratedDecimals) {
    Random random{42};
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        if (random.below(2)) text += random.below(2) ? '-' : '+';
        const int whole = random.below(25);
        for (int d = 0; d < whole; ++d) text += static_cast<char>('0' + random.below(10));
        if (random.below(2)) {
            text += '.';
            const int fraction = random.below(25);
            for (int d = 0; d < fraction; ++d) text += static_cast<char>('0' + random.below(10));
        }
        if (random.below(2)) {
            text += random.below(2) ? 'e' : 'E';
            if (random.below(2)) text += random.below(2) ? '-' : '+';
            text += std::to_string(random.below(700));
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

struct FormatCase {
    double value;
    const char* text;
};

class FormatLfTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLfTable, WritesSixFixedDecimals) {
    EXPECT_EQ(lf(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatLfTable,
    ::testing::Values(FormatCase{0.0, "0.000000"}, FormatCase{-0.0, "-0.000000"},
                      FormatCase{-1e-9, "-0.000000"}, FormatCase{200.0, "200.000000"},
                      FormatCase{-4010.0, "-4010.000000"}, FormatCase{0.1234565, "0.123456"},
                      FormatCase{0.0000005, "0.000000"}, FormatCase{2.5e-7, "0.000000"},
                      FormatCase{0.0000015, "0.000002"}, FormatCase{0.0078125, "0.007812"},
                      FormatCase{0.0234375, "0.023438"}, FormatCase{-0.0546875, "-0.054688"},
                      FormatCase{12345.0078125, "12345.007812"}, FormatCase{0.9999995, "1.000000"},
                      FormatCase{0.99999949, "0.999999"},
                      FormatCase{1e22, "10000000000000000000000.000000"},
                      FormatCase{1e23, "99999999999999991611392.000000"},
                      FormatCase{9007199254740993.0, "9007199254740992.000000"},
                      FormatCase{89.99999999999991, "90.000000"},
                      FormatCase{1.5707963269, "1.570796"}));

TEST(FormatLf, WritesTheExtremesInFull) {
    const std::string largest = lf(std::numeric_limits<double>::max());
    EXPECT_EQ(largest.size(), 309u + 7u);
    EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
    EXPECT_EQ(largest.substr(largest.size() - 7), ".000000");
    EXPECT_EQ(lf(-std::numeric_limits<double>::max()).size(), kMaxLfChars);
    EXPECT_EQ(lf(std::numeric_limits<double>::denorm_min()), "0.000000");
    EXPECT_EQ(lf(-std::numeric_limits<double>::denorm_min()), "-0.000000");
}

#ifndef _WIN32
// glibc's printf is the reference; Windows' printf rounds differently, which is why the
// program never uses it.
TEST(FormatLf, MatchesGlibcPrintfOnNumbersOfEveryMagnitude) {
    Random random{7};
    char expected[400];
    auto check = [&](double v) {
        std::snprintf(expected, sizeof expected, "%lf", v);
        ASSERT_EQ(lf(v), expected) << "bits " << std::hex << bitsOf(v);
    };
    for (int i = 0; i < 20000; ++i) {
        // Any finite double, whatever its exponent.
        std::uint64_t u = random.next();
        if (((u >> 52) & 0x7ff) == 0x7ff) u ^= 1ULL << 62;
        check(fromBits(u));
        // The magnitudes drawings actually hold, where the sixth decimal matters.
        const double scale = std::pow(10.0, random.below(24) - 9);
        check((static_cast<double>(random.next() >> 11) / 9007199254740992.0 - 0.5) * scale);
    }
    for (int k = -300; k < 300; ++k) {
        // Exact binary ties at the seventh decimal and the decimal near-ties beside them.
        check((2 * k + 1) / 128.0);
        check((2 * k + 1) * 5e-7);
        check(k * 1.0000005);
        check(std::ldexp(1.0, k));
    }
}
#endif

TEST(FormatLf, NonFiniteValuesGiveWords) {
    EXPECT_EQ(lf(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(lf(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(lf(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(lf(-std::numeric_limits<double>::quiet_NaN()), "nan");
}

}  // namespace
