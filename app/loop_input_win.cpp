#include "app/loop_input_win.h"

#include <windowsx.h>

#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/tab_order.h"
#include "view/window_idioms_win.h"

namespace {

// Presses of keys and buttons: each ends a run of wheel notches.
bool isOtherInput(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_NCXBUTTONDOWN:
            return true;
    }
    return false;
}

// A click: the focus it gives a control is the plain one, without the Tab walk's rectangle.
bool isClick(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool inMainWindow(const App& app, HWND window) {
    return app.main && GetAncestor(window, GA_ROOT) == app.main;
}

// Wheel messages go to the focused window, not to the one under the pointer: only the
// pointer's screen position (lParam) tells whether the canvas is meant.
bool onWheel(App& app, const MSG& message) {
    POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    HWND under = WindowFromPoint(at);
    RECT canvas{};
    GetWindowRect(app.canvas.window, &canvas);
    // The canvas is transparent to hit-testing: over it the main window is found. A popup
    // (the scale dialog) lying over the canvas has a root of its own.
    if (!under || !inMainWindow(app, under) || !PtInRect(&canvas, at)) return true;
    ScreenToClient(app.canvas.window, &at);
    const int delta = GET_WHEEL_DELTA_WPARAM(message.wParam);
    const bool dragging = app.pan.active || app.mouse.gestureActive;
    if (app.wheel.turn(app.view, delta, at.x, at.y, message.time, dragging)) viewChanged(app, true);
    return true;
}

bool onTab(App& app, const MSG& message) {
    // Anywhere in the main window (the scale dialog is a window of its own) Tab enters the panel.
    if (!inMainWindow(app, message.hwnd)) return false;
    // Every control that can hold the focus, in reading order; the canvas and the status bar's
    // scale and base-point buttons lie after the panel.
    const ParameterPanel& panel = app.panel;
    HWND controls[kRowCount * 4 + 7];
    bool isStop[kRowCount * 4 + 7];
    int count = 0;
    auto add = [&](HWND control, bool stop) {
        controls[count] = control;
        isStop[count++] = stop;
    };
    for (const ParameterRowControls& row : panel.rows) {
        add(row.valueEdit, true);
        if (row.unitButton) add(row.unitButton, true);
        add(row.slider, true);
        add(row.percentBox, false);
    }
    add(panel.basePointButton, true);
    add(panel.lastValuesButton, IsWindowEnabled(panel.lastValuesButton) != FALSE);
    add(panel.keepAttributesBox, true);
    add(panel.completeButton, true);
    add(app.canvas.window, false);
    add(app.strip.scaleButton, false);
    add(app.strip.baseButton, false);
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i)
        if (controls[i] == focus) current = i;
    const int next = nextTabStopAmong(isStop, count, current, GetKeyState(VK_SHIFT) < 0);
    if (next < 0) return true;
    app.tabFocus = controls[next];
    SetFocus(controls[next]);
    // As in a dialog: a value box is entered with its text selected.
    if (panel.isValueBox(controls[next])) selectAllText(controls[next]);
    return true;
}

bool onEscape(App& app, const MSG& message) {
    const SmallDialog* dialogs[] = {&app.scaleDialog, &app.baseDialog};
    for (const SmallDialog* dialog : dialogs) {
        if (dialog->owns(message.hwnd)) {
            // As its close box does: hidden, nothing applied.
            SendMessageA(dialog->popup, WM_CLOSE, 0, 0);
            return true;
        }
    }
    if (!inMainWindow(app, message.hwnd)) return false;
    escapePressed(app);
    return true;
}

// Home fits the view to the figure and its copies, except where the focused control has a
// Home of its own (a value box, a slider): there Ctrl+Home does.
bool onHome(App& app, const MSG& message) {
    if (!inMainWindow(app, message.hwnd)) return false;
    const bool ownHome = app.panel.isValueBox(message.hwnd) || app.panel.isSlider(message.hwnd);
    if (ownHome && GetKeyState(VK_CONTROL) >= 0) return false;
    fitArrayCommand(app);
    return true;
}

// Enter in a value or percent box: a single-line edit would beep; the scale dialog's edit
// applies on its own.
bool isQuietBox(const App& app, HWND window) {
    return app.panel.isValueBox(window) || app.panel.isPercentBox(window);
}

bool onKeyDown(App& app, const MSG& message) {
    switch (message.wParam) {
        case VK_TAB:
            return onTab(app, message);
        case VK_ESCAPE:
            return onEscape(app, message);
        case VK_HOME:
            return onHome(app, message);
        case VK_RETURN:
            return isQuietBox(app, message.hwnd);
    }
    return false;
}

// The character that follows the ignored Enter: the edit would beep at it.
bool onChar(const App& app, const MSG& message) {
    if (message.wParam != '\r' && message.wParam != '\n') return false;
    return isQuietBox(app, message.hwnd);
}

}  // namespace

bool routeLoopInput(App& app, const MSG& message) {
    if (isOtherInput(message.message)) app.wheel.endRun();
    if (isClick(message.message)) app.tabFocus = nullptr;
    switch (message.message) {
        case WM_MOUSEWHEEL:
            return onWheel(app, message);
        case WM_KEYDOWN:
            return onKeyDown(app, message);
        case WM_CHAR:
            return onChar(app, message);
    }
    return false;
}
