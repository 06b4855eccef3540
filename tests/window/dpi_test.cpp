// The window at the display's DPI: every size is its 96-DPI constant scaled (to within a pixel
// of the exact ratio), the preview's lines stay one pixel wide, the flow writes what the batch
// tool writes, and WM_DPICHANGED lays the window out again. The same tests run at 96 DPI with
// the others and at 144 and 192 DPI in prefixes of their own (tests/window/run_dpi.sh).

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "tests/window/window_harness.h"
#include "view/dpi_win.h"

using namespace harness;

namespace {

// The main window's client area at 96 DPI under Wine's default theme (outer 800 x 600).
constexpr SIZE kClient96{792, 573};

PixelBox boxOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// got is v96 at dpi: exactly as the helper rounds it, and within a pixel of the exact ratio.
void expectScaled(int got, int v96, int dpi, const std::string& what) {
    EXPECT_EQ(got, scaled(v96, dpi)) << what;
    EXPECT_LE(std::abs(got * 96 - v96 * dpi), 96) << what;
}

void expectBox(HWND window, PixelBox at96, int dpi, const std::string& what) {
    const PixelBox b = boxOf(window);
    expectScaled(b.x, at96.x, dpi, what + " x");
    expectScaled(b.y, at96.y, dpi, what + " y");
    expectScaled(b.w, at96.w, dpi, what + " width");
    expectScaled(b.h, at96.h, dpi, what + " height");
}

int fontHeight(HFONT font) {
    LOGFONTA f{};
    GetObjectA(font, sizeof f, &f);
    return f.lfHeight;
}

HFONT fontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

int cellHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

// Every size of the window at dpi, as the 96-DPI constants say.
void expectLayout(int dpi) {
    const PixelBox panel = boxOf(app().panel.panel);
    expectScaled(panel.w, 140, dpi, "panel width");
    for (int r = 0; r < 6; ++r) {
        const std::string row = "row " + std::to_string(r + 1) + " ";
        const int y = 5 + 70 * r;
        expectBox(app().panel.rows[r].valueEdit, {56, y, 53, 20}, dpi, row + "value edit");
        if (app().panel.rows[r].unitButton)
            expectBox(app().panel.rows[r].unitButton, {112, y + 1, 23, 18}, dpi,
                      row + "unit button");
        expectBox(app().panel.rows[r].slider, {0, y + 20, 103, 20}, dpi, row + "slider");
        expectBox(app().panel.rows[r].percentBox, {105, y + 20, 32, 17}, dpi, row + "percent box");
        EXPECT_EQ(fontOf(app().panel.rows[r].valueEdit), app().font.get()) << row;
    }
    expectBox(app().panel.basePointButton, {5, 420, 130, 20}, dpi, "base-point button");
    expectBox(app().panel.lastValuesButton, {5, 445, 130, 20}, dpi, "last-values button");
    expectBox(app().panel.keepAttributesBox, {5, 470, 130, 20}, dpi, "keep-attributes check box");
    const PixelBox complete = boxOf(app().panel.completeButton);
    expectScaled(complete.x, 5, dpi, "completion button x");
    expectScaled(complete.w, 130, dpi, "completion button width");
    expectScaled(complete.h, 20, dpi, "completion button height");
    EXPECT_EQ(complete.y + complete.h, panel.h) << "the completion button sits at the bottom";
    // The strip leaves the size grip free; the scale button sits before it.
    const SIZE bar = clientSize(app().strip.bar);
    const PixelBox strip = boxOf(app().strip.strip);
    EXPECT_EQ(strip.w, bar.cx - scaled(17, dpi));
    const PixelBox button = boxOf(app().strip.scaleButton);
    expectScaled(button.y, 3, dpi, "scale button y");
    expectScaled(button.w, 60, dpi, "scale button width");
    expectScaled(button.h, 16, dpi, "scale button height");
    EXPECT_EQ(button.x, std::max(static_cast<int>(bar.cx) - scaled(60, dpi) - scaled(17, dpi),
                                 scaled(300, dpi)));
    RECT popup{};
    GetWindowRect(app().scaleDialog.popup, &popup);
    expectScaled(popup.right - popup.left, 300, dpi, "scale dialog width");
    expectScaled(popup.bottom - popup.top, 50, dpi, "scale dialog height");
    expectBox(app().scaleDialog.okButton, {210, 5, 80, 20}, dpi, "scale dialog's OK");
    expectBox(app().scaleDialog.edit, {100, 5, 53, 20}, dpi, "scale dialog's edit");
    EXPECT_EQ(fontOf(app().scaleDialog.edit), app().font.get());
    expectScaled(fontHeight(app().font.get()), 12, dpi, "UI font height");
    EXPECT_LE(std::abs(cellHeight(app().font.get()) - scaled(12, dpi)), 1);
}

using Dpi = WindowTest;

TEST_F(Dpi, EverySizeIsItsConstantAt96ScaledToTheWindowsDpi) {
    const int dpi = windowDpi(mainWindow);
    if (const char* expected = std::getenv("ZOVREL_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix's LogPixels did not reach the program";
    }
    EXPECT_EQ(app().dpi, dpi);
    // Per-monitor awareness (2), as the manifest asks (Wine 8 reports it for every program).
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<GetAwareness>(reinterpret_cast<void (*)()>(
        GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (context && awareness) {
        EXPECT_EQ(awareness(context()), DPI_AWARENESS_PER_MONITOR_AWARE);
    }

    const RECT& w = startup.windowRect;
    expectScaled(w.left, 100, dpi, "start-up left");
    expectScaled(w.top, 100, dpi, "start-up top");
    // The client area scales; the frame around it is what the system draws at that DPI.
    EXPECT_LE(std::abs((w.right - w.left) * 96 - 800 * dpi), 96 * 8) << "start-up width";
    EXPECT_LE(std::abs((w.bottom - w.top) * 96 - 600 * dpi), 96 * 8) << "start-up height";
    const SIZE client = clientSize(mainWindow);
    EXPECT_LE(std::abs(client.cx * 96 - kClient96.cx * dpi), 96) << client.cx;
    EXPECT_LE(std::abs(client.cy * 96 - kClient96.cy * dpi), 96) << client.cy;
    expectLayout(dpi);
    std::printf("at %d DPI: window %ld x %ld, client %ld x %ld, status bar %ld high, font %d\n",
                dpi, w.right - w.left, w.bottom - w.top, client.cx, client.cy,
                clientSize(app().strip.bar).cy, cellHeight(app().font.get()));
}

// Pixels of a colour on a row or column of the picture, within [from, to).
int onRow(uint32_t colour, int y, int from, int to) {
    return countPixels(colour, from, y, to, y + 1);
}
int onColumn(uint32_t colour, int x, int from, int to) {
    return countPixels(colour, x, from, x + 1, to);
}

TEST_F(Dpi, AxesAndFigureLinesStayOnePixelWide) {
    setRowText(5, "0");  // the figure alone
    const ViewMapping& v = app().view;
    // Each axis crosses a row (column) near the edge in exactly one pixel.
    EXPECT_EQ(onRow(kGrey, 2, 0, canvasWidth()), 1);
    EXPECT_EQ(onColumn(kGrey, 2, 0, canvasHeight()), 1);
    // The polyline's horizontal segment (60, 20)-(90, 20) and its vertical one (90, 20)-(90, 40).
    const Point2 h = v.worldToScreen(75, 20);
    const Point2 u = v.worldToScreen(90, 30);
    const int hx = static_cast<int>(h.x), hy = static_cast<int>(h.y);
    const int ux = static_cast<int>(u.x), uy = static_cast<int>(u.y);
    EXPECT_EQ(onColumn(kBlack, hx, hy - 5, hy + 6), 1);
    EXPECT_EQ(onRow(kBlack, uy, ux - 5, ux + 6), 1);
}

void type(HWND edit, const char* text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
    UpdateWindow(app().canvas.window);
}

class DpiFlow : public WindowTest {
  protected:
    void TearDown() override {
        writeFile("JWC_TEMP.TXT", kFigureText);
        DeleteFileA("batch.txt");
        WindowTest::TearDown();
    }
};

TEST_F(DpiFlow, TypingSliderUnitBasePointAndCompletionWriteWhatTheBatchToolWrites) {
    type(app().panel.rows[0].valueEdit, "1000/7");
    moveSlider(2, 30);
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.rows[0].unitButton));  // mm -> m
    type(app().panel.rows[5].valueEdit, "7");
    const std::string moveX = windowText(app().panel.rows[0].valueEdit);
    // A right click a few pixels off the point element (10, 20) snaps onto it, at any DPI.
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(26, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.basePointButton));
    const Point2 p = app().view.worldToScreen(10, 20);
    const int x = static_cast<int>(p.x) + scaled(6, app().dpi);
    const int y = static_cast<int>(p.y) - scaled(5, app().dpi);
    mouse(WM_MOUSEMOVE, x, y);
    mouse(WM_RBUTTONDOWN, x, y);
    mouse(WM_RBUTTONUP, x, y);
    EXPECT_EQ(app().model.copies.baseX, 10.0);
    EXPECT_EQ(app().model.copies.baseY, 20.0);
    BoxAnswerer yes({{"確認", IDYES}});
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.completeButton));
    yes.finish();
    pump();
    ASSERT_TRUE(yes.seen()[0].found);
    const std::string written = readFile("JWC_TEMP.TXT");

    writeFile("batch.txt", kFigureText);
    ASSERT_TRUE(runBatchTool("--move-x \"" + moveX +
                             "\" --move-x-unit m --angle 90@30 --copies 7 --base 10,20 batch.txt"));
    EXPECT_EQ(written, readFile("batch.txt"));
    EXPECT_GT(written.size(), 500u);
}

