#pragma once

#include <windows.h>

#include "view/copy_layers.h"
#include "view/gdi_win.h"
#include "view/nav_gesture.h"
#include "view/pixels.h"
#include "view/raster_target.h"
#include "view/snap.h"

constexpr COLORREF kFigureColour = RGB(0, 0, 0);
constexpr COLORREF kCopyColour = RGB(50, 50, 255);
constexpr COLORREF kCopyPointColour = RGB(0, 0, 255);
constexpr COLORREF kAxisColour = RGB(200, 200, 200);
constexpr COLORREF kMarkerColour = RGB(255, 0, 0);
constexpr COLORREF kBackgroundColour = RGB(255, 255, 255);
constexpr int kCanvasId = 9;
// Gesture texts sit this far right of and below the start pixel (at 96 DPI).
constexpr int kLabelOffset = 5;
constexpr int kUiFontHeight = 12;  // the UI font's height at 96 DPI

// The gesture's feedback a picture shows over the axes: the rubber band from the start to the
// pointer, or a label at the start.
struct CanvasFeedback {
    GestureFeedback shown;
    PixelPoint start{};
    PixelPoint pointer{};
};

// The UI font for a DPI: every control, label and canvas text uses it.
GdiObject<HFONT> makeUiFont(int dpi);

// The preview area: an off-screen 32-bit DIB section drawn completely on every paint and
// copied to the canvas window in one BitBlt. Lines and dots are set in its memory by the
// raster target; GDI draws only the texts. The canvas window paints only in its own WM_PAINT
// (app/canvas_window_win.cpp); everything else invalidates it.
struct Canvas : RasterTarget {
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void createCanvasWindow(HWND parent, HINSTANCE instance);
    // The canvas window to its place at the panel's right, above the status strip, and a bitmap
    // of its size; false (nothing changed) for a window without room, such as a minimised one.
    bool resize(const RECT& mainClient, const RECT& statusClient, const RECT& panelClient);
    void invalidate();         // one paint follows, however often it is asked for
    void present(HDC target);  // the bitmap to the window, in one BitBlt

    // The steps of a picture, in this order, with clientRect and the view current: white, the
    // axes and the gesture's label (in font), then the figure and the copies through the raster
    // target, then what points at something over them: the zoom rectangle with its text, the
    // marker and the snap mark.
    void drawBackground(const CanvasFeedback& feedback, HFONT font, int dpi);
    void drawZoomFrame(const CanvasFeedback& feedback, HFONT font, int dpi);
    // The red cross at the base point; in pick mode the arrows at the pointer instead.
    void drawBasePointMarker(double baseX, double baseY, bool picking, PixelPoint pointer, int dpi);
    // Where a right click would snap: a square at an end, a point or the origin, a triangle at
    // a midpoint, a diamond at a centre.
    void drawSnapMark(const SnapTarget& target, int dpi);

    void drawLabel(int x, int y, const char* text, HFONT font);
    void flushLines();  // GDI finishes its text before pixels are set in memory
    void setPixel(int x, int y, COLORREF colour);

    bool ready() const { return window && memoryDC && bitmap; }

    GdiObject<HBITMAP> bitmap;  // its pixels are the raster target's
    HGDIOBJ originalBitmap = nullptr;

    RECT clientRect{};
    HWND window = nullptr;
    HDC memoryDC = nullptr;
    WNDPROC previousProc = nullptr;  // the static control's own

    CopyLayers copyLayers;  // scratch of the copies drawn on several threads
};
