#include "app/loop_input_win.h"

#include <windowsx.h>

#include "app/globals_win.h"
#include "app/middle_pan_win.h"
#include "app/tab_order.h"

WheelZoom theWheel;

namespace {

HWND tabFocus = nullptr;  // the control the last Tab went to, while it keeps the focus

bool inScaleDialog(HWND window) {
    HWND popup = theScaleDialog.popup;
    return popup && (window == popup || IsChild(popup, window));
}

bool isPercentBox(HWND window) {
    for (const ParameterRowControls& row : thePanel.rows)
        if (row.percentBox == window) return true;
    return false;
}

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

// Wheel messages go to the focused window, not to the one under the pointer: only the
// pointer's screen position (lParam) tells whether the canvas is meant.
bool onWheel(const MSG& message) {
    POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    HWND main = theCanvas.parentWindow;
    HWND under = WindowFromPoint(at);
    RECT canvas{};
    GetWindowRect(theCanvas.window, &canvas);
    // The canvas is transparent to hit-testing: over it the main window is found. A popup
    // (the scale dialog) lying over the canvas has a root of its own.
    if (!main || !under || GetAncestor(under, GA_ROOT) != main || !PtInRect(&canvas, at))
        return true;
    ScreenToClient(theCanvas.window, &at);
    const int delta = GET_WHEEL_DELTA_WPARAM(message.wParam);
    const bool dragging = thePan.active || theMouse.gestureActive;
    if (theWheel.turn(theCanvas.view, delta, at.x, at.y, message.time, dragging)) {
        thePanel.showScale();
        theCanvas.invalidate();
    }
    return true;
}

bool onTab(const MSG& message) {
    // Anywhere in the main window (the scale dialog is a window of its own) Tab enters the panel.
    HWND main = theCanvas.parentWindow;
    if (!main || GetAncestor(message.hwnd, GA_ROOT) != main) return false;
    // Every control that can hold the focus, in reading order; the canvas and the status bar's
    // scale button lie after the panel.
    HWND controls[kRowCount * 4 + 6];
    bool isStop[kRowCount * 4 + 6];
    int count = 0;
    auto add = [&](HWND control, bool stop) {
        controls[count] = control;
        isStop[count++] = stop;
    };
    for (const ParameterRowControls& row : thePanel.rows) {
        add(row.valueEdit, true);
        if (row.unitButton) add(row.unitButton, true);
        add(row.slider, true);
        add(row.percentBox, false);
    }
    add(thePanel.basePointButton, true);
    add(thePanel.lastValuesButton, IsWindowEnabled(thePanel.lastValuesButton) != FALSE);
    add(thePanel.keepAttributesBox, true);
    add(thePanel.completeButton, true);
    add(theCanvas.window, false);
    add(thePanel.scaleButton, false);
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i)
        if (controls[i] == focus) current = i;
    const int next = nextTabStopAmong(isStop, count, current, GetKeyState(VK_SHIFT) < 0);
    if (next < 0) return true;
    tabFocus = controls[next];
    SetFocus(controls[next]);
    // As in a dialog: a value box is entered with its text selected.
    if (thePanel.isValueBox(controls[next])) SendMessageA(controls[next], EM_SETSEL, 0, -1);
    return true;
}

bool onEscape(const MSG& message) {
    if (inScaleDialog(message.hwnd)) {
        // As its close box does: hidden, nothing applied.
        SendMessageA(theScaleDialog.popup, WM_CLOSE, 0, 0);
        return true;
    }
    HWND main = theCanvas.parentWindow;
    if (!main || GetAncestor(message.hwnd, GA_ROOT) != main) return false;
    SendMessageA(main, WM_CLOSE, 0, 0);
    return true;
}

bool onKeyDown(const MSG& message) {
    switch (message.wParam) {
        case VK_TAB:
            return onTab(message);
        case VK_ESCAPE:
            return onEscape(message);
        case VK_RETURN:
            // A single-line edit would beep; the scale dialog's edit applies on its own.
            return thePanel.isValueBox(message.hwnd) || isPercentBox(message.hwnd);
    }
    return false;
}

// The character that follows the ignored Enter: the edit would beep at it.
bool onChar(const MSG& message) {
    if (message.wParam != '\r' && message.wParam != '\n') return false;
    return thePanel.isValueBox(message.hwnd) || isPercentBox(message.hwnd);
}

}  // namespace

bool routeLoopInput(const MSG& message) {
    if (isOtherInput(message.message)) theWheel.endRun();
    switch (message.message) {
        case WM_MOUSEWHEEL:
            return onWheel(message);
        case WM_KEYDOWN:
            return onKeyDown(message);
        case WM_CHAR:
            return onChar(message);
    }
    return false;
}

void drawTabFocus(const DRAWITEMSTRUCT& item) {
    if (!(item.itemState & ODS_FOCUS)) {
        if (item.hwndItem == tabFocus) tabFocus = nullptr;
        return;
    }
    if (item.hwndItem != tabFocus) return;
    RECT inside = item.rcItem;
    InflateRect(&inside, -2, -2);
    DrawFocusRect(item.hDC, &inside);
}
