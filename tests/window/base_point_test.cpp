// "基点変更" and base-point picking: the hint, the pick mode, and where left and right clicks
// put the base point.

#include <windows.h>

#include <cstring>

#include "app/app_win.h"
#include "app/texts.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

constexpr char kHint[] = "右クリックで頂点、原点に吸着します。";

void pressBasePointButton() {
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(26, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.basePointButton));
}

// A plain click with one button at a canvas pixel.
void click(bool right, int x, int y) {
    mouse(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, x, y);
    mouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, x, y);
}

// Dark (text) pixels that a window shows in the columns from x0 to x1.
int darkPixelsOnScreen(HWND window, int x0, int x1) {
    return countShown(window, x0, x1, [](uint32_t c) {
        return (c >> 16) < 100 && ((c >> 8) & 255) < 100 && (c & 255) < 100;
    });
}

// Dark (text) pixels that the status text strip shows right of the panel column.
int hintPixelsOnScreen() {
    return darkPixelsOnScreen(app().strip.strip, 140, 290);
}

void expectBase(double x, double y) {
    EXPECT_EQ(app().model.copies.baseX, x);
    EXPECT_EQ(app().model.copies.baseY, y);
}

class BasePoint : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        const char* const texts[6] = {"120", "0", "90", "1.0", "1.0", "0"};
        const int sliders[6] = {100, 0, 0, 100, 100, 100};
        setRows(texts, sliders);
        setView(1.0, 0, 0);
        hw = halfWidth();
        hh = halfHeight();
    }
    int hw = 0, hh = 0;
};

TEST_F(BasePoint, ButtonShowsTheHintAndStartsPickingAtThePointer) {
    EXPECT_EQ(hintPixelsOnScreen(), 0) << "no hint before";
    mouse(WM_MOUSEMOVE, hw + 33, hh + 44);
    expectBase(0, 0);  // not in pick mode: a move changes nothing
    pressBasePointButton();
    EXPECT_STREQ(app().strip.hint, kHint);
    EXPECT_EQ(app().picking, 1);
    expectBase(33, -44);
    EXPECT_GT(hintPixelsOnScreen(), 20) << "the hint shows in the status bar at once";
    mouse(WM_MOUSEMOVE, hw - 10, hh + 5);
    expectBase(-10, -5);
    // Pressed again while picking: the same state.
    pressBasePointButton();
    EXPECT_STREQ(app().strip.hint, kHint);
    EXPECT_EQ(app().picking, 1);
    expectBase(-10, -5);
}

TEST_F(BasePoint, RightReleaseSixPixelsFromASegmentEndSnapsToItExactly) {
    pressBasePointButton();
    click(true, hw + 66, hh - 20);  // 6 pixels right of the polyline's corner (60, 20)
    expectBase(60, 20);
    EXPECT_EQ(app().picking, 0);
    EXPECT_STREQ(app().strip.hint, "");
    EXPECT_EQ(hintPixelsOnScreen(), 0);
    EXPECT_EQ(GetCapture(), nullptr);

    pressBasePointButton();
    click(true, hw + 40, hh - 16);  // 6 pixels above the segment end (40, 10)
    expectBase(40, 10);
}

TEST_F(BasePoint, RightReleaseTwelvePixelsFromEveryVertexTakesTheReleasePoint) {
    pressBasePointButton();
    click(true, hw + 48, hh - 20);  // 12 pixels from (60, 20), farther from every other target
    expectBase(48, 20);
    EXPECT_EQ(app().picking, 0);
}

TEST_F(BasePoint, SnappingRadiusIsTenPixelsAtTheCurrentZoom) {
    setView(0.5, 0, 0);
    pressBasePointButton();
    click(true, hw + 120 + 12, hh - 40);  // 6 drawing units but 12 pixels from (60, 20)
    expectBase(66, 20);

    setView(2.0, 0, 0);
    pressBasePointButton();
    click(true, hw + 26, hh - 10);  // 8 drawing units but 4 pixels from (60, 20)
    expectBase(60, 20);
}

TEST_F(BasePoint, OriginIsACandidate) {
    pressBasePointButton();
    click(true, hw + 4, hh - 3);
    expectBase(0, 0);
}

TEST_F(BasePoint, CircleCentresAreCandidates) {
    pressBasePointButton();
    click(true, hw + 33, hh - 30);  // 3 pixels from the circle's centre (30, 30)
    expectBase(30, 30);
}

