#include "app/middle_pan_win.h"

#include "app/app_win.h"
#include "app/mouse_input_win.h"

namespace {

void onMiddleDown(App& app, LPARAM lParam) {
    const PixelPoint at = canvasPixel(app, lParam);
    const POINT p{at.x, at.y};
    RECT canvas{};
    GetClientRect(app.canvas.window, &canvas);
    if (!PtInRect(&canvas, p)) return;  // over the panel's background: nothing to drag
    if (app.pan.begin(p.x, p.y, app.mouse.leftDown || app.mouse.rightDown)) takeCapture(app);
}

void endPan(App& app) {
    app.pan.end();
    releaseMouse(app);
}

bool onPanMove(App& app, WPARAM wParam, LPARAM lParam) {
    if (!app.pan.active) return false;
    // The release went elsewhere (another program took the mouse): the drag is over.
    if (!(wParam & MK_MBUTTON)) {
        endPan(app);
        return false;
    }
    const PixelPoint at = canvasPixel(app, lParam);
    // A pan keeps the scale, the only thing the scale button and the scale dialog show; the
    // move below takes a picked base point along.
    if (app.pan.moveTo(app.view, at.x, at.y)) app.canvas.invalidate();
    onMouseMove(app, lParam);  // the pointer position, and in pick mode the base point
    return true;
}

}  // namespace

bool handlePanMessage(App& app, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MBUTTONDOWN:
            onMiddleDown(app, lParam);
            return true;
        case WM_MBUTTONUP:
            if (app.pan.active) endPan(app);
            return true;
        case WM_MOUSEMOVE:
            return onPanMove(app, wParam, lParam);
        case WM_LBUTTONDOWN:
            return app.pan.ignorePress(kPanLeft);
        case WM_RBUTTONDOWN:
            return app.pan.ignorePress(kPanRight);
        case WM_LBUTTONUP:
            return app.pan.ignoreRelease(kPanLeft);
        case WM_RBUTTONUP:
            return app.pan.ignoreRelease(kPanRight);
        case WM_CAPTURECHANGED:  // another window took the mouse: no release will come
        case WM_CANCELMODE:
            if (message == WM_CANCELMODE || reinterpret_cast<HWND>(lParam) != app.main)
                app.pan.end();
            return false;  // the main window lets the capture go as for every button
    }
    return false;
}
