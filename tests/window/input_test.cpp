// The wheel, the middle button and the keys, posted as the system would post them and taken
// through the message loop's own routing; and the readout of what would be written.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app_win.h"
#include "app/loop_input_win.h"
#include "app/middle_pan_win.h"
#include "app/texts.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

// The message loop's way: keys and the wheel are routed before anything is dispatched.
void pumpAsLoop() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitSeen = true;
            continue;
        }
        if (routeLoopInput(app(), message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

POINT screenAtCanvas(int x, int y) {
    POINT p{x, y};
    ClientToScreen(app().canvas.window, &p);
    return p;
}

// A wheel turn as the system posts it: to the focused window, with the pointer's screen position.
void wheel(int delta, POINT screen) {
    PostMessageA(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    pumpAsLoop();
}

void key(WPARAM virtualKey, bool shift = false, bool ctrl = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, virtualKey, 1);
    PostMessageA(GetFocus(), WM_KEYUP, virtualKey, 0xC0000001);
    pumpAsLoop();
    keys[VK_SHIFT] = 0;
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

void middle(UINT message, WPARAM buttons, int x, int y) {
    SendMessageA(mainWindow, message, buttons, atCanvas(x, y));
}

// The button's pixels as on the screen.
std::vector<uint32_t> onScreen(HWND button) {
    RECT r{};
    GetClientRect(button, &r);
    UpdateWindow(button);
    Dib shown(r.right, r.bottom);
    HDC dc = GetDC(button);
    BitBlt(shown.dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(button, dc);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) pixels.push_back(shown.at(x, y));
    return pixels;
}

class Input : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        SetForegroundWindow(mainWindow);
        setView(1.0, 0, 0);
        app().wheel = WheelZoom{};
    }
    void TearDown() override {
        app().pan = PanDrag{};
        app().wheel = WheelZoom{};
        SetFocus(mainWindow);
        WindowTest::TearDown();
    }
};

TEST_F(Input, WheelZoomsTheCanvasUnderThePointerWhereverTheFocusIs) {
    HWND edit = app().panel.rows[kRowMoveX].valueEdit;
    SetFocus(edit);
    const std::string text = windowText(edit);
    const POINT over = screenAtCanvas(100, 80);
    wheel(60, over);
    EXPECT_EQ(app().view.scale, 1.0) << "half a notch does nothing yet";
    wheel(60, over);
    EXPECT_EQ(app().view.scale, 1.0 / 1.25);
    const Point2 world = app().view.screenToWorld(100, 80);
    wheel(240, over);
    EXPECT_EQ(app().view.scale, 1.0 / 1.25 / 1.25 / 1.25);
    const Point2 at = app().view.worldToScreen(world.x, world.y);
    EXPECT_NEAR(at.x, 100, 1.0);
    EXPECT_NEAR(at.y, 80, 1.0);
    EXPECT_EQ(windowText(edit), text);
    EXPECT_EQ(GetFocus(), edit);
    wheel(-120, over);
    app().view.previousView();
    EXPECT_EQ(app().view.scale, 1.0) << "the run is one step for PREVIOUS";

    // Over the panel nothing happens, not even to the focused slider under the pointer.
    HWND slider = app().panel.rows[kRowScaleX].slider;
    SetFocus(slider);
    RECT r{};
    GetWindowRect(slider, &r);
    const double scale = app().view.scale;
    wheel(-240, {r.left + 50, r.top + 10});
    wheel(360, {r.left + 50, r.top + 10});
    EXPECT_EQ(app().view.scale, scale);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 100);
}

