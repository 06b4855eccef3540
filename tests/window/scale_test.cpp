// The scale button in the status bar and the scale dialog behind it.

#include <windows.h>

#include <utility>
#include <vector>

#include "app/app_win.h"
#include "app/loop_input_win.h"
#include "app/panel_values.h"
#include "figure/decimal.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr int kButtonWidth = 60, kButtonHeight = 16;

// The text pixels (black) inside a button-sized picture: the background the button's device
// context brings does not matter, the glyphs do.
std::vector<bool> textMask(const Dib& d) {
    std::vector<bool> mask;
    for (int y = 1; y < d.height() - 1; ++y)
        for (int x = 1; x < d.width() - 1; ++x) mask.push_back(d.at(x, y) == kBlack);
    return mask;
}

std::vector<bool> referenceMask(const char* text) {
    Dib d(kButtonWidth, kButtonHeight);
    drawLabelReference(d, text);
    return textMask(d);
}

// What the scale button shows on the screen now.
std::vector<bool> scaleButtonOnScreen() {
    UpdateWindow(app().strip.scaleButton);  // the paint the message loop would do next
    Dib shown(kButtonWidth, kButtonHeight);
    HDC dc = GetDC(app().strip.scaleButton);
    BitBlt(shown.dc(), 0, 0, kButtonWidth, kButtonHeight, dc, 0, 0, SRCCOPY);
    ReleaseDC(app().strip.scaleButton, dc);
    return textMask(shown);
}

void clickScaleButton() {
    SendMessageA(app().strip.strip, WM_COMMAND, MAKEWPARAM(28, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().strip.scaleButton));
}

void typeScale(const char* text) {
    SetWindowTextA(app().scaleDialog.edit, text);
}
void pressEnter() {
    SendMessageA(app().scaleDialog.edit, WM_KEYDOWN, VK_RETURN, 0);
}
void pressOk() {
    SendMessageA(app().scaleDialog.popup, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().scaleDialog.okButton));
}
std::string editText() {
    return windowText(app().scaleDialog.edit);
}
bool dialogShown() {
    return IsWindowVisible(app().scaleDialog.popup) != FALSE;
}
std::string offered() {
    char text[kRowTextSize];
    formatScaleText(app().view.scale, text);
    return text;
}

// A wheel notch over the middle of the canvas, routed as the message loop does.
void wheelNotch(int delta) {
    POINT at{halfWidth(), halfHeight()};
    ClientToScreen(app().canvas.window, &at);
    MSG message{};
    message.hwnd = GetFocus();
    message.message = WM_MOUSEWHEEL;
    message.wParam = MAKEWPARAM(0, static_cast<WORD>(delta));
    message.lParam = MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
    message.time = GetTickCount();
    routeLoopInput(app(), message);
}

class Scale : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        const char* const texts[6] = {"120", "0", "90", "1.0", "1.0", "0"};
        const int sliders[6] = {100, 0, 0, 100, 100, 100};
        setRows(texts, sliders);
    }
};

TEST_F(Scale, ButtonShowsXAndTheScaleCutAfterTwoDecimals) {
    ASSERT_NE(referenceMask("X 0.12"), referenceMask("X 0.13"));
    const struct {
        double scale;
        const char* shown;
    } cases[] = {{0.125, "X 0.12"}, {12.3456, "X 12.34"}, {2.5, "X 2.50"}, {100000, "X 100000.00"}};
    for (const auto& c : cases) {
        app().view.scale = c.scale;
        Dib drawn(kButtonWidth, kButtonHeight);
        drawOwnerButton(drawn, 28, false);
        EXPECT_EQ(textMask(drawn), referenceMask(c.shown)) << c.shown;
    }
}

