#include "app/main_window_win.h"

#include <commctrl.h>

#include "app/app_win.h"
#include "app/canvas_window_win.h"
#include "app/child_layout_win.h"
#include "app/commands_win.h"
#include "app/loop_input_win.h"
#include "app/middle_pan_win.h"
#include "app/mouse_input_win.h"
#include "app/panel_values.h"
#include "app/texts.h"
#include "figure/exchange_io_names.h"
#include "figure/reader.h"
#include "view/dpi_win.h"
#include "view/window_idioms_win.h"

namespace {

// The program's icon at the sizes of the DPI now: the resource holds 16, 24, 32 and 48 pixels.
void setIcons(App& app) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const int big = app.px(kBigIcon), small = app.px(kSmallIcon);
    IconHandle nextBig(static_cast<HICON>(LoadImageA(instance, "MYICON", IMAGE_ICON, big, big, 0)));
    IconHandle nextSmall(
        static_cast<HICON>(LoadImageA(instance, "MYICON", IMAGE_ICON, small, small, 0)));
    if (nextBig.get())
        SendMessageA(app.main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(nextBig.get()));
    if (nextSmall.get())
        SendMessageA(app.main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(nextSmall.get()));
    // The window no longer shows the old ones: they may go.
    if (nextBig.get()) app.bigIcon = std::move(nextBig);
    if (nextSmall.get()) app.smallIcon = std::move(nextSmall);
}

void onCreate(App& app, HWND window, LPARAM lParam) {
    const CREATESTRUCTA& creation = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
    app.main = window;
    // Everything below is made at the window's DPI.
    app.dpi = windowDpi(window);
    app.font = makeUiFont(app.dpi);
    setIcons(app);
    InitCommonControls();
    app.strip.create(window, creation.hInstance, app.font.get(), app.dpi);
    app.panel.create(window, creation.hInstance, app.model.inputs, app.font.get(), app.dpi);
    app.panel.enableLastValues(app.settings.hasLastValues());
    app.canvas.createCanvasWindow(window, creation.hInstance);
    app.canvas.previousProc = subclass(app.canvas.window, canvasProc);
    app.scaleDialog.create(window, creation.hInstance, app.font.get(), app.dpi, &app);
    app.baseDialog.create(window, creation.hInstance, app.font.get(), app.dpi, &app);
}

void onSize(App& app, HWND window, WPARAM wParam, LPARAM lParam) {
    RECT client{};
    GetClientRect(window, &client);
    app.strip.layout(wParam, lParam, app.dpi);
    RECT bar{}, strip{}, panel{};
    GetClientRect(app.strip.bar, &bar);
    app.panel.layout((client.bottom - client.top) - bar.bottom, app.dpi);
    GetClientRect(app.strip.strip, &strip);
    GetClientRect(app.panel.panel, &panel);
    if (app.canvas.resize(client, strip, panel)) {
        app.view.setClientSize(app.canvas.clientRect.right, app.canvas.clientRect.bottom);
        viewChanged(app, false);
    }
    app.scaleDialog.place(window);
    app.baseDialog.place(window);
    UpdateWindow(window);
}