TEST_F(Input, AWheelRunEndsAfterAPauseOrAKeyOrAClickAndWaitsForADrag) {
    const POINT over = screenAtCanvas(100, 80);
    // Timed notches, taken through the loop's routing as they come out of the queue.
    auto notchAt = [&](DWORD time) {
        const MSG m{mainWindow,
                    WM_MOUSEWHEEL,
                    MAKEWPARAM(0, 120),
                    MAKELPARAM(static_cast<WORD>(over.x), static_cast<WORD>(over.y)),
                    time,
                    over};
        EXPECT_TRUE(routeLoopInput(app(), m));
    };
    notchAt(1000);
    notchAt(1499);
    notchAt(2000);
    app().view.previousView();
    EXPECT_EQ(app().view.scale, 1.0 / 1.25 / 1.25) << "the pause ended the run";

    // A key, a click: each ends the run.
    auto clickCanvas = [] {
        PostMessageA(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, atCanvas(300, 200));
        PostMessageA(mainWindow, WM_LBUTTONUP, 0, atCanvas(300, 200));
        pumpAsLoop();
    };
    for (void (*other)() : {+[] { key(VK_SHIFT); }, +clickCanvas}) {
        setView(1.0, 0, 0);
        app().wheel = WheelZoom{};
        wheel(120, over);
        other();
        wheel(120, over);
        app().view.previousView();
        EXPECT_EQ(app().view.scale, 1.0 / 1.25);
    }

    // During a middle-button drag and a two-button gesture the wheel does nothing.
    setView(1.0, 0, 0);
    app().wheel = WheelZoom{};
    middle(WM_MBUTTONDOWN, MK_MBUTTON, 200, 150);
    middle(WM_MOUSEMOVE, MK_MBUTTON, 210, 150);
    wheel(120, over);
    EXPECT_EQ(app().view.scale, 1.0);
    middle(WM_MOUSEMOVE, MK_MBUTTON, 220, 150);
    middle(WM_MBUTTONUP, 0, 220, 150);
    app().view.previousView();
    EXPECT_EQ(std::tuple(app().view.scale, app().view.offsetX), std::tuple(1.0, 0));
    mouse(WM_LBUTTONDOWN, 100, 100);
    mouse(WM_RBUTTONDOWN, 100, 100);
    wheel(-120, over);
    EXPECT_EQ(app().view.scale, 1.0);
    mouse(WM_RBUTTONUP, 100, 100);
    mouse(WM_LBUTTONUP, 100, 100);
}

TEST_F(Input, MiddleDragPansPixelForPixelAndKeepsOutOfTheGesture) {
    middle(WM_MBUTTONDOWN, MK_MBUTTON, 200, 150);
    EXPECT_EQ(GetCapture(), mainWindow);
    middle(WM_MOUSEMOVE, MK_MBUTTON, 230, 130);
    EXPECT_EQ(std::pair(app().view.offsetX, app().view.offsetY), std::pair(-30, 20));
    // The other buttons do nothing meanwhile, their releases included.
    mouse(WM_LBUTTONDOWN, 230, 130);
    mouse(WM_RBUTTONDOWN, 230, 130);
    EXPECT_EQ(app().mouse.gestureActive, 0);
    middle(WM_MOUSEMOVE, MK_MBUTTON | MK_LBUTTON, 231, 131);
    middle(WM_MBUTTONUP, 0, 231, 131);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(app().mouse.captured, 0);
    mouse(WM_LBUTTONUP, 231, 131);
    mouse(WM_RBUTTONUP, 231, 131);
    EXPECT_EQ(std::pair(app().view.offsetX, app().view.offsetY), std::pair(-31, 19));
    app().view.previousView();
    EXPECT_EQ(std::pair(app().view.offsetX, app().view.offsetY), std::pair(0, 0));

    // During a two-button gesture the middle button does nothing.
    mouse(WM_LBUTTONDOWN, 100, 100);
    mouse(WM_RBUTTONDOWN, 100, 100);
    middle(WM_MBUTTONDOWN, MK_MBUTTON | MK_LBUTTON | MK_RBUTTON, 100, 100);
    EXPECT_EQ(app().pan.active, 0);
    middle(WM_MBUTTONUP, MK_LBUTTON | MK_RBUTTON, 100, 100);
    mouse(WM_RBUTTONUP, 100, 100);
    mouse(WM_LBUTTONUP, 100, 100);  // "MOVE" on the start pixel
    EXPECT_EQ(app().mouse.captured, 0);
    EXPECT_EQ(app().view.offsetX, 100 - halfWidth());
}