TEST_F(Scale, ButtonOnScreenFollowsAZoom) {
    setView(0.0625, 0, 0);
    showScale(app());
    EXPECT_EQ(scaleButtonOnScreen(), referenceMask("X 0.06"));
    // ZOOM OUT with both buttons: twice the units per pixel.
    const int x = halfWidth(), y = halfHeight();
    mouse(WM_RBUTTONDOWN, x, y);
    mouse(WM_LBUTTONDOWN, x, y);
    mouse(WM_LBUTTONUP, x - 30, y - 30);
    mouse(WM_RBUTTONUP, x - 30, y - 30);
    EXPECT_EQ(app().view.scale, 0.125);
    EXPECT_EQ(scaleButtonOnScreen(), referenceMask("X 0.12"));
}

TEST_F(Scale, ButtonOpensTheDialogWithTheCurrentScale) {
    setView(1.25, 0, 0);
    EXPECT_FALSE(dialogShown());
    clickScaleButton();
    EXPECT_TRUE(dialogShown());
    EXPECT_EQ(editText(), "1.25");
    // Clicked again while open: what was typed is replaced by the scale.
    typeScale("7");
    clickScaleButton();
    EXPECT_TRUE(dialogShown());
    EXPECT_EQ(editText(), "1.25");
}

TEST_F(Scale, DialogRefusesWhatIsNotAPositiveNumber) {
    setView(1.25, 3, -4);
    const ViewMapping before = app().view;
    clickScaleButton();
    for (const char* text : {"abc", "-1", "0", "", "-0.5", "1-2", "1/0", "0/0", "(-1)*3"}) {
        for (bool enter : {true, false}) {
            SCOPED_TRACE(std::string("\"") + text + (enter ? "\" and Enter" : "\" and OK"));
            typeScale(text);
            enter ? pressEnter() : pressOk();
            EXPECT_EQ(app().view.scale, 1.25);
            EXPECT_TRUE(dialogShown());
            EXPECT_EQ(editText(), "1.25");
        }
    }
    EXPECT_EQ(app().view.offsetX, before.offsetX);
    EXPECT_EQ(app().view.homeScale, before.homeScale);
}

TEST_F(Scale, DialogAppliesAPositiveNumberAndRedrawsAtOnce) {
    setView(1.25, 0, 0);
    app().view.savedOffsetX = 11;
    app().view.savedOffsetY = 12;
    app().view.savedScale = 13.0;
    const double home = app().view.homeScale;
    clickScaleButton();
    typeScale("2.5");
    pressEnter();
    EXPECT_EQ(app().view.scale, 2.5);
    EXPECT_FALSE(dialogShown());
    EXPECT_EQ(app().view.offsetX, 0);
    EXPECT_EQ(app().view.offsetY, 0);
    EXPECT_EQ(app().view.savedOffsetX, 11);
    EXPECT_EQ(app().view.savedOffsetY, 12);
    EXPECT_EQ(app().view.savedScale, 13.0);
    EXPECT_EQ(app().view.homeScale, home);
    // The point (10, 20) is drawn at 2.5 units per pixel already, and the button says so.
    const int cx = halfWidth() + 4, cy = halfHeight() - 8;
    EXPECT_EQ(countPixels(kBlack, cx - 3, cy - 3, cx + 4, cy + 4), 21);
    EXPECT_EQ(scaleButtonOnScreen(), referenceMask("X 2.50"));

    // The OK button does the same; SHOW ALL still returns to the fitted scale.
    clickScaleButton();
    typeScale("0.5");
    pressOk();
    EXPECT_EQ(app().view.scale, 0.5);
    EXPECT_FALSE(dialogShown());
    const int x = halfWidth(), y = halfHeight();
    mouse(WM_RBUTTONDOWN, x, y);
    mouse(WM_LBUTTONDOWN, x, y);
    mouse(WM_LBUTTONUP, x + 20, y - 20);
    mouse(WM_RBUTTONUP, x + 20, y - 20);
    EXPECT_EQ(app().view.scale, home);
}