TEST_F(BasePoint, LeftReleaseNeverSnaps) {
    pressBasePointButton();
    click(false, hw + 63, hh - 20);  // 3 pixels from (60, 20)
    expectBase(63, 20);
    EXPECT_EQ(app().picking, 0);
    EXPECT_STREQ(app().strip.hint, "");
    EXPECT_EQ(hintPixelsOnScreen(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    // The small cross now marks the new base point.
    EXPECT_EQ(pixel(hw + 63 + 4, hh - 20), kRed);
    EXPECT_EQ(pixel(hw + 63, hh - 20 - 4), kRed);
}

TEST_F(BasePoint, ClicksOutsidePickModeOnlyClearTheHint) {
    app().model.copies.baseX = 5;
    app().model.copies.baseY = -5;
    for (bool right : {true, false}) {
        app().strip.setHint("x");
        click(right, hw + 62, hh - 20);
        expectBase(5, -5);
        EXPECT_STREQ(app().strip.hint, "") << (right ? "right" : "left");
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(BasePoint, PickingGoesOnThroughAGesture) {
    pressBasePointButton();
    const int sx = hw + 20, sy = hh + 20;
    mouse(WM_RBUTTONDOWN, sx, sy);
    mouse(WM_LBUTTONDOWN, sx, sy);
    mouse(WM_LBUTTONUP, sx, sy);
    mouse(WM_RBUTTONUP, sx, sy);  // a MOVE to (sx, sy), no base-point action
    EXPECT_EQ(app().picking, 1);
    EXPECT_STREQ(app().strip.hint, kHint);
    EXPECT_EQ(app().view.offsetX, 20);
    EXPECT_EQ(app().view.offsetY, 20);
    // The base point keeps following the pointer, now in the moved view.
    mouse(WM_MOUSEMOVE, hw, hh);
    expectBase(20, -20);
    click(false, hw, hh);
    expectBase(20, -20);
    EXPECT_EQ(app().picking, 0);
}

TEST_F(BasePoint, ReleaseOverThePanelOrOutsideTheWindowKeepsItsSign) {
    pressBasePointButton();
    click(false, -40, hh - 10);  // x = 100 in the main window: over the panel
    expectBase(-40 - hw, 10);
    // With the capture held, a release left of and above the main window: negative coordinates.
    pressBasePointButton();
    mouse(WM_LBUTTONDOWN, hw, hh);
    mouse(WM_LBUTTONUP, -150, -20);  // x = -10 in the main window
    expectBase(-150 - hw, hh + 20);
}

// A right click on "基点変更" opens the dialog with the base point; a typed "X, Y" (arithmetic,
// full-width forms) becomes the base point and ends a pick, and the status bar shows it. A
// text that is no base point is refused, the dialog's title saying why, and kept for mending.
TEST_F(BasePoint, TypedBasePoint) {
    const int shownBefore = darkPixelsOnScreen(app().strip.baseButton, 0, 140);
    mouse(WM_MOUSEMOVE, hw, hh);
    pressBasePointButton();
    SendMessageA(app().panel.panel, WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(app().panel.basePointButton), MAKELPARAM(-1, -1));
    ASSERT_TRUE(app().baseDialog.isOpen());
    HWND edit = app().baseDialog.edit;
    EXPECT_EQ(windowText(edit), "0, 0") << "the base point as the pick found it";
    SetWindowTextA(edit, "abc");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(app().baseDialog.isOpen());
    EXPECT_EQ(windowText(app().baseDialog.popup), text::kBaseWrong) << "its title says why";
    EXPECT_EQ(windowText(edit), "abc");
    EXPECT_EQ(app().picking, 1);
    SetWindowTextA(edit, "100/4\x81\x43 \x81\x7c\x82\x54\x82\x4f");  // 100/4， －５０
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(app().baseDialog.isOpen());
    expectBase(25, -50);
    EXPECT_EQ(app().picking, 0);
    EXPECT_STREQ(app().strip.hint, "");
    EXPECT_NE(darkPixelsOnScreen(app().strip.baseButton, 0, 140), shownBefore)
        << "the status bar shows it";
    // Opened from the status bar, OK on the offered text keeps the base point exactly.
    app().model.setBase(0.1 + 0.2, -1.0 / 3.0);
    SendMessageA(app().strip.strip, WM_COMMAND, MAKEWPARAM(kBaseButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().strip.baseButton));
    SendMessageA(app().baseDialog.popup, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().baseDialog.okButton));
    expectBase(0.1 + 0.2, -1.0 / 3.0);
}

// The marker and the snap mark lie over the copies and the figure.
TEST_F(BasePoint, MarkerAndSnapMarkOverTheCopies) {
    // Copy 1's polyline segment runs from (40, 20) to (70, 20), through the base point (50, 20).
    const char* const texts[6] = {"-20", "0", "90", "1.0", "1.0", "1"};
    const int sliders[6] = {100, 0, 0, 100, 100, 100};
    setRows(texts, sliders);
    app().model.setBase(50, 20);
    repaint();
    const int bx = hw + 50, by = hh - 20;
    EXPECT_EQ(pixel(bx + 8, by), kCopyBlue) << "the copy runs through the base point";
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(pixel(bx + k, by), kRed) << k;
    // Picking 3 pixels off the circle's centre (30, 30): a diamond around the centre, over the
    // circle's black outline.
    pressBasePointButton();
    mouse(WM_MOUSEMOVE, hw + 33, hh - 30);
    EXPECT_EQ(pixel(hw + 30, hh - 35), kRed) << "the diamond's top, on the circle";
    EXPECT_EQ(pixel(hw + 30, hh - 25), kRed) << "the diamond's bottom, on the circle";
    mouse(WM_MOUSEMOVE, hw + 150, hh - 100);
    EXPECT_NE(pixel(hw + 30, hh - 35), kRed) << "nothing in reach: no mark";
}

}  // namespace