TEST_F(Input, TabWalksThePanelInReadingOrderAndKeysReachTheControls) {
    std::vector<HWND> order;
    for (const ParameterRowControls& row : app().panel.rows) {
        order.push_back(row.valueEdit);
        if (row.unitButton) order.push_back(row.unitButton);
        order.push_back(row.slider);
    }
    order.push_back(app().panel.basePointButton);
    order.push_back(app().panel.lastValuesButton);
    order.push_back(app().panel.keepAttributesBox);
    order.push_back(app().panel.completeButton);
    app().settings.settings.hasLast = true;  // something stored: the button can be pressed
    app().panel.enableLastValues(app().settings.hasLastValues());
    SetFocus(mainWindow);
    key(VK_TAB);
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_EQ(GetFocus(), order[i]) << "stop " << i;
        key(VK_TAB);
    }
    EXPECT_EQ(GetFocus(), order[0]) << "wraps around";
    SetFocus(order[1]);  // as a click does: the button looks as it always did
    const std::vector<uint32_t> plain = onScreen(order[1]);
    SetFocus(order[0]);
    EXPECT_EQ(onScreen(order[1]), plain);
    key(VK_TAB);
    EXPECT_NE(onScreen(order[1]), plain) << "a unit button reached with Tab shows it";
    key(VK_TAB);
    EXPECT_EQ(onScreen(order[1]), plain);
    SetFocus(order[0]);
    key(VK_TAB, true);
    EXPECT_EQ(GetFocus(), app().panel.completeButton) << "Shift+Tab goes back";
    for (int i = 0; i < 5; ++i) key(VK_TAB, true);  // check box, 前回値, 基点変更, slider
    EXPECT_EQ(GetFocus(), app().panel.rows[kRowCopies].valueEdit);
    DWORD from = 1, to = 0;
    SendMessageA(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(std::pair(from, to), std::pair(DWORD{0}, DWORD(windowText(GetFocus()).size())));

    // The focused slider's own keys, with the repaint and the percent boxes as by the mouse.
    key(VK_TAB);
    ASSERT_EQ(GetFocus(), app().panel.rows[kRowCopies].slider);
    const int repaints = canvasPaints();
    key(VK_LEFT);
    EXPECT_EQ(SendMessageA(GetFocus(), TBM_GETPOS, 0, 0), 99);
    EXPECT_EQ(windowText(app().panel.rows[kRowCopies].percentBox), "99%");
    EXPECT_GT(canvasPaints(), repaints);
    // Space presses a focused unit button.
    SetFocus(app().panel.rows[kRowMoveX].unitButton);
    key(VK_SPACE);
    EXPECT_EQ(app().model.inputs.moveUnitFactor[0], 1000);
}

TEST_F(Input, TabGoesOnFromWhereAControlOutsideTheWalkLies) {
    struct Case {
        HWND from;
        bool backward;
        HWND to;
    };
    const ParameterRowControls* rows = app().panel.rows;
    const Case cases[] = {
        {rows[kRowMoveX].percentBox, false, rows[kRowMoveY].valueEdit},
        {rows[kRowMoveY].percentBox, true, rows[kRowMoveY].slider},
        {rows[kRowCopies].percentBox, false, app().panel.basePointButton},
        {app().strip.scaleButton, false, rows[kRowMoveX].valueEdit},
        {app().strip.scaleButton, true, app().panel.completeButton},
        // "前回値" with nothing stored is passed over.
        {app().panel.basePointButton, false, app().panel.keepAttributesBox},
        {app().panel.keepAttributesBox, true, app().panel.basePointButton},
        {app().panel.completeButton, true, app().panel.keepAttributesBox},
    };
    app().settings.settings.hasLast = false;
    app().panel.enableLastValues(app().settings.hasLastValues());
    for (const Case& c : cases) {
        SetFocus(c.from);
        key(VK_TAB, c.backward);
        EXPECT_EQ(GetFocus(), c.to) << windowText(c.from) << (c.backward ? " back" : "");
    }
}

// Records the characters that reach the control procedure it stands in front of.
std::vector<WPARAM> charsSeen;
WNDPROC spiedProc = nullptr;
LRESULT CALLBACK charSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) charsSeen.push_back(wParam);
    return CallWindowProcA(spiedProc, window, message, wParam, lParam);
}

