#pragma once

#include <windows.h>

#include <vector>

#include "figure/figure.h"
#include "figure/matrix3.h"
#include "view/copy_layers.h"
#include "view/gdi_win.h"
#include "view/mouse_tracker.h"
#include "view/pixels.h"
#include "view/raster_target.h"
#include "view/view_mapping.h"

constexpr COLORREF kFigureColour = RGB(0, 0, 0);
constexpr COLORREF kCopyColour = RGB(50, 50, 255);
constexpr COLORREF kCopyPointColour = RGB(0, 0, 255);
constexpr COLORREF kAxisColour = RGB(200, 200, 200);
constexpr COLORREF kMarkerColour = RGB(255, 0, 0);
constexpr COLORREF kBackgroundColour = RGB(255, 255, 255);
constexpr int kCanvasId = 9;
constexpr int kLabelOffset = 5;  // gesture texts sit this far right of and below the start pixel

// What the canvas draws next. Each step sets the colour its lines or dots are set in memory
// with, after GDI has finished the text drawn before it.
enum class CanvasStep { figureLines, figureDots, copyLines, copyDots };

// The preview area: an off-screen 32-bit DIB section drawn completely on every repaint and
// copied to the canvas window in one BitBlt. Lines and dots are set in its memory by the
// raster target; GDI draws only the texts.
struct Canvas : RasterTarget {
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int setParentWindow(HWND main);
    void createCanvasWindow(HWND parent, HINSTANCE instance);
    void resize(const RECT& mainClient, const RECT& statusClient, const RECT& panelClient);
    // Draws the picture through the scene hook between BeginPaint and one BitBlt.
    void repaint();
    void present();  // the bitmap to the window, in one BitBlt
    void setRubberBand(int on);
    void showLabel(const char* text);
    void hideLabel();
    void clearFeedback();  // neither rubber band nor label, in one repaint

    // The steps of a picture, in this order (clientRect must be current).
    void drawBackground(const MouseTracker& mouse);  // white, axes, gesture feedback
    void drawFigure(Figure& figure);
    // The red cross at the base point; in pick mode the arrows at the pointer, which also
    // moves the base point there.
    void drawBasePointMarker(double& baseX, double& baseY, bool picking, PixelPoint pointer);
    void pickBasePoint(PixelPoint pointer, double& baseX, double& baseY) const;
    // The figure and the marker are what lies under the copies (see drawCopiesInLayers).

    void begin(CanvasStep step);
    // Also records the item's screen position.
    void drawSegment(LineItem& item, const ScreenMap& map);
    void drawText(int x, int y, const char* text);
    void flushLines();  // GDI finishes its text before pixels are set in memory
    void setPixel(int x, int y, COLORREF colour);

    bool ready() const { return window && memoryDC && bitmap; }

    GdiObject<HBITMAP> bitmap;  // its pixels are the raster target's
    HGDIOBJ originalBitmap = nullptr;

    PAINTSTRUCT paintState{};
    RECT clientRect{};
    int rubberBandVisible = 0;
    int labelVisible = 0;
    char labelText[128] = {};
    GdiObject<HPEN> copyPen;
    GdiObject<HPEN> axisPen;
    GdiObject<HPEN> figurePen;
    HWND window = nullptr;
    HDC windowDC = nullptr;
    HDC memoryDC = nullptr;
    GdiObject<HFONT> uiFont;
    HWND parentWindow = nullptr;

    CopyLayers copyLayers;  // scratch of the copies drawn on several threads
    int32_t left = 0;       // the canvas's x in the main window's client area
    int repaints = 0;
};

extern Canvas theCanvas;
