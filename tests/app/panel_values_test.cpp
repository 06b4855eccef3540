#include "app/panel_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

namespace {

std::string box(double v, bool twoDecimals) {
    char out[kRowTextSize];
    std::memset(out, '#', sizeof out);
    formatBoxNumber(v, twoDecimals, out);
    EXPECT_NE(std::memchr(out, '\0', sizeof out), nullptr) << "terminated within the box";
    return out;
}

TEST(KeepTwoDecimals, CutsTwoDigitsAfterTheFirstPointAmongTheFirst125Characters) {
    const std::string ones(124, '1');
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},      {"1.2.3.4", "1.2."},      {ones + ".456", ones + ".45"},
        {"7.", "7."},  {"X 12.3456", "X 12.34"}, {ones + "1.4567", ones + "1.4567"},
        {"42", "42"},  {"-0.999999", "-0.99"},   {"1234.5678", "1234.56"},
        {"1.5", "1.5"}};
    for (const auto& [text, kept] : cases) {
        std::string cut = text;
        keepTwoDecimals(cut.data());
        EXPECT_STREQ(cut.c_str(), kept.c_str()) << text;
    }
}

TEST(FormatBoxNumber, FixedFormCutOrNotAndExponentFormWhenTooLong) {
    EXPECT_EQ(box(120.0, true), "120.00");
    EXPECT_EQ(box(1.5707963269, false), "1.570796");
    EXPECT_EQ(box(-1e-9, true), "-0.00");
    EXPECT_EQ(box(-HUGE_VAL, true), "0.00");
    EXPECT_EQ(box(NAN, false), "0.000000");
    // The double nearest 1e120 takes 127 characters and fits; its negative does not.
    const std::string fits = box(1e120, false);
    EXPECT_EQ(fits.size(), 127u);
    EXPECT_EQ(box(1e120, true), fits.substr(0, 123));
    EXPECT_EQ(box(-1e120, true), "-1.000000e+120");
    EXPECT_EQ(box(2e120, false), "2.000000e+120");
    EXPECT_EQ(box(-1.7976931348623157e308, false), "-1.797693e+308");
}

TEST(MoveRow, MillimetresUpTo10000ThenMetresFlooredToHundredths) {
    const std::tuple<double, const char*, int> cases[] = {
        {120, "120.00", 1},         {0, "0.00", 1},         {1234.5678, "1234.56", 1},
        {10000, "10000.00", 1},     {12000, "12.00", 1000}, {10000.5, "10.00", 1000},
        {12345.678, "12.34", 1000}, {1e300, nullptr, 1000}};
    for (const auto& [distance, text, factor] : cases) {
        const MoveRowState row = defaultMoveRow(distance);
        EXPECT_EQ(row.unitFactor, factor) << distance;
        EXPECT_STREQ(row.text, text ? text : row.text) << distance;
        EXPECT_LE(std::strlen(row.text), 127u);
    }
    // The unit button converts the typed value with the digits it needs, two decimals at least;
    // a text that is not a finite number stays.
    const std::tuple<const char*, int, const char*> toggles[] = {
        {"200.0", 1, "0.20"},        {"0.20", 1000, "200.00"}, {"12.5", 1, "0.0125"},
        {"-12.345", 1, "-0.012345"}, {"abc", 1, "0.00"},       {"1e999", 1, "1e999"},
        {"9.99", 1, "0.00999"},      {"1e200", 1000, nullptr}, {"100*2", 1, "0.20"},
        {"(1+1)/8", 1000, "250.00"}, {"1/0", 1, "1/0"}};
    for (const auto& [before, factor, after] : toggles) {
        char text[kRowTextSize];
        std::strcpy(text, before);
        int unit = factor;
        toggleMoveUnit(text, unit);
        EXPECT_EQ(unit, factor == 1 ? 1000 : 1) << before;
        EXPECT_STREQ(text, after ? after : text) << before;
        EXPECT_LE(std::strlen(text), 127u);
    }
}

TEST(AngleRow, UnitButtonConvertsWithTheDigitsItNeeds) {
    char text[kRowTextSize] = "90";
    double factor = kDegreeFactor;
    toggleAngleUnit(text, factor);
    EXPECT_STREQ(text, "1.5707963269");  // the panel's ten-decimal pi over two
    EXPECT_EQ(factor, kRadianFactor);
    toggleAngleUnit(text, factor);
    EXPECT_STREQ(text, "90");
    EXPECT_EQ(factor, kDegreeFactor);
    // A calculation converts as its value does, and the number replaces it.
    std::strcpy(text, "180/2");
    toggleAngleUnit(text, factor);
    EXPECT_STREQ(text, "1.5707963269");
}

// There and back gives the number typed, and the value used stays what it was.
TEST(UnitSwitch, ThereAndBackGivesTheTypedNumber) {
    for (const char* typed : {"144", "15", "0.1", "-7.25", "123456.789", "1e-9", "1e150",
                              "0.333333333333333", "99999.9999999999"}) {
        char text[kRowTextSize];
        std::strcpy(text, typed);
        const double before = readRowText(kRowMoveX, text).value;
        int unit = kMoveFactorMillimetres;
        ASSERT_TRUE(toggleMoveUnit(text, unit));
        EXPECT_NEAR(readRowText(kRowMoveX, text).value * 1000.0, before, std::fabs(before) * 1e-14)
            << typed << " shown as " << text;
        ASSERT_TRUE(toggleMoveUnit(text, unit));
        EXPECT_EQ(readRowText(kRowMoveX, text).value, before) << typed << " back as " << text;
        std::strcpy(text, typed);
        double angle = kDegreeFactor;
        ASSERT_TRUE(toggleAngleUnit(text, angle));
        ASSERT_TRUE(toggleAngleUnit(text, angle));
        EXPECT_EQ(readRowText(kRowAngle, text).value, before) << typed << " back as " << text;
    }
    // A value the other unit cannot hold: nothing changes.
    char text[kRowTextSize] = "1e306";
    int unit = kMoveFactorMetres;
    EXPECT_FALSE(toggleMoveUnit(text, unit));
    EXPECT_EQ(unit, kMoveFactorMetres);
    EXPECT_STREQ(text, "1e306");
}

TEST(StartupInputs, PanelStateForAFigure) {
    const CopyInputs in = startupInputs(100, 10000);
    const char* texts[kRowCount] = {"120.00", "12.00", "90", "1.0", "1.0", "20"};
    const int sliders[kRowCount] = {100, 0, 0, 100, 100, 100};
    for (int r = 0; r < kRowCount; ++r) {
        EXPECT_STREQ(in.rowText[r], texts[r]) << r;
        EXPECT_EQ(in.rowSlider[r], sliders[r]) << r;
    }
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);
    EXPECT_EQ(in.moveUnitFactor[1], kMoveFactorMetres);
    EXPECT_EQ(in.angleUnitFactor, kDegreeFactor);
    // 20 copies moved by 1.2 times the width.
    const CopyParameters p = evaluateCopyParameters(in);
    EXPECT_DOUBLE_EQ(p.moveX, 120.0);
    EXPECT_EQ(p.moveY + p.angle, 0.0);
    EXPECT_EQ(p.copies, 20);
}

}  // namespace
