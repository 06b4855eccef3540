#pragma once

#include <windows.h>

#include <chrono>
#include <vector>

#include "copyarray/copy_preview.h"
#include "copyarray/matrix3.h"
#include "figure/figure.h"
#include "view/gdi.h"
#include "view/pixels.h"
#include "view/view_mapping.h"

constexpr COLORREF kFigureColour = RGB(0, 0, 0);
constexpr COLORREF kCopyColour = RGB(50, 50, 255);
constexpr COLORREF kCopyPointColour = RGB(0, 0, 255);
constexpr COLORREF kAxisColour = RGB(200, 200, 200);
constexpr COLORREF kMarkerColour = RGB(255, 0, 0);
constexpr COLORREF kBackgroundColour = RGB(255, 255, 255);
constexpr int kCanvasId = 9;
// A repaint stops drawing further copies once it has spent this long, so the window never hangs.
constexpr int kPreviewBudgetMs = 100;
constexpr int kLabelOffset = 5;  // gesture texts sit this far right of and below the start pixel

// Segments and outlines in pixels, handed to GDI in PolyPolyline calls. GDI lights the same
// pixels as one MoveToEx/LineTo pair per segment: each piece still leaves out its last pixel,
// and a joint is drawn by the piece that starts there.
struct PolylineBatch {
    std::vector<POINT> points;
    std::vector<DWORD> counts;

    void segment(PixelPoint a, PixelPoint b);
    void moveTo(PixelPoint p);  // starts a new piece
    void lineTo(PixelPoint p);  // continues the current piece
    void flush(HDC dc);
};

// The preview area: an off-screen 32-bit DIB section drawn completely on every repaint and
// copied to the canvas window in one BitBlt.
struct Canvas {
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int setParentWindow(HWND main);
    void createCanvasWindow(HWND parent, HINSTANCE instance);
    void resize(const RECT& mainClient, const RECT& statusClient, const RECT& panelClient);
    void repaint();
    // Draws the whole scene into the bitmap (clientRect must be current); repaint's work
    // between BeginPaint and the BitBlt.
    PreviewResult render(Figure& figure, const Bounds& bounds, CopyArray& copies,
                         const CopyInputs& inputs, std::chrono::steady_clock::time_point deadline);
    void present();  // the bitmap to the window, in one BitBlt
    void setRubberBand(int on);
    void showLabel(const char* text);
    void hideLabel();

    // Primitives, drawing into the bitmap with the pen selected last.
    void selectCopyPen();
    void drawSegment(LineItem& item);  // also records the item's screen position
    void drawSegmentPixels(const Point2& a, const Point2& b);
    void drawPixelSegment(PixelPoint a, PixelPoint b);
    void drawCircle(const CircleItem& circle, const Matrix3& m);
    void drawPointDot(double x, double y, COLORREF colour);
    void drawBasePointMarker(CopyArray& copies);  // in pick mode it moves the base point
    void drawText(int x, int y, const char* text);
    void flushLines();  // before pixels are set in memory, and before a pen changes
    void setPixel(int x, int y, COLORREF colour);

    bool ready() const { return window && memoryDC && bitmap; }
    bool inBitmap(PixelPoint p) const {
        return p.x >= 0 && p.y >= 0 && p.x < bitmapWidth && p.y < bitmapHeight;
    }

    // Bitmap.
    GdiObject<HBITMAP> bitmap;
    uint32_t* bits = nullptr;  // top-down rows of 0x00RRGGBB
    int bitmapWidth = 0;
    int bitmapHeight = 0;
    HGDIOBJ originalBitmap = nullptr;

    PAINTSTRUCT paintState{};
    RECT clientRect{};
    int rubberBandVisible = 0;
    int labelVisible = 0;
    char labelText[128] = {};
    GdiObject<HPEN> copyPen;
    GdiObject<HPEN> axisPen;
    GdiObject<HPEN> figurePen;
    ViewMapping view;
    HWND window = nullptr;
    HDC windowDC = nullptr;
    HDC memoryDC = nullptr;
    GdiObject<HFONT> uiFont;
    HWND parentWindow = nullptr;

    PolylineBatch lines;      // lines that leave the bitmap, for GDI to clip
    uint32_t lineColour = 0;  // the selected pen's colour, for lines set in memory
    // What the last repaint's preview managed: copies drawn of copies asked for.
    int copiesDrawn = 0;
    int copiesWanted = 0;
    bool copiesClamped = false;
    int repaints = 0;
};
