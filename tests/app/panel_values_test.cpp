#include "app/panel_values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string cut(std::string text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    keepTwoDecimals(buffer.data());
    return buffer.data();
}

std::string box(double v, bool twoDecimals) {
    char out[kRowTextSize];
    std::memset(out, '#', sizeof out);
    formatBoxNumber(v, twoDecimals, out);
    EXPECT_NE(std::memchr(out, '\0', sizeof out), nullptr) << "terminated within the box";
    return out;
}

TEST(KeepTwoDecimals, CutsWithoutRounding) {
    EXPECT_EQ(cut("1234.5678"), "1234.56");
    EXPECT_EQ(cut("-0.999999"), "-0.99");
    EXPECT_EQ(cut("12.000000"), "12.00");
    EXPECT_EQ(cut("1.5"), "1.5");
    EXPECT_EQ(cut("7."), "7.");
    EXPECT_EQ(cut("42"), "42");
    EXPECT_EQ(cut(""), "");
    EXPECT_EQ(cut("1.2.3.4"), "1.2.");
    EXPECT_EQ(cut("X 12.3456"), "X 12.34");
    // Only a point among the first 125 characters counts.
    const std::string at124 = std::string(124, '1') + ".456";
    EXPECT_EQ(cut(at124), std::string(124, '1') + ".45");
    const std::string at125 = std::string(125, '1') + ".4567";
    EXPECT_EQ(cut(at125), at125);
}

TEST(FormatBoxNumber, FixedFormCutOrNot) {
    EXPECT_EQ(box(120.0, true), "120.00");
    EXPECT_EQ(box(1.5707963269, false), "1.570796");
    EXPECT_EQ(box(-0.02, true), "-0.02");
    EXPECT_EQ(box(-1e-9, true), "-0.00");
    EXPECT_EQ(box(std::numeric_limits<double>::infinity(), true), "0.00");
    EXPECT_EQ(box(std::numeric_limits<double>::quiet_NaN(), false), "0.000000");
}

TEST(FormatBoxNumber, HugeValuesStayWithinTheBox) {
    // The double nearest 1e120 needs 120 digits, 127 characters in all, and still fits;
    // its negative or 2e120 need 128 and are shown in exponent form.
    const std::string fits = box(1e120, false);
    EXPECT_EQ(fits.size(), 127u);
    EXPECT_EQ(fits.find('e'), std::string::npos);
    EXPECT_EQ(box(1e120, true), fits.substr(0, 123));
    for (double v : {-1e120, 2e120, 1e300, -1e300, std::numeric_limits<double>::max()}) {
        for (bool two : {false, true}) {
            const std::string text = box(v, two);
            EXPECT_LE(text.size(), 127u) << v;
            EXPECT_NE(text.find('e'), std::string::npos) << v;
        }
    }
    EXPECT_EQ(box(1e300, false), "1.000000e+300");
}

TEST(DefaultMoveRow, MillimetresUpTo10000ThenFlooredMetres) {
    struct Case {
        double distance;
        const char* text;
        int factor;
    };
    const Case cases[] = {
        {120, "120.00", 1},        {60, "60.00", 1},           {0, "0.00", 1},
        {1234.5678, "1234.56", 1}, {10000, "10000.00", 1},     {12000, "12.00", 1000},
        {10000.5, "10.00", 1000},  {12345.678, "12.34", 1000}, {1e300, "", 1000}};
    for (const Case& c : cases) {
        const MoveRowState row = defaultMoveRow(c.distance);
        EXPECT_EQ(row.unitFactor, c.factor) << c.distance;
        if (*c.text) {
            EXPECT_STREQ(row.text, c.text) << c.distance;
        }
        EXPECT_LE(std::strlen(row.text), 127u);
    }
}

TEST(ToggleMoveUnit, FloorsAtTheSecondDecimal) {
    char text[kRowTextSize] = "200.0";
    int factor = kMoveFactorMillimetres;
    toggleMoveUnit(text, factor);
    EXPECT_STREQ(text, "0.20");
    EXPECT_EQ(factor, kMoveFactorMetres);
    toggleMoveUnit(text, factor);
    EXPECT_STREQ(text, "200.00");
    EXPECT_EQ(factor, kMoveFactorMillimetres);

    struct Case {
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{"12.5", "0.01"}, Case{"-12.345", "-0.02"}, Case{"abc", "0.00"},
                          Case{"1e999", "0.00"}, Case{"9.99", "0.00"}}) {
        char t[kRowTextSize];
        std::strcpy(t, c.before);
        int f = kMoveFactorMillimetres;
        toggleMoveUnit(t, f);
        EXPECT_STREQ(t, c.after) << c.before;
    }

    char huge[kRowTextSize] = "1e200";
    int metres = kMoveFactorMetres;
    toggleMoveUnit(huge, metres);
    EXPECT_LE(std::strlen(huge), 127u);
    EXPECT_EQ(metres, kMoveFactorMillimetres);
}

TEST(ToggleAngleUnit, DegreesAndRadiansWithSixDecimals) {
    char text[kRowTextSize] = "90";
    double factor = kDegreeFactor;
    toggleAngleUnit(text, factor);
    EXPECT_STREQ(text, "1.570796");
    EXPECT_EQ(factor, kRadianFactor);
    toggleAngleUnit(text, factor);
    EXPECT_STREQ(text, "89.999981");
    EXPECT_EQ(factor, kDegreeFactor);
}

TEST(StartupInputs, PanelStateForAFigure) {
    const CopyInputs in = startupInputs(100, 50);
    EXPECT_STREQ(in.rowText[kRowMoveX], "120.00");
    EXPECT_STREQ(in.rowText[kRowMoveY], "60.00");
    EXPECT_STREQ(in.rowText[kRowAngle], "90");
    EXPECT_STREQ(in.rowText[kRowScaleX], "1.0");
    EXPECT_STREQ(in.rowText[kRowScaleY], "1.0");
    EXPECT_STREQ(in.rowText[kRowCopies], "20");
    const int sliders[kRowCount] = {100, 0, 0, 100, 100, 100};
    for (int r = 0; r < kRowCount; ++r) EXPECT_EQ(in.rowSlider[r], sliders[r]) << r;
    EXPECT_EQ(in.moveUnitFactor[0], kMoveFactorMillimetres);
    EXPECT_EQ(in.moveUnitFactor[1], kMoveFactorMillimetres);
    EXPECT_EQ(in.angleUnitFactor, kDegreeFactor);

    const CopyInputs wide = startupInputs(10000, 0);
    EXPECT_STREQ(wide.rowText[kRowMoveX], "12.00");
    EXPECT_EQ(wide.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_STREQ(wide.rowText[kRowMoveY], "0.00");
    // The panel's start-up values give 20 copies moved by the figure's width times 1.2.
    const CopyParameters p = evaluateCopyParameters(wide);
    EXPECT_DOUBLE_EQ(p.moveX, 12000.0);
    EXPECT_EQ(p.moveY, 0.0);
    EXPECT_EQ(p.angle, 0.0);
    EXPECT_EQ(p.copies, 20);
}

}  // namespace