// What WM_DPICHANGED must keep.
struct Kept {
    std::string rows[6];
    int sliders[6];
    Point2 centre;
};

Kept keep() {
    Kept k{};
    for (int r = 0; r < 6; ++r) {
        k.rows[r] = windowText(app().panel.rows[r].valueEdit);
        k.sliders[r] = static_cast<int>(SendMessageA(app().panel.rows[r].slider, TBM_GETPOS, 0, 0));
    }
    const ViewMapping& v = app().view;
    k.centre = {v.offsetX * v.scale, -v.offsetY * v.scale};
    return k;
}

void sendDpiChanged(int dpi, RECT suggested) {
    SendMessageA(mainWindow, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    UpdateWindow(app().canvas.window);
}

TEST_F(Dpi, DpiChangedTakesTheRectangleLaysOutAgainAndKeepsValuesAndDrawing) {
    const int dpi = app().dpi;
    const int next = dpi == 96 ? 120 : 96;  // 125 % still fits the 1024 x 768 display
    setView(app().view.scale, 31, -13);
    const Kept before = keep();
    const double scale = app().view.scale;
    RECT outer{};
    GetWindowRect(mainWindow, &outer);
    const RECT suggested{outer.left + 10, outer.top + 5,
                         outer.left + 10 + MulDiv(outer.right - outer.left, next, dpi),
                         outer.top + 5 + MulDiv(outer.bottom - outer.top, next, dpi)};
    const int paints = canvasPaints();
    sendDpiChanged(next, suggested);

    RECT now{};
    GetWindowRect(mainWindow, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    EXPECT_EQ(app().dpi, next);
    expectLayout(next);
    const Kept after = keep();
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(after.rows[r], before.rows[r]) << "row " << r + 1;
        EXPECT_EQ(after.sliders[r], before.sliders[r]) << "row " << r + 1;
    }
    EXPECT_DOUBLE_EQ(app().view.scale, scale * dpi / next) << "the drawing keeps its size";
    const double half = app().view.scale / 2 * (1 + 1e-9);  // a tie rounds either way
    EXPECT_LE(std::abs(after.centre.x - before.centre.x), half) << "and its centre";
    EXPECT_LE(std::abs(after.centre.y - before.centre.y), half);
    // The canvas fills what the panel leaves and was painted anew.
    EXPECT_EQ(boxOf(app().canvas.window).x, boxOf(app().panel.panel).w);
    EXPECT_EQ(app().canvas.bitmapWidth, clientSize(mainWindow).cx - boxOf(app().panel.panel).w);
    EXPECT_GT(canvasPaints(), paints);

    sendDpiChanged(dpi, outer);
    GetWindowRect(mainWindow, &now);
    EXPECT_TRUE(EqualRect(&now, &outer));
    EXPECT_EQ(app().dpi, dpi);
    expectLayout(dpi);
}

}  // namespace
