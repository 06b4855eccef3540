// The windows that start-up builds: classes, ids, positions, sizes, styles and fonts, and
// what the rows show for the known figure.

#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "tests/window/window_harness.h"

using namespace harness;

namespace {

struct Placement {
    int x, y, w, h;
};

// The outer rectangle in the client coordinates of the parent.
Placement placement(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string className(HWND window) {
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool sameClass(HWND window, const char* expected) {
    return lstrcmpiA(className(window).c_str(), expected) == 0;
}

DWORD style(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}
DWORD exStyle(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
}
HFONT font(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

std::vector<HWND> directChildren(HWND parent) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

// The direct child of the panel with this id at this position (row 6's controls share id 0).
HWND panelChildAt(int id, int x, int y) {
    for (HWND child : directChildren(app().panel.panel)) {
        const Placement p = placement(child);
        if (GetDlgCtrlID(child) == id && p.x == x && p.y == y) return child;
    }
    return nullptr;
}

struct RowIds {
    int edit, unit, slider, percent;
};
constexpr RowIds kRowIds[6] = {{2, 3, 4, 5},     {6, 7, 8, 9},     {10, 11, 12, 13},
                               {14, -1, 16, 17}, {22, -1, 24, 25}, {0, -1, 0, 0}};

void expectPlacement(HWND window, Placement want, const char* what) {
    const Placement got = placement(window);
    EXPECT_EQ(got.x, want.x) << what;
    EXPECT_EQ(got.y, want.y) << what;
    EXPECT_EQ(got.w, want.w) << what;
    EXPECT_EQ(got.h, want.h) << what;
}

using WindowTree = WindowTest;

TEST_F(WindowTree, MainWindowHasItsClassCaptionStyleAndStartingRectangle) {
    EXPECT_TRUE(sameClass(mainWindow, "Zovrel"));
    EXPECT_EQ(windowText(mainWindow), "Zovrel ver.0.00 beta");
    EXPECT_EQ(style(mainWindow) & (WS_OVERLAPPEDWINDOW | WS_VISIBLE),
              DWORD{WS_OVERLAPPEDWINDOW | WS_VISIBLE});
    EXPECT_EQ(static_cast<UINT>(GetClassLongPtrA(mainWindow, GCL_STYLE)),
              UINT{CS_HREDRAW | CS_VREDRAW});
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(mainWindow, GCLP_HBRBACKGROUND)),
              GetStockObject(WHITE_BRUSH));
    EXPECT_NE(GetClassLongPtrA(mainWindow, GCLP_HICON), 0)
        << "the class icon is the resource MYICON";
    EXPECT_EQ(GetMenu(mainWindow), nullptr);
    EXPECT_EQ(startup.windowRect.left, 100);
    EXPECT_EQ(startup.windowRect.top, 100);
    EXPECT_EQ(startup.windowRect.right - startup.windowRect.left, 800);
    EXPECT_EQ(startup.windowRect.bottom - startup.windowRect.top, 600);
    // The status bar, the panel and the canvas; the scale dialog is an owned popup.
    EXPECT_EQ(directChildren(mainWindow).size(), 3u);
}

TEST_F(WindowTree, StatusBarStripAndScaleButtonSitAlongTheBottom) {
    HWND bar = GetDlgItem(mainWindow, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(sameClass(bar, STATUSCLASSNAMEA));
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM;
    EXPECT_EQ(style(bar) & barStyle, barStyle);

    HWND strip = GetDlgItem(bar, 3);
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(sameClass(strip, "Static"));
    EXPECT_EQ(windowText(strip), "");
    EXPECT_EQ(font(strip), app().font.get());
    const SIZE barClient = clientSize(bar);
    expectPlacement(strip, {0, 0, barClient.cx - 17, barClient.cy}, "status text strip");

    HWND scale = GetDlgItem(strip, 28);
    ASSERT_NE(scale, nullptr);
    EXPECT_TRUE(sameClass(scale, "Button"));
    EXPECT_EQ(style(scale) & BS_TYPEMASK, DWORD{BS_OWNERDRAW});
    const int x = barClient.cx - 60 - 17 < 300 ? 300 : barClient.cx - 60 - 17;
    expectPlacement(scale, {x, 3, 60, 16}, "scale button");

    // Docked at the bottom of the main window's client area, across its width.
    const SIZE main = clientSize(mainWindow);
    const Placement p = placement(bar);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.w, main.cx);
    EXPECT_EQ(p.y + p.h, main.cy);
}

TEST_F(WindowTree, PanelAndCanvasShareTheClientAreaAboveTheStatusBar) {
    const SIZE main = clientSize(mainWindow);
    const SIZE strip = clientSize(app().strip.strip);
    HWND panel = app().panel.panel;
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetAncestor(panel, GA_PARENT), mainWindow);
    EXPECT_EQ(GetDlgCtrlID(panel), 0);
    EXPECT_TRUE(sameClass(panel, "Static"));
    // Neither notifies: mouse input over them goes to the main window.
    EXPECT_EQ(style(panel) & (WS_CHILD | WS_VISIBLE | SS_NOTIFY), DWORD{WS_CHILD | WS_VISIBLE});
    expectPlacement(panel, {0, 0, 140, main.cy - strip.cy}, "panel");

    HWND canvas = GetDlgItem(mainWindow, 9);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas, app().canvas.window);
    EXPECT_TRUE(sameClass(canvas, "Static"));
    EXPECT_EQ(windowText(canvas), "");
    EXPECT_EQ(style(canvas) & (WS_CHILD | WS_VISIBLE | SS_NOTIFY), DWORD{WS_CHILD | WS_VISIBLE});
    expectPlacement(canvas, {140, 0, main.cx - 140, main.cy - strip.cy}, "canvas");
    EXPECT_EQ(app().canvas.bitmapWidth, main.cx - 140);
    EXPECT_EQ(app().canvas.bitmapHeight, main.cy - strip.cy);
}

