#include "app/scale_dialog_win.h"

#include "app/child_layout_win.h"
#include "app/globals_win.h"
#include "app/panel_values.h"
#include "app/texts.h"
#include "figure/expression.h"
#include "view/gdi_win.h"
#include "view/window_idioms_win.h"

namespace {

void offerCurrentScale(ScaleDialog& dialog) {
    dialog.offeredScale = theCanvas.view.scale;
    formatScaleText(dialog.offeredScale, dialog.offeredText);
    SetWindowTextA(dialog.edit, dialog.offeredText);
}

}  // namespace

int ScaleDialog::create(HWND owner, HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = scaleDialogProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = text::kScaleDialogClass;
    if (!RegisterClassA(&wc)) return 0;
    popup = CreateWindowExA(WS_EX_TOOLWINDOW, text::kScaleDialogClass, "",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, uiPixels(200), uiPixels(200),
                            uiPixels(kOuterWidth), uiPixels(kOuterHeight), owner, nullptr, instance,
                            nullptr);
    okButton = controls.add(popup, 0, "BUTTON", "OK", 0, {210, 5, 80, 20}, okId);
    setFont(okButton, theCanvas.uiFont.get());
    edit = controls.add(popup, WS_EX_CLIENTEDGE, "EDIT", "40", WS_BORDER | ES_AUTOHSCROLL,
                        {100, 5, 53, 20}, editId);
    setFont(edit, theCanvas.uiFont.get());
    previousEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(scaleEditProc)));
    return 1;
}

void ScaleDialog::show() {
    if (!popup) return;
    offerCurrentScale(*this);
    ShowWindow(popup, SW_SHOW);
}

void ScaleDialog::applyScale() {
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    const bool unchanged = lstrcmpA(text, offeredText) == 0;
    if (!theCanvas.view.applyScale(unchanged ? offeredScale : typedValue(text))) {
        // Not a positive value: keep the scale, say so, and offer the current one again.
        MessageBeep(MB_ICONWARNING);
        offerCurrentScale(*this);
        return;
    }
    ShowWindow(popup, SW_HIDE);
    // The dialog may have been dragged away: hiding it then uncovers nothing, so the new scale
    // must be asked for.
    thePanel.showScale();
    theCanvas.invalidate();
}

void ScaleDialog::followView() {
    if (!popup || !IsWindowVisible(popup)) return;
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    // A scale being typed is the drafter's: a wheel notch must not take it from under them.
    if (GetFocus() == edit && lstrcmpA(text, offeredText) != 0) return;
    offerCurrentScale(*this);
}

void ScaleDialog::placeControls() {
    if (!popup) return;
    SetWindowPos(popup, nullptr, 0, 0, uiPixels(kOuterWidth), uiPixels(kOuterHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    controls.place();
}

void ScaleDialog::place(HWND main) {
    if (!popup) return;
    RECT m{}, p{};
    GetWindowRect(main, &m);
    GetWindowRect(popup, &p);
    const int w = p.right - p.left, h = p.bottom - p.top;
    MoveWindow(popup, m.right - w, m.bottom - h, w, h, TRUE);
}

namespace {

void onDialogPaint(HWND window) {
    PaintDc dc(window);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc.get(), theCanvas.uiFont.get());
    SetBkMode(dc.get(), TRANSPARENT);
    TextOutA(dc.get(), uiPixels(10), uiPixels(10), text::kScaleDialogLabel,
             lstrlenA(text::kScaleDialogLabel));
}

}  // namespace

LRESULT CALLBACK scaleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onDialogPaint(window);
            break;
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == theScaleDialog.okId) theScaleDialog.applyScale();
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK scaleEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        theScaleDialog.applyScale();
        return 0;
    }
    // The character that follows Enter (Ctrl+Enter's too): a single-line edit beeps at it.
    if (message == WM_CHAR && (wParam == '\r' || wParam == '\n')) return 0;
    return CallWindowProcA(theScaleDialog.previousEditProc, window, message, wParam, lParam);
}
