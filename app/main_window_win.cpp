#include "app/main_window_win.h"

#include "app/child_layout_win.h"
#include "app/globals_win.h"
#include "app/loop_input_win.h"
#include "app/middle_pan_win.h"
#include "app/mouse_input_win.h"
#include "app/panel_values.h"
#include "app/preview_repaint_win.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "figure/exchange_io_names.h"
#include "figure/reader.h"
#include "view/dpi_win.h"
#include "view/window_idioms_win.h"

namespace {

IconHandle bigIcon, smallIcon;

// The program's icon at the sizes of the DPI now: the resource holds 16, 24, 32 and 48 pixels.
void setIcons(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const int big = uiPixels(kBigIcon), small = uiPixels(kSmallIcon);
    IconHandle nextBig(static_cast<HICON>(LoadImageA(instance, "MYICON", IMAGE_ICON, big, big, 0)));
    IconHandle nextSmall(
        static_cast<HICON>(LoadImageA(instance, "MYICON", IMAGE_ICON, small, small, 0)));
    if (nextBig.get())
        SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(nextBig.get()));
    if (nextSmall.get())
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(nextSmall.get()));
    // The window no longer shows the old ones: they may go.
    if (nextBig.get()) bigIcon = std::move(nextBig);
    if (nextSmall.get()) smallIcon = std::move(nextSmall);
}

void onCreate(HWND window, LPARAM lParam) {
    const CREATESTRUCTA& creation = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
    // Everything below is made at the window's DPI.
    theCanvas.view.dpi = windowDpi(window);
    if (theCanvas.view.dpi != kBaseDpi) theCanvas.uiFont = makeUiFont(theCanvas.view.dpi);
    setIcons(window);
    thePanel.create(window, creation);
    theCanvas.createCanvasWindow(window, creation.hInstance);
    subclassCanvas();
    theScaleDialog.create(window, creation.hInstance);
}

void onSize(HWND window, WPARAM wParam, LPARAM lParam) {
    RECT client{};
    GetClientRect(window, &client);
    thePanel.layout(window, wParam, lParam, client);
    RECT strip{}, panel{};
    GetClientRect(thePanel.statusStrip, &strip);
    GetClientRect(thePanel.panel, &panel);
    theCanvas.resize(client, strip, panel);
    theScaleDialog.place(window);
    UpdateWindow(window);
}

// Another monitor's scaling, or the scaling changed: the suggested rectangle, every size and
// the font at the new DPI; the values stay, and the drawing keeps its size and centre.
void onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    const int dpi = HIWORD(wParam);
    if (dpi <= 0) return;
    theCanvas.view.changeDpi(dpi);
    GdiObject<HFONT> font = makeUiFont(dpi);
    replaceFont(window, theCanvas.uiFont.get(), font.get());
    if (theScaleDialog.popup) replaceFont(theScaleDialog.popup, theCanvas.uiFont.get(), font.get());
    theCanvas.uiFont = std::move(font);  // no window draws with the old one any more
    setIcons(window);
    thePanel.placeControls();
    theScaleDialog.placeControls();
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The same rectangle brings no WM_SIZE: lay out for the new sizes all the same.
    RECT client{};
    GetClientRect(window, &client);
    onSize(window, IsIconic(window) ? SIZE_MINIMIZED : SIZE_RESTORED,
           MAKELPARAM(client.right, client.bottom));
    thePanel.showScale();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void onPaint(HWND window) {
    // The children cover the whole client area. The panel and the status bar, and the controls
    // on them, are painted again now: without WS_CLIPCHILDREN what uncovered the main window
    // covered them too, and Wine does not always tell them. The canvas paints on its own.
    ValidateRect(window, nullptr);
    redrawNow(thePanel.statusBar);
    redrawNow(thePanel.panel);
}

void onClose(HWND window) {
    if (MessageBoxA(window, text::kQuitQuestion, text::kConfirm, MB_YESNO | MB_ICONINFORMATION) ==
        IDYES)
        SendMessageA(window, WM_DESTROY, 0, 0);
}

void onGetMinMaxInfo(LPARAM lParam) {
    MINMAXINFO& info = *reinterpret_cast<MINMAXINFO*>(lParam);
    info.ptMinTrackSize.x = uiPixels(kMinTrackWidth);
    info.ptMinTrackSize.y = uiPixels(kMinTrackHeight);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePanMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_CREATE:
            onCreate(window, lParam);
            return 0;
        case WM_SIZE:
            onSize(window, wParam, lParam);
            return 0;
        case WM_PAINT:
            onPaint(window);
            return 0;
        case WM_CLOSE:
            onClose(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(lParam);
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(window, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            onMouseMove(lParam);
            return 0;
        case WM_LBUTTONDOWN:
            onButtonDown(MouseButton::left, lParam);
            return 0;
        case WM_LBUTTONUP:
            onButtonUp(MouseButton::left, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            onButtonDown(MouseButton::right, lParam);
            return 0;
        case WM_RBUTTONUP:
            onButtonUp(MouseButton::right, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            onCaptureChanged();
            return 0;
        case WM_CANCELMODE:
            cancelMouse();
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

HWND startZovrel(HINSTANCE instance, const char* exchangePath, const char* settingsPath) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MYICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = text::kMainClass;
    if (!RegisterClassA(&wc)) return nullptr;

    if (!loadFigure(exchangePath, theFigure))
        MessageBoxA(nullptr, text::kFileOpenError, nullptr, MB_OK);
    theFigureBounds = figureBounds(theFigure);
    theFigureReach = figureReach(theFigure);
    thePanel.model.setFigure(theFigure);

    // Before the window exists only the system's DPI is known; a window that opens on a monitor
    // of another DPI is sized again for its own.
    const int dpi = systemDpi();
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    const SIZE start96{kStartWidth, kStartHeight};
    const SIZE outer = outerSizeAt(start96, style, 0, dpi);
    CreateWindowExA(0, text::kMainClass, text::kCaption, style, scaled(kStartLeft, dpi),
                    scaled(kStartTop, dpi), outer.cx, outer.cy, nullptr, nullptr, instance,
                    nullptr);
    HWND main = theCanvas.parentWindow;
    if (!main) return nullptr;
    if (theCanvas.view.dpi != dpi) {
        const SIZE own = outerSizeAt(start96, style, 0, theCanvas.view.dpi);
        SetWindowPos(main, nullptr, 0, 0, own.cx, own.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateWindow(main);
    const Extents& e = theFigure.extents;
    theCanvas.view.fitToExtents(e);
    thePanel.setDefaultMoves((e.maxX - e.minX) * kDefaultMoveFactor,
                             (e.maxY - e.minY) * kDefaultMoveFactor);
    thePanel.rowsChanged();
    thePanel.loadLastValues(settingsPath ? settingsPath : settingsBesideProgram());
    thePanel.showScale();
    previewReady = 1;
    theCanvas.invalidate();
    return main;
}

BOOL getMessage(MSG* message) {
    return GetMessageA(message, nullptr, 0, 0);
}

int runMessageLoop(BOOL (*fetch)(MSG*)) {
    MSG message{};
    BOOL got;
    while ((got = fetch(&message)) > 0) {
        if (routeLoopInput(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // 0: WM_QUIT and its code; -1: the fetch failed, and the message holds no code.
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}
