#include "app/loop_input_win.h"

#include <windowsx.h>

#include "app/globals_win.h"
#include "app/tab_order.h"

WheelZoom theWheel;

namespace {

HWND tabFocus = nullptr;  // the control the last Tab went to, while it keeps the focus

bool inScaleDialog(HWND window) {
    HWND popup = theScaleDialog.popup;
    return popup && (window == popup || IsChild(popup, window));
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
    if (theWheel.turn(theCanvas.view, delta, at.x, at.y)) {
        thePanel.showScale();
        theCanvas.invalidate();
    }
    return true;
}

bool onTab(const MSG& message) {
    // Anywhere in the main window (the scale dialog is a window of its own) Tab enters the panel.
    HWND main = theCanvas.parentWindow;
    if (!main || GetAncestor(message.hwnd, GA_ROOT) != main) return false;
    HWND stops[kRowCount * 3 + 2];
    int count = 0;
    for (const ParameterRowControls& row : thePanel.rows) {
        stops[count++] = row.valueEdit;
        if (row.unitButton) stops[count++] = row.unitButton;
        stops[count++] = row.slider;
    }
    stops[count++] = thePanel.basePointButton;
    stops[count++] = thePanel.completeButton;
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i)
        if (stops[i] == focus) current = i;
    const int next = nextTabStop(count, current, GetKeyState(VK_SHIFT) < 0);
    if (next < 0) return true;
    tabFocus = stops[next];
    SetFocus(stops[next]);
    // As in a dialog: a value box is entered with its text selected.
    if (thePanel.isValueBox(stops[next])) SendMessageA(stops[next], EM_SETSEL, 0, -1);
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
            return thePanel.isValueBox(message.hwnd);  // a single-line edit would beep
    }
    return false;
}

bool onChar(const MSG& message) {
    return (message.wParam == '\r' || message.wParam == '\n') && thePanel.isValueBox(message.hwnd);
}

}  // namespace

bool routeLoopInput(const MSG& message) {
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
