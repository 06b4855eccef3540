// The parameter panel driven as the user drives it: unit buttons, sliders, the copies box.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/app_win.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr int kMoveXUnit = 3, kMoveYUnit = 7, kAngleUnit = 11;

// A click on an owner-drawn unit button reaches the panel as WM_COMMAND from that button.
void clickUnit(int row, int id) {
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.rows[row].unitButton));
}

std::string rowText(int row) {
    return windowText(app().panel.rows[row].valueEdit);
}

// The unit button shows this label (the drawing compared with the label drawn by hand).
bool unitButtonShows(int id, const char* label) {
    Dib drawn(23, 18), expected(23, 18);
    drawOwnerButton(drawn, id, false);
    drawLabelReference(expected, label);
    return sameInside(drawn, expected);
}

using Panel = WindowTest;

TEST_F(Panel, OwnerButtonLabelsTellTheirTextsApart) {
    // The comparison used below must see a difference between the labels it tells apart.
    Dib a(23, 18), b(23, 18), c(23, 18);
    drawLabelReference(a, "mm");
    drawLabelReference(b, "m");
    drawLabelReference(c, "rad");
    EXPECT_FALSE(sameInside(a, b));
    EXPECT_FALSE(sameInside(a, c));
}

TEST_F(Panel, OwnerButtonEdgeLooksRaisedOrSunken) {
    const uint32_t white = rgb(255, 255, 255), grey = rgb(128, 128, 128);
    for (bool pressed : {false, true}) {
        SCOPED_TRACE(pressed ? "pressed" : "raised");
        Dib d(23, 18);
        drawOwnerButton(d, kMoveXUnit, pressed);
        const uint32_t a = pressed ? grey : white, b = pressed ? white : grey;
        EXPECT_EQ(d.at(0, 0), a);
        EXPECT_EQ(d.at(0, 8), a);
        EXPECT_EQ(d.at(11, 0), a);
        EXPECT_EQ(d.at(21, 0), a);
        EXPECT_EQ(d.at(0, 17), b);  // the second pen goes over the first one's corner
        EXPECT_EQ(d.at(11, 17), b);
        EXPECT_EQ(d.at(22, 17), b);
        EXPECT_EQ(d.at(22, 8), b);
        EXPECT_EQ(d.at(22, 0), b);
        EXPECT_EQ(d.at(20, 15), rgb(192, 192, 192)) << "light grey inside";
    }
}

TEST_F(Panel, MoveUnitButtonSwitchesBetweenMillimetresAndMetres) {
    setRowText(0, "200.0");
    clickUnit(0, kMoveXUnit);
    EXPECT_EQ(rowText(0), "0.20");
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], 1000);
    EXPECT_TRUE(unitButtonShows(kMoveXUnit, "m"));
    EXPECT_EQ(app().model.inputs.moveUnitFactor[1], 1) << "row 2 keeps its own unit";
    EXPECT_TRUE(unitButtonShows(kMoveYUnit, "mm"));
    clickUnit(0, kMoveXUnit);
    EXPECT_EQ(rowText(0), "200.00");
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], 1);
    EXPECT_TRUE(unitButtonShows(kMoveXUnit, "mm"));
}

// The converted text holds the value (two decimals at least), and the second press gives the
// number typed back: the copies stay where they were.
TEST_F(Panel, MoveUnitConversionKeepsTheValue) {
    setRowText(1, "12.5");
    clickUnit(1, kMoveYUnit);
    EXPECT_EQ(rowText(1), "0.0125");
    EXPECT_EQ(app().model.inputs.moveUnitFactor[1], 1000);
    EXPECT_TRUE(unitButtonShows(kMoveYUnit, "m"));
    clickUnit(1, kMoveYUnit);
    EXPECT_EQ(rowText(1), "12.50");
    setRowText(1, "-12.345");
    clickUnit(1, kMoveYUnit);
    EXPECT_EQ(rowText(1), "-0.012345");
    // 144 mm switched twice still moves the copies 144.
    clickUnit(1, kMoveYUnit);
    setRowText(1, "144");
    moveSlider(1, 100);
    const double moved = app().model.params.moveY;
    clickUnit(1, kMoveYUnit);
    EXPECT_EQ(rowText(1), "0.144");
    EXPECT_NEAR(app().model.params.moveY, moved, 1e-12);
    clickUnit(1, kMoveYUnit);
    EXPECT_EQ(rowText(1), "144.00");
    EXPECT_EQ(app().model.params.moveY, moved);
}

TEST_F(Panel, AngleUnitButtonSwitchesBetweenDegreesAndRadians) {
    setRowText(2, "90");
    clickUnit(2, kAngleUnit);
    EXPECT_EQ(rowText(2), "1.5707963269");
    EXPECT_EQ(app().model.inputs.angleUnitFactor, 1.0);
    EXPECT_TRUE(unitButtonShows(kAngleUnit, "rad"));
    clickUnit(2, kAngleUnit);
    EXPECT_EQ(rowText(2), "90");
    EXPECT_EQ(app().model.inputs.angleUnitFactor, 0.01745329252111111);
    EXPECT_TRUE(unitButtonShows(kAngleUnit, "度"));
}

TEST_F(Panel, ACommandFromAnotherControlChangesNoUnit) {
    setRowText(0, "200.0");
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(14, EN_UPDATE),
                 reinterpret_cast<LPARAM>(app().panel.rows[3].valueEdit));
    EXPECT_EQ(rowText(0), "200.0");
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], 1);
    EXPECT_EQ(app().model.inputs.moveUnitFactor[1], 1);
    EXPECT_EQ(app().model.inputs.angleUnitFactor, 0.01745329252111111);
}

