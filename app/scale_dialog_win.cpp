#include "app/scale_dialog_win.h"

#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/panel_values.h"
#include "app/texts.h"
#include "figure/expression.h"
#include "view/gdi_win.h"
#include "view/window_idioms_win.h"

bool ScaleDialog::create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation) {
    if (!registerClassOnce(text::kScaleDialogClass, scaleDialogProc, instance,
                           LoadIconA(nullptr, IDI_APPLICATION)))
        return false;
    popup = CreateWindowExA(WS_EX_TOOLWINDOW, text::kScaleDialogClass, "",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, scaled(200, dpi), scaled(200, dpi),
                            scaled(kOuterWidth, dpi), scaled(kOuterHeight, dpi), owner, nullptr,
                            instance, creation);
    okButton = controls.add(popup, 0, "BUTTON", "OK", 0, {210, 5, 80, 20}, okId, dpi);
    setFont(okButton, font);
    edit = controls.add(popup, WS_EX_CLIENTEDGE, "EDIT", "40", WS_BORDER | ES_AUTOHSCROLL,
                        {100, 5, 53, 20}, editId, dpi);
    setFont(edit, font);
    SendMessageA(edit, EM_LIMITTEXT, kRowTextSize - 1, 0);
    previousEditProc = subclass(edit, scaleEditProc);
    return true;
}

void ScaleDialog::offer(double scale) {
    offeredScale = scale;
    formatScaleText(scale, offeredText);
    SetWindowTextA(edit, offeredText);
}

void ScaleDialog::show(double scale) {
    if (!popup) return;
    offer(scale);
    ShowWindow(popup, SW_SHOW);
}

void ScaleDialog::hide() {
    if (popup) ShowWindow(popup, SW_HIDE);
}

double ScaleDialog::typedScale() const {
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    return lstrcmpA(text, offeredText) == 0 ? offeredScale : typedValue(text);
}

void ScaleDialog::followView(double scale) {
    if (!isOpen()) return;
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    // A scale being typed is the drafter's: a wheel notch must not take it from under them.
    if (GetFocus() == edit && lstrcmpA(text, offeredText) != 0) return;
    offer(scale);
}

void ScaleDialog::placeControls(int dpi) {
    if (!popup) return;
    SetWindowPos(popup, nullptr, 0, 0, scaled(kOuterWidth, dpi), scaled(kOuterHeight, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    controls.place(dpi);
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

void onDialogPaint(const App& app, HWND window) {
    PaintDc dc(window);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc.get(), app.font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    TextOutA(dc.get(), app.px(10), app.px(10), text::kScaleDialogLabel,
             lstrlenA(text::kScaleDialogLabel));
}

}  // namespace

LRESULT CALLBACK scaleDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) attachApp(window, lParam);
    App* app = findApp(window);
    if (!app) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            onDialogPaint(*app, window);
            break;
        case WM_CLOSE:
            app->scaleDialog.hide();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == app->scaleDialog.okId) applyTypedScale(*app);
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK scaleEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App& app = appOf(window);
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        applyTypedScale(app);
        return 0;
    }
    // The character that follows Enter (Ctrl+Enter's too): a single-line edit beeps at it.
    if (message == WM_CHAR && (wParam == '\r' || wParam == '\n')) return 0;
    return CallWindowProcA(app.scaleDialog.previousEditProc, window, message, wParam, lParam);
}