TEST_F(Scale, DialogTakesArithmeticAndFullWidthForms) {
    const std::pair<const char*, double> cases[] = {
        {"5/2", 2.5}, {" (1+2) * 0.5 ", 1.5}, {"3abc", 3}, {"\x82\x50\x81\x5e\x82\x53", 0.25}};
    for (const auto& [text, scale] : cases) {
        setView(1.25, 0, 0);
        clickScaleButton();
        typeScale(text);
        pressOk();
        EXPECT_EQ(app().view.scale, scale) << text;
        EXPECT_FALSE(dialogShown()) << text;
    }
}

// Below 0.01 two cut decimals would show "0.00": the dialog shows the digits the scale needs.
// OK on the text as shown keeps the scale exactly, also where two cut decimals show it.
TEST_F(Scale, DialogTextAsShownKeepsTheScale) {
    setView(0.005, 0, 0);
    clickScaleButton();
    EXPECT_EQ(editText(), "0.005");
    for (double scale : {0.005, 0.00001, 0.0012345678901234567, 0.00999999, 0.01, 1.23456}) {
        setView(scale, 0, 0);
        clickScaleButton();
        if (scale < 0.01) {
            EXPECT_EQ(parseDecimal(editText().c_str()), scale) << editText();
        }
        pressOk();
        EXPECT_FALSE(dialogShown()) << scale;
        EXPECT_EQ(app().view.scale, scale);
    }
}

TEST_F(Scale, DialogClampsToTheZoomLimits) {
    setView(1.25, 0, 0);
    clickScaleButton();
    typeScale("1e9");
    pressEnter();
    EXPECT_EQ(app().view.scale, 100000.0);
    clickScaleButton();
    typeScale("0.000000001");
    pressOk();
    EXPECT_EQ(app().view.scale, 0.00001);
}

// While open, the dialog shows the scale of the view as it changes, except under the drafter's
// hands: a text of their own in the focused edit stays.
TEST_F(Scale, OpenDialogFollowsTheViewUnlessTheDrafterIsTyping) {
    setView(1.25, 0, 0);
    clickScaleButton();
    wheelNotch(120);
    EXPECT_EQ(app().view.scale, 1.0);
    EXPECT_EQ(editText(), offered());
    const int x = halfWidth(), y = halfHeight();  // ZOOM OUT
    mouse(WM_RBUTTONDOWN, x, y);
    mouse(WM_LBUTTONDOWN, x, y);
    mouse(WM_LBUTTONUP, x - 30, y - 30);
    mouse(WM_RBUTTONUP, x - 30, y - 30);
    EXPECT_EQ(app().view.scale, 2.0);
    EXPECT_EQ(editText(), "2.00");
    pressOk();
    EXPECT_EQ(app().view.scale, 2.0) << "OK on the followed text keeps the scale";

    clickScaleButton();
    SetFocus(app().scaleDialog.edit);
    wheelNotch(120);
    EXPECT_EQ(editText(), offered()) << "focused, but not changed by the drafter";
    typeScale("7");
    wheelNotch(-120);
    EXPECT_EQ(editText(), "7");
    SetFocus(mainWindow);
    wheelNotch(-120);
    EXPECT_EQ(editText(), offered()) << "left alone, the text is the view's again";
    SendMessageA(app().scaleDialog.popup, WM_CLOSE, 0, 0);
    const std::string shown = editText();
    wheelNotch(120);
    EXPECT_EQ(editText(), shown) << "a closed dialog is left alone";
}

TEST_F(Scale, CloseBoxHidesTheDialogWithoutApplying) {
    setView(1.25, 0, 0);
    clickScaleButton();
    typeScale("7");
    SendMessageA(app().scaleDialog.popup, WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialogShown());
    EXPECT_TRUE(IsWindow(app().scaleDialog.popup)) << "hidden, never destroyed";
    EXPECT_EQ(app().view.scale, 1.25);
}

}  // namespace