TEST_F(Input, EnterLeavesNoCharacterForAnEditToBeepAt) {
    // A clicked percent box.
    HWND box = app().panel.rows[kRowAngle].percentBox;
    const std::string text = windowText(box);
    spiedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(charSpy)));
    charsSeen.clear();
    SetFocus(box);
    key(VK_RETURN);
    key(VK_RETURN);
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spiedProc));
    EXPECT_EQ(charsSeen, std::vector<WPARAM>{});
    EXPECT_EQ(windowText(box), text);

    // The scale dialog's edit: Enter applies, and its character goes nowhere.
    SendMessageA(app().strip.strip, WM_COMMAND, MAKEWPARAM(kScaleButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().strip.scaleButton));
    ASSERT_TRUE(IsWindowVisible(app().scaleDialog.popup));
    SetFocus(app().scaleDialog.edit);
    SetWindowTextA(app().scaleDialog.edit, "7");
    spiedProc = app().scaleDialog.previousEditProc;
    app().scaleDialog.previousEditProc = charSpy;
    charsSeen.clear();
    key(VK_RETURN);
    app().scaleDialog.previousEditProc = spiedProc;
    EXPECT_EQ(charsSeen, std::vector<WPARAM>{});
    EXPECT_EQ(app().view.scale, 7.0);
    EXPECT_FALSE(IsWindowVisible(app().scaleDialog.popup));
}