TEST_F(WindowTree, EachRowHasItsControlsWithIdsPositionsAndStyles) {
    EXPECT_EQ(directChildren(app().panel.panel).size(), 25u)
        << "6 rows, 3 unit buttons, 3 push buttons, a check box";
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        const int y = 5 + 70 * r;
        const RowIds ids = kRowIds[r];

        HWND edit = panelChildAt(ids.edit, 56, y);
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(sameClass(edit, "Edit"));
        expectPlacement(edit, {56, y, 53, 20}, "value edit");
        EXPECT_EQ(style(edit) & (WS_CHILD | WS_VISIBLE | WS_BORDER),
                  DWORD{WS_CHILD | WS_VISIBLE | WS_BORDER});
        EXPECT_EQ(style(edit) & ES_NUMBER, r == 5 ? DWORD{ES_NUMBER} : DWORD{0});
        EXPECT_EQ(style(edit) & ES_AUTOHSCROLL, r == 5 ? DWORD{0} : DWORD{ES_AUTOHSCROLL});
        EXPECT_EQ(style(edit) & ES_READONLY, DWORD{0});
        EXPECT_TRUE(exStyle(edit) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(font(edit), app().font.get());

        if (ids.unit >= 0) {
            HWND unit = panelChildAt(ids.unit, 112, y + 1);
            ASSERT_NE(unit, nullptr);
            EXPECT_TRUE(sameClass(unit, "Button"));
            expectPlacement(unit, {112, y + 1, 23, 18}, "unit button");
            EXPECT_EQ(style(unit) & BS_TYPEMASK, DWORD{BS_OWNERDRAW});
            EXPECT_EQ(font(unit), app().font.get());
        }

        HWND slider = panelChildAt(ids.slider, 0, y + 20);
        ASSERT_NE(slider, nullptr);
        EXPECT_TRUE(sameClass(slider, TRACKBAR_CLASSA));
        expectPlacement(slider, {0, y + 20, 103, 20}, "slider");
        EXPECT_TRUE(style(slider) & TBS_NOTICKS);
        EXPECT_FALSE(style(slider) & TBS_VERT);
        EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 100);

        HWND percent = panelChildAt(ids.percent, 105, y + 20);
        ASSERT_NE(percent, nullptr);
        EXPECT_TRUE(sameClass(percent, "Edit"));
        expectPlacement(percent, {105, y + 20, 32, 17}, "percent box");
        const DWORD percentStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY | ES_CENTER;
        EXPECT_EQ(style(percent) & percentStyle, percentStyle);
        EXPECT_TRUE(exStyle(percent) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(font(percent), app().font.get());
    }
    // Rows 4 to 6 have no unit button.
    for (HWND child : directChildren(app().panel.panel)) {
        const Placement p = placement(child);
        if (p.x == 112) {
            EXPECT_LT(p.y, 5 + 70 * 3) << "a unit button below row 3";
        }
    }
}