TEST_F(Panel, MovingOneSliderRewritesAllSixPercentBoxes) {
    for (int r = 0; r < 6; ++r) SetWindowTextA(app().panel.rows[r].percentBox, "?");
    SendMessageA(app().panel.rows[3].slider, TBM_SETPOS, TRUE, 55);
    moveSlider(0, 37);
    const char* const expected[6] = {"37%", "0%", "0%", "55%", "100%", "100%"};
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(windowText(app().panel.rows[r].percentBox), expected[r]) << "row " << r + 1;
    EXPECT_EQ(controlsInputs().rowSlider[0], 37);
    EXPECT_EQ(controlsInputs().rowSlider[3], 55);
}

TEST_F(Panel, CopiesBoxTakesDigitsOnly) {
    HWND copies = app().panel.rows[5].valueEdit;
    setRowText(5, "20");
    SendMessageA(copies, EM_SETSEL, 2, 2);
    for (char c : {'a', '-', '.', ' ', 'x'})
        SendMessageA(copies, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(rowText(5), "20");
    SendMessageA(copies, WM_CHAR, '5', 0);
    EXPECT_EQ(rowText(5), "205");
    // The other value boxes take any text.
    HWND angle = app().panel.rows[2].valueEdit;
    setRowText(2, "9");
    SendMessageA(angle, EM_SETSEL, 1, 1);
    SendMessageA(angle, WM_CHAR, '.', 0);
    SendMessageA(angle, WM_CHAR, '5', 0);
    EXPECT_EQ(rowText(2), "9.5");
}

// Rows 1 to 5 scroll: a whole expression of 127 characters goes in key by key and counts;
// full-width forms, as the input method leaves them in the box, count as ASCII.
TEST_F(Panel, ValueBoxesTakeLongExpressionsAndFullWidthForms) {
    std::string sum = "1";
    while (sum.size() < 127) sum += "+1";
    for (int r = 0; r < 5; ++r) {
        HWND edit = app().panel.rows[r].valueEdit;
        setRowText(r, "");
        for (char c : sum) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
        EXPECT_EQ(rowText(r), sum) << "row " << r + 1;
        EXPECT_EQ(rowValue(controlsInputs().rowText[r]), 64.0) << "row " << r + 1;
    }
    setRowText(2, "\x82\x52\x82\x55\x82\x4f\x81\x5e\x82\x56");  // ３６０／７
    EXPECT_EQ(rowValue(controlsInputs().rowText[2]), 360.0 / 7.0);
    EXPECT_EQ(rowText(2), "\x82\x52\x82\x55\x82\x4f\x81\x5e\x82\x56");  // kept as typed
}

TEST_F(Panel, ReadBackTakesTextsSlidersAndUnitsAsShown) {
    const char* const texts[6] = {"12.5", "-3", "45", "2.0", "0.5", "7"};
    const int sliders[6] = {10, 20, 30, 40, 50, 60};
    setRows(texts, sliders);
    clickUnit(1, kMoveYUnit);
    clickUnit(2, kAngleUnit);
    const CopyInputs in = controlsInputs();
    const char* const shown[6] = {"12.5", "-0.003", "0.78539816345", "2.0", "0.5", "7"};
    for (int r = 0; r < 6; ++r) {
        EXPECT_STREQ(in.rowText[r], shown[r]) << "row " << r + 1;
        EXPECT_EQ(in.rowSlider[r], sliders[r]) << "row " << r + 1;
    }
    EXPECT_EQ(in.moveUnitFactor[0], 1);
    EXPECT_EQ(in.moveUnitFactor[1], 1000);
    EXPECT_EQ(in.angleUnitFactor, 1.0);
}

}  // namespace

namespace {

// The unit button's label on the screen, once the message loop has painted it: its glyphs
// (the black pixels) are those of the label drawn by hand; the background the button's device
// context brings does not matter.
bool unitButtonOnScreenShows(int row, const char* label) {
    HWND button = app().panel.rows[row].unitButton;
    UpdateWindow(button);
    Dib shown(23, 18), expected(23, 18);
    HDC dc = GetDC(button);
    BitBlt(shown.dc(), 0, 0, 23, 18, dc, 0, 0, SRCCOPY);
    ReleaseDC(button, dc);
    drawLabelReference(expected, label);
    for (int y = 1; y < 17; ++y)
        for (int x = 1; x < 22; ++x)
            if ((shown.at(x, y) == kBlack) != (expected.at(x, y) == kBlack)) return false;
    return true;
}

// A drawing 7.8 m wide lying at x = 30 m starts with its horizontal move in metres: the button
// beside it says so from the first paint, as the value does.
TEST_F(Panel, UnitButtonsShowTheStartUpUnits) {
    ASSERT_TRUE(restartProgram(" 30000 0 37800 1000\r\n"));
    EXPECT_EQ(rowText(kRowMoveX), "45.36");
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], kMoveFactorMetres);
    EXPECT_TRUE(unitButtonOnScreenShows(kRowMoveX, "m"));
    EXPECT_FALSE(unitButtonOnScreenShows(kRowMoveX, "mm"));
    EXPECT_TRUE(unitButtonOnScreenShows(kRowMoveY, "mm"));
    ASSERT_TRUE(restartProgram());
}

}  // namespace