// Another monitor's scaling, or the scaling changed: the suggested rectangle, every size and
// the font at the new DPI; the values stay, and the drawing keeps its size and centre.
void onDpiChanged(App& app, HWND window, WPARAM wParam, LPARAM lParam) {
    const int dpi = HIWORD(wParam);
    if (dpi <= 0) return;
    app.view.changeDpi(app.dpi, dpi);
    app.dpi = dpi;
    GdiObject<HFONT> font = makeUiFont(dpi);
    replaceFont(window, app.font.get(), font.get());
    if (app.scaleDialog.popup) replaceFont(app.scaleDialog.popup, app.font.get(), font.get());
    if (app.baseDialog.popup) replaceFont(app.baseDialog.popup, app.font.get(), font.get());
    app.font = std::move(font);  // no window draws with the old one any more
    setIcons(app);
    app.panel.placeControls(dpi);
    app.scaleDialog.placeControls(dpi);
    app.baseDialog.placeControls(dpi);
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The same rectangle brings no WM_SIZE: lay out for the new sizes all the same.
    RECT client{};
    GetClientRect(window, &client);
    onSize(app, window, IsIconic(window) ? SIZE_MINIMIZED : SIZE_RESTORED,
           MAKELPARAM(client.right, client.bottom));
    viewChanged(app, true);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void onGetMinMaxInfo(int dpi, LPARAM lParam) {
    MINMAXINFO& info = *reinterpret_cast<MINMAXINFO*>(lParam);
    info.ptMinTrackSize.x = scaled(kMinTrackWidth, dpi);
    info.ptMinTrackSize.y = scaled(kMinTrackHeight, dpi);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) attachApp(window, lParam);
    App* found = findApp(window);
    if (!found) {
        // The very first message comes before the window knows its state.
        if (message == WM_GETMINMAXINFO) onGetMinMaxInfo(kBaseDpi, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    App& app = *found;
    if (handlePanMessage(app, message, wParam, lParam)) return 0;
    switch (message) {
        case WM_CREATE:
            onCreate(app, window, lParam);
            return 0;
        case WM_SIZE:
            onSize(app, window, wParam, lParam);
            return 0;
        case WM_PAINT:
            ValidateRect(window, nullptr);  // the children cover the whole client area
            return 0;
        case WM_CLOSE:
            askToQuit(app, false);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(app.dpi, lParam);
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(app, window, wParam, lParam);
            return 0;
        case kPreviewShownMessage:
            previewShown(app, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            onMouseMove(app, lParam);
            return 0;
        case WM_LBUTTONDOWN:
            onButtonDown(app, MouseButton::left, lParam);
            return 0;
        case WM_LBUTTONUP:
            onButtonUp(app, MouseButton::left, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            onButtonDown(app, MouseButton::right, lParam);
            return 0;
        case WM_RBUTTONUP:
            onButtonUp(app, MouseButton::right, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            onCaptureChanged(app);
            return 0;
        case WM_CANCELMODE:
            cancelMouse(app);
            break;  // the default handling cancels the system's own modes
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string settingsBesideProgram() {
    char program[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n == 0 || n >= sizeof program) return {};  // cut short: the folder is not known
    return directoryPrefixOf(program) + kSettingsFileName;
}

HWND startZovrel(App& app, HINSTANCE instance, const char* exchangePath, const char* settingsPath) {
    if (!registerClassOnce(text::kMainClass, mainWindowProc, instance,
                           LoadIconA(instance, "MYICON")))
        return nullptr;

    app.exchangePath = exchangePath;
    if (!loadFigure(exchangePath, app.figure))
        MessageBoxA(nullptr,
                    (std::string(text::kFileOpenError) + "\n\n" + text::kFileOpenHelp).c_str(),
                    nullptr, MB_OK);
    app.outlines.build(app.figure);
    app.settings.load(settingsPath ? settingsPath : settingsBesideProgram());
    const Extents e = app.figure.extents();
    CopyInputs rows = startupInputs(e.maxX - e.minX, e.maxY - e.minY);
    rows.keepAttributes = app.settings.settings.keepAttributes;
    app.model.setFigure(app.figure);
    app.model.setRows(rows);

    // Before the window exists only the system's DPI is known; a window that opens on a monitor
    // of another DPI is sized again for its own.
    const int dpi = systemDpi();
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
    const SIZE start96{kStartWidth, kStartHeight};
    const SIZE outer = outerSizeAt(start96, style, 0, dpi);
    CreateWindowExA(0, text::kMainClass, text::kCaption, style, scaled(kStartLeft, dpi),
                    scaled(kStartTop, dpi), outer.cx, outer.cy, nullptr, nullptr, instance, &app);
    if (!app.main) return nullptr;
    if (app.dpi != dpi) {
        const SIZE own = outerSizeAt(start96, style, 0, app.dpi);
        SetWindowPos(app.main, nullptr, 0, 0, own.cx, own.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateWindow(app.main);
    app.view.fitToExtents(e);
    showScale(app);
    app.ready = true;
    app.canvas.invalidate();
    return app.main;
}

BOOL getMessage(MSG* message) {
    return GetMessageA(message, nullptr, 0, 0);
}

int runMessageLoop(App& app, BOOL (*fetch)(MSG*)) {
    MSG message{};
    BOOL got;
    while ((got = fetch(&message)) > 0) {
        if (routeLoopInput(app, message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // 0: WM_QUIT and its code; -1: the fetch failed, and the message holds no code.
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}