TEST_F(WindowTree, CommandButtonsCarryTheirTextsAndIds) {
    HWND complete = GetDlgItem(app().panel.panel, 1);
    ASSERT_NE(complete, nullptr);
    EXPECT_TRUE(sameClass(complete, "Button"));
    EXPECT_EQ(windowText(complete), "完了+JWWに送信");
    EXPECT_TRUE(style(complete) & BS_CENTER);
    EXPECT_NE(style(complete) & BS_TYPEMASK, DWORD{BS_OWNERDRAW});
    EXPECT_EQ(font(complete), app().font.get());
    // Flush with the panel's bottom edge.
    expectPlacement(complete, {5, clientSize(app().panel.panel).cy - 20, 130, 20},
                    "completion button");

    HWND basePoint = GetDlgItem(app().panel.panel, 26);
    ASSERT_NE(basePoint, nullptr);
    EXPECT_TRUE(sameClass(basePoint, "Button"));
    EXPECT_EQ(windowText(basePoint), "基点変更");
    EXPECT_TRUE(style(basePoint) & BS_CENTER);
    EXPECT_EQ(font(basePoint), app().font.get());
    expectPlacement(basePoint, {5, 420, 130, 20}, "base-point button");

    HWND lastValues = GetDlgItem(app().panel.panel, 27);
    ASSERT_NE(lastValues, nullptr);
    EXPECT_TRUE(sameClass(lastValues, "Button"));
    EXPECT_EQ(windowText(lastValues), "前回値");
    EXPECT_TRUE(style(lastValues) & BS_CENTER);
    EXPECT_NE(style(lastValues) & BS_TYPEMASK, DWORD{BS_OWNERDRAW});
    EXPECT_EQ(font(lastValues), app().font.get());
    // Below "基点変更", clear of the completion button with room for one more line between.
    expectPlacement(lastValues, {5, 445, 130, 20}, "last-values button");
    EXPECT_GE(placement(complete).y, 445 + 20 + 20);
    EXPECT_FALSE(startup.lastValuesEnabled) << "nothing stored beside a fresh program";
}

TEST_F(WindowTree, ScaleDialogIsAHiddenToolWindowInTheMainWindowsCorner) {
    HWND popup = FindWindowA("ZovrelScaleDialog", nullptr);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), mainWindow);
    EXPECT_FALSE(IsWindowVisible(popup));
    EXPECT_EQ(windowText(popup), "");
    EXPECT_TRUE(exStyle(popup) & WS_EX_TOOLWINDOW);
    const DWORD popupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(style(popup) & popupStyle, popupStyle);
    EXPECT_EQ(static_cast<UINT>(GetClassLongPtrA(popup, GCL_STYLE)), UINT{CS_HREDRAW | CS_VREDRAW});
    RECT p{}, m{};
    GetWindowRect(popup, &p);
    GetWindowRect(mainWindow, &m);
    EXPECT_EQ(p.right - p.left, 300);
    EXPECT_EQ(p.bottom - p.top, 50);
    EXPECT_EQ(p.right, m.right);
    EXPECT_EQ(p.bottom, m.bottom);

    HWND ok = GetDlgItem(popup, 0);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(sameClass(ok, "Button"));
    EXPECT_EQ(windowText(ok), "OK");
    expectPlacement(ok, {210, 5, 80, 20}, "OK button");
    EXPECT_EQ(font(ok), app().font.get());
    HWND edit = GetDlgItem(popup, 1);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(sameClass(edit, "Edit"));
    expectPlacement(edit, {100, 5, 53, 20}, "scale edit");
    EXPECT_TRUE(style(edit) & WS_BORDER);
    EXPECT_TRUE(style(edit) & ES_AUTOHSCROLL);
    EXPECT_TRUE(exStyle(edit) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(font(edit), app().font.get());
}

