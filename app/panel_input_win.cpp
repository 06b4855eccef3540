// The panel's procedure: one small handler per message; what the drafter did goes to the
// commands (app/commands_win.h), then the static control does its own.

#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/owner_button_win.h"
#include "app/parameter_panel_win.h"
#include "view/window_idioms_win.h"

namespace {

void onPanelCommand(App& app, WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == EN_UPDATE) {
        const int row = app.panel.rowOfValueBox(reinterpret_cast<HWND>(lParam));
        if (!app.panel.showing && row >= 0) rowTyped(app, row);
        return;
    }
    const int id = LOWORD(wParam);
    switch (id) {
        case kCompleteButtonId:
            completeCommand(app);
            return;
        case kBasePointButtonId:
            basePointCommand(app);
            return;
        case kKeepAttributesId:
            keepAttributesPressed(app);
            return;
        case kLastValuesButtonId:
            restoreLastValues(app);
            return;
    }
    const int row = app.panel.rowOfUnitButton(id);
    if (row >= 0) unitPressed(app, row);
}

// A unit button shows the unit the model holds; reached with Tab, a focus rectangle too.
void onUnitButtonDraw(const App& app, WPARAM wParam, LPARAM lParam) {
    const OwnerDrawItem item = ownerDrawItem(wParam, lParam);
    const int row = app.panel.rowOfUnitButton(item.id);
    if (row < 0) return;
    drawRaisedButton(item.dc, item.rect, item.pressed, unitLabel(app.model.inputs, row),
                     app.font.get(), app.dpi);
    if (item.focused && item.window == app.tabFocus) {
        RECT inside = item.rect;
        InflateRect(&inside, -2, -2);
        DrawFocusRect(item.dc, &inside);
    }
}

// A value box read only in part, or not as a finite number, in its mark's colour; the rest as
// the static control's default handling has it.
LRESULT onValueBoxColour(const App& app, HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT brush =
        CallWindowProcA(app.panel.previousProc, window, WM_CTLCOLOREDIT, wParam, lParam);
    const int row = app.panel.rowOfValueBox(reinterpret_cast<HWND>(lParam));
    if (row >= 0 && app.panel.markColour(row) != CLR_INVALID)
        SetTextColor(reinterpret_cast<HDC>(wParam), app.panel.markColour(row));
    return brush;
}

}  // namespace

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App& app = appOf(window);
    switch (message) {
        case WM_PAINT:
            app.panel.paintLabels(app.font.get(), app.dpi);
            break;
        case WM_DRAWITEM:
            onUnitButtonDraw(app, wParam, lParam);
            break;
        case WM_COMMAND:
            onPanelCommand(app, wParam, lParam);
            if (!IsWindow(window)) return 0;  // the completion ended the program
            break;
        case WM_HSCROLL:
            slidersMoved(app);
            break;
        case WM_CTLCOLOREDIT:
            return onValueBoxColour(app, window, wParam, lParam);
        case WM_CONTEXTMENU:
            // A right click on "基点変更": the base point typed.
            if (reinterpret_cast<HWND>(wParam) == app.panel.basePointButton) {
                showBaseDialog(app);
                return 0;
            }
            break;
    }
    return CallWindowProcA(app.panel.previousProc, window, message, wParam, lParam);
}
