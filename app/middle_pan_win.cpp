#include "app/middle_pan_win.h"

#include <windowsx.h>

#include "app/globals_win.h"
#include "app/mouse_input_win.h"

PanDrag thePan;

namespace {

void onMiddleDown(LPARAM lParam) {
    const PixelPoint at = canvasPixel(lParam);
    const POINT p{at.x, at.y};
    RECT canvas{};
    GetClientRect(theCanvas.window, &canvas);
    if (!PtInRect(&canvas, p)) return;  // over the panel's background: nothing to drag
    if (thePan.begin(p.x, p.y, theMouse.leftDown || theMouse.rightDown)) takeCapture();
}

void endPan() {
    thePan.end();
    releaseMouse();
}

bool onPanMove(WPARAM wParam, LPARAM lParam) {
    if (!thePan.active) return false;
    // The release went elsewhere (another program took the mouse): the drag is over.
    if (!(wParam & MK_MBUTTON)) {
        endPan();
        return false;
    }
    const PixelPoint at = canvasPixel(lParam);
    // A pan keeps the scale, the only thing the scale button and the scale dialog show: no
    // showScale here.
    if (thePan.moveTo(theCanvas.view, at.x, at.y)) theCanvas.invalidate();
    onMouseMove(lParam);  // the pointer position, and in pick mode the base point
    return true;
}

}  // namespace

bool handlePanMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MBUTTONDOWN:
            onMiddleDown(lParam);
            return true;
        case WM_MBUTTONUP:
            if (thePan.active) endPan();
            return true;
        case WM_MOUSEMOVE:
            return onPanMove(wParam, lParam);
        case WM_LBUTTONDOWN:
            return thePan.ignorePress(kPanLeft);
        case WM_RBUTTONDOWN:
            return thePan.ignorePress(kPanRight);
        case WM_LBUTTONUP:
            return thePan.ignoreRelease(kPanLeft);
        case WM_RBUTTONUP:
            return thePan.ignoreRelease(kPanRight);
        case WM_CAPTURECHANGED:  // another window took the mouse: no release will come
        case WM_CANCELMODE:
            if (message == WM_CANCELMODE ||
                reinterpret_cast<HWND>(lParam) != theCanvas.parentWindow)
                thePan.end();
            return false;  // the main window lets the capture go as for every button
    }
    return false;
}