TEST_F(WindowTree, RowsShowTheStartingValuesForAFigure100By50) {
    const char* const texts[6] = {"120.00", "60.00", "90", "1.0", "1.0", "20"};
    const char* const percents[6] = {"100%", "0%", "0%", "100%", "100%", "100%"};
    const int sliders[6] = {100, 0, 0, 100, 100, 100};
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(startup.rowText[r], texts[r]) << "row " << r + 1;
        EXPECT_EQ(startup.percentText[r], percents[r]) << "row " << r + 1;
        EXPECT_EQ(startup.slider[r], sliders[r]) << "row " << r + 1;
    }
    EXPECT_EQ(startup.moveUnitFactor[0], 1);
    EXPECT_EQ(startup.moveUnitFactor[1], 1);
    EXPECT_EQ(startup.angleUnitFactor, 0.01745329252111111);
    const std::pair<int, const char*> labels[3] = {{3, "mm"}, {7, "mm"}, {11, "度"}};
    for (const auto& [id, label] : labels) {
        Dib drawn(23, 18), expected(23, 18);
        drawOwnerButton(drawn, id, false);
        drawLabelReference(expected, label);
        EXPECT_TRUE(sameInside(drawn, expected))
            << "unit button " << id << " should show " << label;
    }
}

TEST_F(WindowTree, StartUpFitsTheFiguresLargerRelativeSpanIntoAFifthOfTheCanvas) {
    const int hw = static_cast<int>(startup.canvasClient.right * 0.5);
    const int hh = static_cast<int>(startup.canvasClient.bottom * 0.5);
    const double fy = (2 * hh * 0.2) / 50.0;
    const double fx = (2 * hw * 0.2) / 100.0;
    const double fitted = fy < fx ? 1.0 / fy : 1.0 / fx;
    EXPECT_DOUBLE_EQ(startup.view.scale, fitted);
    EXPECT_DOUBLE_EQ(startup.view.homeScale, fitted);
    EXPECT_DOUBLE_EQ(startup.view.savedScale, fitted);
    EXPECT_EQ(startup.view.offsetX, 0);
    EXPECT_EQ(startup.view.offsetY, 0);
    EXPECT_EQ(startup.view.savedOffsetX, 0);
    EXPECT_EQ(startup.view.savedOffsetY, 0);
    EXPECT_EQ(startup.view.halfWidth, hw);
    EXPECT_EQ(startup.view.halfHeight, hh);
}

}  // namespace

namespace {

// The panel's own grey at a pixel of the panel's background, as the screen shows it.
uint32_t panelOnScreen(int x, int y) {
    HDC dc = GetDC(app().panel.panel);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(app().panel.panel, dc);
    return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

// Uncovering the main window erases it over its children (it has no WS_CLIPCHILDREN): its
// paint brings the panel back, without repainting the canvas.
TEST_F(WindowTree, UncoveringTheMainWindowBringsThePanelBack) {
    const int x = 2, y = kRowTop + kRowPitch - 8;  // between two rows: background only
    pump();
    ASSERT_EQ(panelOnScreen(x, y), rgb(192, 192, 192));
    const int paints = canvasPaints();
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    UpdateWindow(mainWindow);
    EXPECT_EQ(panelOnScreen(x, y), rgb(192, 192, 192));
    EXPECT_EQ(canvasPaints(), paints);
}