TEST_F(Input, EnterInAValueBoxDoesNothing) {
    HWND edit = app().panel.rows[kRowAngle].valueEdit;
    SetFocus(edit);
    const std::string text = windowText(edit);
    MSG down{edit, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    MSG typed{edit, WM_CHAR, '\r', 1, 0, {}};
    EXPECT_TRUE(routeLoopInput(app(), down));
    EXPECT_TRUE(routeLoopInput(app(), typed));
    key(VK_RETURN);
    EXPECT_EQ(windowText(edit), text);
    // The scale dialog's edit keeps its Enter.
    MSG dialog{app().scaleDialog.edit, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_FALSE(routeLoopInput(app(), dialog));
}

TEST_F(Input, EscapeAsksToCloseAndInTheScaleDialogHidesIt) {
    SetFocus(app().panel.rows[kRowScaleY].valueEdit);
    {
        BoxAnswerer answerer({{text::kConfirm, IDNO}});
        key(VK_ESCAPE);
        answerer.finish();
        ASSERT_TRUE(answerer.seen()[0].found) << "the close question was asked";
        EXPECT_EQ(answerer.seen()[0].text, text::kQuitQuestion);
    }
    EXPECT_FALSE(quitSeen);
    EXPECT_TRUE(IsWindow(mainWindow));

    const double scale = app().view.scale;
    SendMessageA(app().strip.strip, WM_COMMAND, MAKEWPARAM(kScaleButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().strip.scaleButton));
    ASSERT_TRUE(IsWindowVisible(app().scaleDialog.popup));
    SetFocus(app().scaleDialog.edit);
    SetWindowTextA(app().scaleDialog.edit, "7");
    key(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(app().scaleDialog.popup));
    EXPECT_EQ(app().view.scale, scale) << "not applied";
    EXPECT_FALSE(quitSeen);
}

// Escape while picking ends the pick with the base point from before it (pressing "基点変更"
// twice changes nothing of that); only then does Escape ask to close, with No the default.
TEST_F(Input, EscapeEndsAPickAndOtherwiseAsksWithNoAsTheDefault) {
    app().model.setBase(5, -5);
    SetFocus(mainWindow);
    BoxAnswerer answerer({{text::kConfirm, IDNO}});
    for (int press = 0; press < 2; ++press) {
        SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(kBasePointButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(app().panel.basePointButton));
        mouse(WM_MOUSEMOVE, halfWidth() + 40 + press, halfHeight());
    }
    ASSERT_TRUE(app().picking);
    key(VK_ESCAPE);
    EXPECT_FALSE(app().picking);
    EXPECT_EQ(std::pair(app().model.copies.baseX, app().model.copies.baseY), std::pair(5.0, -5.0));
    EXPECT_STREQ(app().strip.hint, "");
    mouse(WM_MOUSEMOVE, halfWidth() + 60, halfHeight());
    EXPECT_EQ(app().model.copies.baseX, 5.0) << "the base point no longer follows the pointer";
    // Had the first Escape asked, its box would have been answered before the key returned.
    EXPECT_FALSE(answerer.seen()[0].found) << "nothing asked while picking";
    key(VK_ESCAPE);
    answerer.finish();
    ASSERT_TRUE(answerer.seen()[0].found);
    EXPECT_EQ(answerer.seen()[0].text, text::kQuitQuestion);
    EXPECT_EQ(answerer.seen()[0].defaultButton, IDNO);
    EXPECT_TRUE(IsWindow(mainWindow));
}

// Home fits the view to the figure and every copy; in a value box Home is the box's own and
// Ctrl+Home fits.
TEST_F(Input, HomeFitsTheFigureAndItsCopies) {
    const char* const texts[6] = {"300", "-200", "90", "1.0", "1.0", "10"};
    const int sliders[6] = {100, 100, 0, 100, 100, 100};
    setRows(texts, sliders);
    const double before = app().view.scale;
    SetFocus(app().panel.rows[kRowMoveX].valueEdit);
    key(VK_HOME);
    EXPECT_EQ(app().view.scale, before) << "the value box's own Home";
    key(VK_HOME, false, true);
    EXPECT_NE(app().view.scale, before);
    app().view.previousView();
    SetFocus(mainWindow);
    key(VK_HOME);
    // The copies reach (98.5 + 3000, -1.5 - 2000): every corner of them on the canvas.
    for (const auto& [x, y] : {std::pair(-1.5, 48.5), std::pair(3098.5, -2001.5)}) {
        const Point2 p = app().view.worldToScreen(x, y);
        EXPECT_TRUE(p.x >= 0 && p.x < canvasWidth() && p.y >= 0 && p.y < canvasHeight())
            << x << "," << y << " at " << p.x << "," << p.y;
    }
}

// The readout's pixels (the copies' colour) left of the scale button, as on the screen.
std::vector<bool> readoutOnScreen(RECT& area) {
    RECT strip{};
    GetClientRect(app().strip.strip, &strip);
    GetWindowRect(app().strip.scaleButton, &area);
    MapWindowPoints(HWND_DESKTOP, app().strip.strip, reinterpret_cast<POINT*>(&area), 2);
    area = {140, 0, area.left, strip.bottom};
    UpdateWindow(app().strip.strip);
    Dib shown(strip.right, strip.bottom);
    HDC dc = GetDC(app().strip.strip);
    BitBlt(shown.dc(), 0, 0, strip.right, strip.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(app().strip.strip, dc);
    std::vector<bool> mask;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) mask.push_back(shown.at(x, y) == kCopyBlue);
    return mask;
}

// The same text drawn as the readout should be: right-aligned 8 pixels before the button.
std::vector<bool> readoutReference(const std::string& line, const RECT& area) {
    Dib d(area.right, area.bottom);
    d.fill(kWhite);
    HGDIOBJ previous = SelectObject(d.dc(), app().font.get());
    SIZE extent{};
    GetTextExtentPoint32A(d.dc(), line.c_str(), static_cast<int>(line.size()), &extent);
    SetBkMode(d.dc(), TRANSPARENT);
    SetTextColor(d.dc(), RGB(50, 50, 255));
    TextOutA(d.dc(), area.right - 8 - extent.cx, 5, line.c_str(), static_cast<int>(line.size()));
    SelectObject(d.dc(), previous);
    std::vector<bool> mask;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) mask.push_back(d.at(x, y) == kCopyBlue);
    return mask;
}

std::string readout(int copies, long long elements) {
    return std::string(text::kOutputBefore) + std::to_string(copies) + text::kOutputMiddle +
           std::to_string(elements) + text::kOutputAfter;
}

TEST_F(Input, ReadoutFollowsEveryEditOfTheCopies) {
    // The figure: two segments, a polyline of two, a point and a circle: 6 elements a copy.
    RECT area{};
    pump();
    auto expectShown = [&](int copies, long long elements) {
        const std::vector<bool> shown = readoutOnScreen(area);
        EXPECT_GT(std::count(shown.begin(), shown.end(), true), 50) << copies;
        EXPECT_EQ(shown, readoutReference(readout(copies, elements), area)) << copies;
    };
    expectShown(20, 120);
    setRowText(kRowCopies, "7");
    pump();
    expectShown(7, 42);
    moveSlider(kRowCopies, 50);
    pump();
    expectShown(3, 18);
    setRowText(kRowCopies, "9999999");  // the clamped count
    pump();
    expectShown(100000, 600000);
    setRowText(kRowCopies, "");
    pump();
    expectShown(0, 0);
    // Where the completion would refuse to write, the readout says so instead of a count.
    setRowText(kRowCopies, "6");  // 3 at the slider's 50 %
    setRowText(kRowScaleX, "1e200");
    pump();
    const std::vector<bool> refused = readoutOnScreen(area);
    EXPECT_EQ(refused, readoutReference(text::kOutputNotWritable, area));
    setRowText(kRowScaleX, "1.0");
    pump();
    expectShown(3, 18);
}

}  // namespace
