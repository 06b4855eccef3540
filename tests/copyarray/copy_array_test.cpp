#include "copyarray/copy_array.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "copyarray/int_pow.h"

namespace {

// Rows: move x, move y, angle, scale x, scale y, copies.
CopyInputs inputs(const char* move, int moveSlider, const char* angle, int angleSlider,
                  const char* scaleX, const char* scaleY, const char* copies,
                  int copiesSlider = 100) {
    CopyInputs in;
    in.setText(kRowMoveX, move);
    in.setText(kRowMoveY, "999");
    in.setText(kRowAngle, angle);
    in.setText(kRowScaleX, scaleX);
    in.setText(kRowScaleY, scaleY);
    in.setText(kRowCopies, copies);
    const int sliders[kRowCount] = {moveSlider, 0, angleSlider, 100, 100, copiesSlider};
    std::memcpy(in.rowSlider, sliders, sizeof sliders);
    return in;
}

Point2 copyOf(const CopyParameters& p, int k, double x, double y, double bx = 0, double by = 0) {
    CopyArray array;
    array.baseX = bx;
    array.baseY = by;
    array.buildCopyMatrix(p, k);
    return array.matrix.transformPoint(x, y);
}

TEST(EvaluateCopyParameters, StartUpSlidersKeepOnlyTheHorizontalMove) {
    const CopyParameters p =
        evaluateCopyParameters(inputs("200", 100, "45", 0, "1.0", "1.0", "20"));
    EXPECT_EQ(p.moveX, 200.0);
    EXPECT_EQ(p.moveY, 0.0);
    EXPECT_EQ(p.angle, 0.0);
    EXPECT_EQ(p.scaleX, 1.0);
    EXPECT_EQ(p.scaleY, 1.0);
    EXPECT_EQ(p.copies, 20);
    EXPECT_FALSE(p.copiesClamped);
    for (int k : {1, 2, 20}) {
        const Point2 q = copyOf(p, k, 3, 4);
        EXPECT_EQ(q.x, 3 + 200.0 * k);
        EXPECT_EQ(q.y, 4.0);
    }
}

TEST(EvaluateCopyParameters, ProductsAreFormedLeftToRight) {
    // (0.7 x 25) x 0.01 and 0.7 x (25 x 0.01) differ in the last bit; the written digits follow.
    CopyInputs in = inputs("0.7", 25, "0", 0, "0.7", "1", "1");
    in.rowSlider[kRowScaleX] = 25;
    const CopyParameters p = evaluateCopyParameters(in);
    EXPECT_EQ(p.scaleX, 0.17500000000000002);
    EXPECT_EQ(p.moveX, 0.17500000000000002);
}

TEST(EvaluateCopyParameters, AngleUsesTheTenDecimalDegreeFactor) {
    const CopyParameters p = evaluateCopyParameters(inputs("0", 0, "90", 50, "1", "1", "3"));
    EXPECT_EQ(p.angle, 90.0 * 50 * 0.01745329252111111 * 0.01);
    EXPECT_GT(p.angle, std::atan(1.0));  // a hair more than 45 degrees
    EXPECT_LT(p.angle, std::atan(1.0) + 1e-9);
    // Copy 2 turns (1, 0) clockwise by twice that about the base point.
    const Point2 q = copyOf(p, 2, 11, 0, 10, 0);
    EXPECT_NEAR(q.x, 10 + std::cos(2 * p.angle), 1e-15);
    EXPECT_NEAR(q.y, -std::sin(2 * p.angle), 1e-15);

    CopyInputs radians = inputs("0", 0, "1.5", 100, "1", "1", "3");
    radians.angleUnitFactor = kRadianFactor;
    EXPECT_EQ(evaluateCopyParameters(radians).angle, 1.5);
}

TEST(EvaluateCopyParameters, MetresAreAThousandMillimetres) {
    CopyInputs metres = inputs("0.2", 100, "0", 0, "1", "1", "1");
    metres.moveUnitFactor[0] = kMoveFactorMetres;
    const CopyParameters m = evaluateCopyParameters(metres);
    EXPECT_DOUBLE_EQ(m.moveX,
                     evaluateCopyParameters(inputs("200", 100, "0", 0, "1", "1", "1")).moveX);

    CopyInputs vertical = inputs("0", 0, "0", 0, "1", "1", "1");
    vertical.setText(kRowMoveY, "1.5");
    vertical.rowSlider[kRowMoveY] = 40;
    vertical.moveUnitFactor[1] = kMoveFactorMetres;
    EXPECT_DOUBLE_EQ(evaluateCopyParameters(vertical).moveY, 600.0);
}

struct CountCase {
    const char* text;
    int slider;
    int copies;
    bool clamped;
};

class CopyCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(CopyCount, TruncatesTowardZeroAndClamps) {
    const CountCase& c = GetParam();
    const CopyParameters p =
        evaluateCopyParameters(inputs("1", 100, "0", 0, "1", "1", c.text, c.slider));
    EXPECT_EQ(p.copies, c.copies) << c.text << " at " << c.slider;
    EXPECT_EQ(p.copiesClamped, c.clamped) << c.text << " at " << c.slider;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CopyCount,
    ::testing::Values(
        CountCase{"20", 100, 20, false}, CountCase{"7", 50, 3, false},
        CountCase{"20", 33, 6, false}, CountCase{"20", 4, 0, false}, CountCase{"20", 5, 1, false},
        CountCase{"20", 0, 0, false}, CountCase{"", 100, 0, false}, CountCase{"abc", 100, 0, false},
        CountCase{"12abc", 100, 12, false}, CountCase{"-5", 100, 0, false},
        CountCase{"-1e300", 100, 0, false}, CountCase{"1e999", 100, 0, false},
        CountCase{"100000", 100, 100000, false}, CountCase{"200000", 50, 100000, false},
        CountCase{"100001", 100, 100000, true}, CountCase{"2147483648", 100, 100000, true},
        CountCase{"1e300", 100, 100000, true},
        CountCase{"1e307", 100, 100000, true}));  // the product overflows

TEST(EvaluateCopyParameters, TextsThatAreNotNumbersOrNotFiniteCountAsZero) {
    const CopyParameters p =
        evaluateCopyParameters(inputs("x12", 100, "1e999", 100, "-1e999", "", "5"));
    EXPECT_EQ(p.moveX, 0.0);
    EXPECT_EQ(p.angle, 0.0);
    EXPECT_EQ(p.scaleX, 0.0);
    EXPECT_EQ(p.scaleY, 0.0);
    EXPECT_EQ(rowValue("0x10"), 0.0);
    EXPECT_EQ(rowValue("  -12.5mm"), -12.5);
    EXPECT_EQ(rowValue("inf"), 0.0);

    // A value box holds 127 characters: the 128th is never read.
    const std::string longText = std::string(127, '0') + "5";
    CopyInputs in;
    in.setText(kRowCopies, longText.c_str());
    EXPECT_EQ(std::strlen(in.rowText[kRowCopies]), 127u);
    EXPECT_EQ(rowValue(in.rowText[kRowCopies]), 0.0);
}

TEST(BuildCopyMatrix, ScalesCompoundAboutTheBasePoint) {
    const CopyParameters p = evaluateCopyParameters(inputs("0", 0, "0", 0, "2", "1", "2"));
    EXPECT_EQ(copyOf(p, 1, 11, 0, 10, 0).x, 12.0);
    EXPECT_EQ(copyOf(p, 2, 11, 0, 10, 0).x, 14.0);
    EXPECT_EQ(copyOf(p, 3, 11, 7, 10, 0).y, 7.0);

    const CopyParameters mirror = evaluateCopyParameters(inputs("0", 0, "0", 0, "-1", "1", "4"));
    for (int k = 1; k <= 4; ++k) {
        const Point2 q = copyOf(mirror, k, 7, 3, 5, 0);
        EXPECT_EQ(q.x, k % 2 ? 3.0 : 7.0) << "copy " << k;
        EXPECT_EQ(q.y, 3.0);
    }
}

TEST(BuildCopyMatrix, BasePointOfCopyKMovesByKTimesTheMove) {
    CopyInputs in = inputs("30", 100, "25", 100, "1.5", "0.5", "5");
    in.setText(kRowMoveY, "-4");
    in.rowSlider[kRowMoveY] = 100;
    const CopyParameters p = evaluateCopyParameters(in);
    for (int k = 1; k <= 5; ++k) {
        const Point2 q = copyOf(p, k, 3, 8, 3, 8);
        EXPECT_NEAR(q.x, 3 + 30.0 * k, 1e-12);
        EXPECT_NEAR(q.y, 8 - 4.0 * k, 1e-12);
    }
    // The move itself is neither turned nor scaled; the rest of the figure is.
    const Point2 q = copyOf(p, 2, 4, 8, 3, 8);
    const double u = 1.5 * 1.5;
    EXPECT_NEAR(q.x, 3 + u * std::cos(2 * p.angle) + 60, 1e-12);
    EXPECT_NEAR(q.y, 8 - u * std::sin(2 * p.angle) - 8, 1e-12);

    const CopyStep step = copyStep(p, 3);
    EXPECT_EQ(step.scaleX, 3.375);
    EXPECT_EQ(step.scaleY, 0.125);
}

TEST(BuildCopyMatrix, ZeroScaleCollapsesOntoTheMovedBasePoint) {
    const CopyParameters p = evaluateCopyParameters(inputs("10", 100, "30", 100, "0", "0", "2"));
    for (double x : {-5.0, 0.0, 42.0}) {
        const Point2 q = copyOf(p, 2, x, x + 1, 1, 2);
        EXPECT_NEAR(q.x, 21.0, 1e-15);
        EXPECT_NEAR(q.y, 2.0, 1e-15);
    }
}

std::uint64_t bitsOf(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

TEST(IntPow, ExactCases) {
    for (int k = 0; k <= 1023; ++k) ASSERT_EQ(intPow(2.0, k), std::ldexp(1.0, k)) << k;
    EXPECT_EQ(intPow(2.0, 1024), std::numeric_limits<double>::infinity());
    EXPECT_EQ(intPow(0.5, 1074), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(intPow(0.5, 1100), 0.0);

    double powerOfThree = 1;
    for (int k = 0; k <= 33; ++k, powerOfThree *= 3) {
        EXPECT_EQ(intPow(1.5, k), std::ldexp(powerOfThree, -k)) << k;
        EXPECT_EQ(intPow(-3.0, k), k % 2 ? -powerOfThree : powerOfThree) << k;
    }
    EXPECT_EQ(intPow(1.5, 20), 3486784401.0 / 1048576.0);

    const double tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    for (int k = 0; k <= 22; ++k) EXPECT_EQ(intPow(10.0, k), tens[k]) << k;

    for (int k = 1; k <= 6; ++k) EXPECT_EQ(intPow(-1.0, k), k % 2 ? -1.0 : 1.0);
    EXPECT_EQ(intPow(-2.0, 3), -8.0);
    EXPECT_EQ(intPow(-1.5, 20), intPow(1.5, 20));
}

TEST(IntPow, ZeroOneAndSpecialValues) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.1, -7.3, 1e300, std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::denorm_min(), -2.2250738585072014e-308})
        EXPECT_EQ(bitsOf(intPow(x, 1)), bitsOf(x)) << x;
    for (double x : {0.0, -0.0, 5.0, inf, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(intPow(x, 0), 1.0);
    EXPECT_EQ(bitsOf(intPow(0.0, 5)), bitsOf(0.0));
    EXPECT_EQ(bitsOf(intPow(-0.0, 3)), bitsOf(-0.0));
    EXPECT_EQ(bitsOf(intPow(-0.0, 2)), bitsOf(0.0));
    EXPECT_EQ(intPow(10.0, 400), inf);
    EXPECT_EQ(intPow(-10.0, 401), -inf);
    EXPECT_EQ(intPow(1e200, 2), inf);
    EXPECT_EQ(intPow(0.1, 400), 0.0);
    EXPECT_EQ(intPow(-inf, 3), -inf);
    EXPECT_TRUE(std::isnan(intPow(std::numeric_limits<double>::quiet_NaN(), 2)));
}

// glibc's pow, computed once natively; the program must give these bits on every platform.
struct PowCase {
    double x;
    int k;
    std::uint64_t bits;
};

TEST(IntPow, MatchesGlibcPowBits) {
    const PowCase table[] = {
        {1.1, 20, 0x401ae8f5bf28c7d7ULL},     {0.9, 37, 0x3f94c31dc5657068ULL},
        {1.01, 100, 0x4005a3756ed91268ULL},   {3.7, 13, 0x41773a83a6bee82fULL},
        {-1.3, 7, 0xc0191972b95b0003ULL},     {1.0000001, 1000, 0x3ff00068dce2f15dULL},
        {0.7, 3, 0x3fd5f3b645a1cabfULL},      {1.05, 1000, 0x4454f4df186a0bf5ULL},
        {2.5, 300, 0x58b7e43c8800759cULL},    {0.3, 17, 0x3e162fa4f993ece4ULL},
        {1.2, 5, 0x4003e81450efdc9bULL},      {-0.8, 12, 0x3fb19799812dea14ULL},
        {7.77, 99, 0x523c83508232c888ULL},    {1.000001, 100000, 0x3ff1aec7a4840aefULL},
        {0.999, 5000, 0x3f7b8798c0f74e0cULL}, {1.1, 7, 0x3fff2df1fb5a7ed7ULL},
        {1.1, 3, 0x3ff54bc6a7ef9db4ULL},      {0.1, 2, 0x3f847ae147ae147cULL},
        {0.1, 3, 0x3f50624dd2f1a9fdULL},      {123.456, 11, 0x44b5807507e79dc5ULL},
    };
    for (const PowCase& c : table) EXPECT_EQ(bitsOf(intPow(c.x, c.k)), c.bits) << c.x << "^" << c.k;
}

TEST(IntPow, RoundsCorrectlyWhereGlibcPowDoesNot) {
    // The exact value lies 0.49983 ulp from this double (checked with rational arithmetic);
    // glibc's pow gives the neighbour above in magnitude.
    EXPECT_EQ(bitsOf(intPow(-2.6433560558684137, 9)), 0xc0b89ce07a6007fdULL);
}

#ifndef _WIN32
// glibc's pow is not always correctly rounded near ties, so the two may differ by one ulp,
// rarely; anything more is a fault.
TEST(IntPow, StaysWithinOneUlpOfGlibcPow) {
    std::uint64_t state = 12345;
    int differ = 0;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double x = (static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5) * 6;
        const int k = 1 + static_cast<int>((state >> 3) % 120);
        const double mine = intPow(x, k), glibc = std::pow(x, k);
        if (mine == glibc) continue;
        ++differ;
        ASSERT_EQ(std::nextafter(mine, glibc), glibc) << x << "^" << k;
    }
    EXPECT_LT(differ, 100);
}
#endif

}  // namespace

namespace {

TEST(CopyArray, DrawingMatrixHasTheValuesOfTheFullProduct) {
    uint64_t state = 0x2545F4914F6CDD1Dull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
    };
    for (int i = 0; i < 500; ++i) {
        CopyParameters p;
        p.moveX = next() * 1000.0;
        p.moveY = i % 3 ? next() * 10.0 : 0.0;
        p.angle = i % 4 ? next() * 7.0 : 0.0;
        p.scaleX = i % 5 ? 1.0 + next() : 1.0;
        p.scaleY = i % 7 ? 1.0 + next() : -1.0;
        p.copies = 30;
        CopyArray full, drawing;
        full.baseX = drawing.baseX = i % 2 ? next() * 100.0 : 0.0;
        full.baseY = drawing.baseY = next() * 100.0;
        CopySteps steps(p);
        for (int k = 1; k <= p.copies; ++k) {
            const CopyStep step = steps.next();
            full.buildCopyMatrix(p, step);
            drawing.buildDrawingMatrix(p, step);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(drawing.matrix.m[r][c], full.matrix.m[r][c]) << i << " copy " << k;
        }
    }
}

}  // namespace
