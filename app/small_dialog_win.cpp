#include "app/small_dialog_win.h"

#include "app/app_win.h"
#include "view/gdi_win.h"
#include "view/window_idioms_win.h"

bool SmallDialog::create(HWND owner, HINSTANCE instance, HFONT font, int dpi, void* creation,
                         const Kind& what, const char* initial) {
    kind = what;
    if (!registerClassOnce(kind.className, smallDialogProc, instance,
                           LoadIconA(nullptr, IDI_APPLICATION)))
        return false;
    popup =
        CreateWindowExA(WS_EX_TOOLWINDOW, kind.className, "", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        scaled(200, dpi), scaled(200, dpi), scaled(kOuterWidth, dpi),
                        scaled(kOuterHeight, dpi), owner, nullptr, instance, creation);
    okButton = controls.add(popup, 0, "BUTTON", "OK", 0, {210, 5, 80, 20}, okId, dpi);
    setFont(okButton, font);
    edit = controls.add(popup, WS_EX_CLIENTEDGE, "EDIT", initial, WS_BORDER | ES_AUTOHSCROLL,
                        kind.editBox, editId, dpi);
    setFont(edit, font);
    SendMessageA(edit, EM_LIMITTEXT, kRowTextSize - 1, 0);
    previousEditProc = subclass(edit, smallEditProc);
    return true;
}

void SmallDialog::hide() {
    if (popup) ShowWindow(popup, SW_HIDE);
}

void SmallDialog::placeControls(int dpi) {
    if (!popup) return;
    SetWindowPos(popup, nullptr, 0, 0, scaled(kOuterWidth, dpi), scaled(kOuterHeight, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    controls.place(dpi);
}

void SmallDialog::placeAtCorner(HWND main, bool right) {
    if (!popup) return;
    RECT m{}, p{};
    GetWindowRect(main, &m);
    GetWindowRect(popup, &p);
    const int w = p.right - p.left, h = p.bottom - p.top;
    MoveWindow(popup, right ? m.right - w : m.left, m.bottom - h, w, h, TRUE);
}

void SmallDialog::offerText(const char* text) {
    lstrcpynA(offeredText, text, kRowTextSize);
    SetWindowTextA(edit, offeredText);
}

bool SmallDialog::offeredUnchanged() const {
    char text[kRowTextSize] = {};
    GetWindowTextA(edit, text, sizeof text);
    return lstrcmpA(text, offeredText) == 0;
}

bool SmallDialog::typing() const {
    return GetFocus() == edit && !offeredUnchanged();
}

namespace {

SmallDialog* dialogOf(App& app, HWND window) {
    if (app.scaleDialog.owns(window)) return &app.scaleDialog;
    if (app.baseDialog.owns(window)) return &app.baseDialog;
    return nullptr;
}

void onDialogPaint(const App& app, const SmallDialog& dialog, HWND window) {
    PaintDc dc(window);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc.get(), app.font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    TextOutA(dc.get(), app.px(10), app.px(10), dialog.kind.label, lstrlenA(dialog.kind.label));
}

}  // namespace

LRESULT CALLBACK smallDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) attachApp(window, lParam);
    App* app = findApp(window);
    SmallDialog* dialog = app ? dialogOf(*app, window) : nullptr;
    if (!dialog) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            onDialogPaint(*app, *dialog, window);
            break;
        case WM_CLOSE:
            dialog->hide();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == dialog->okId) dialog->kind.apply(*app);
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK smallEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    App& app = appOf(window);
    SmallDialog& dialog = *dialogOf(app, window);
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        dialog.kind.apply(app);
        return 0;
    }
    // The character that follows Enter (Ctrl+Enter's too): a single-line edit beeps at it.
    if (message == WM_CHAR && (wParam == '\r' || wParam == '\n')) return 0;
    return CallWindowProcA(dialog.previousEditProc, window, message, wParam, lParam);
}
