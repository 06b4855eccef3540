#include "view/canvas_win.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "view/view_hooks_win.h"
#include "view/view_texts.h"
#include "view/window_idioms_win.h"

namespace {

uint32_t dibColour(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) |
           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

Canvas::Canvas()
    : copyPen(makePen(kCopyColour)),
      axisPen(makePen(kAxisColour)),
      figurePen(makePen(kFigureColour)),
      uiFont(CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0,
                         PROOF_QUALITY, FIXED_PITCH | FF_MODERN, text::kFontFace)) {
    copyLineColour = dibColour(kCopyColour);
    copyDotColour = dibColour(kCopyPointColour);
}

Canvas::~Canvas() {
    if (memoryDC) {
        // Nothing of ours may stay selected when it is deleted: deleting the DC releases all.
        SelectObject(memoryDC, originalBitmap);
        SelectObject(memoryDC, GetStockObject(BLACK_PEN));
        DeleteDC(memoryDC);
        memoryDC = nullptr;
    }
}

int Canvas::setParentWindow(HWND main) {
    if (!main) return 0;
    parentWindow = main;
    return 1;
}

void Canvas::createCanvasWindow(HWND parent, HINSTANCE instance) {
    window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 300, parent,
                             idAsMenu(kCanvasId), instance, nullptr);
}

void Canvas::resize(const RECT& m, const RECT& s, const RECT& p) {
    const int x0 = p.right - p.left;
    const int w = (m.right - m.left) - x0;
    const int h = (m.bottom - m.top) - (s.bottom - s.top);
    // A minimised window reports 0 x 0: keep the last layout and bitmap.
    if (w < 1 || h < 1 || !window) return;
    MoveWindow(window, x0, 0, w, h, TRUE);
    left = x0;
    view.setClientSize(w, h);
    WindowDc dc(window);
    windowDC = dc.get();
    if (!memoryDC) memoryDC = CreateCompatibleDC(windowDC);
    GetClientRect(window, &clientRect);
    const int bw = clientRect.right - clientRect.left;
    const int bh = clientRect.bottom - clientRect.top;
    if (memoryDC && bw > 0 && bh > 0) {
        uint32_t* memory = nullptr;
        GdiObject<HBITMAP> next = makeDib(windowDC, bw, bh, memory);
        if (next) {
            HGDIOBJ previous = SelectObject(memoryDC, next.get());
            if (!originalBitmap) originalBitmap = previous;
            bitmap = std::move(next);  // the old bitmap is no longer selected: safe to delete
            setBitmap(memory, bw, bh);
        }
    }
    windowDC = nullptr;
}

void Canvas::setRubberBand(int on) {
    rubberBandVisible = on ? 1 : 0;
    repaint();
}

void Canvas::showLabel(const char* text) {
    lstrcpynA(labelText, text, sizeof labelText);
    labelVisible = 1;
    repaint();
}

void Canvas::hideLabel() {
    labelVisible = 0;
    repaint();
}

void Canvas::clearFeedback() {
    rubberBandVisible = 0;
    labelVisible = 0;
    repaint();
}

void Canvas::flushLines() {
    GdiFlush();
}

void Canvas::begin(CanvasStep step) {
    flushLines();
    switch (step) {
        case CanvasStep::figureLines:
            SelectObject(memoryDC, figurePen.get());
            lineColour = dibColour(kFigureColour);
            break;
        case CanvasStep::figureDots:
            dotColour = dibColour(kFigureColour);
            break;
        case CanvasStep::copyLines:
            SelectObject(memoryDC, copyPen.get());
            lineColour = dibColour(kCopyColour);
            break;
        case CanvasStep::copyDots:
            dotColour = dibColour(kCopyPointColour);
            break;
    }
}

void Canvas::drawSegment(LineItem& item, const ScreenMap& map) {
    const Point2 a = map.world(item.x1, item.y1);
    const Point2 b = map.world(item.x2, item.y2);
    item.sx1 = a.x;
    item.sy1 = a.y;
    item.sx2 = b.x;
    item.sy2 = b.y;
    drawSegmentPixels(a, b);
}

void Canvas::setPixel(int x, int y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= bitmapWidth || y >= bitmapHeight) return;
    bits[static_cast<size_t>(y) * bitmapWidth + x] = dibColour(colour);
}

void Canvas::pickBasePoint(PixelPoint pointer, double& baseX, double& baseY) const {
    const Point2 base = view.screenToWorld(pointer.x, pointer.y);
    baseX = base.x;
    baseY = base.y;
}

void Canvas::drawBasePointMarker(double& baseX, double& baseY, bool picking, PixelPoint pointer) {
    if (picking) {
        const PixelPoint p = pointer;
        pickBasePoint(p, baseX, baseY);
        for (int k = 0; k <= 9; ++k) {
            setPixel(p.x + k, p.y, kMarkerColour);
            setPixel(p.x - k, p.y, kMarkerColour);
            setPixel(p.x, p.y + k, kMarkerColour);
            setPixel(p.x, p.y - k, kMarkerColour);
        }
        // Four arrow tips of five pixels, pointing outwards.
        for (int dir = -1; dir <= 1; dir += 2) {
            const int tip = 10 * dir, one = 9 * dir, two = 8 * dir;
            const int xs[5] = {tip, one, two, one, two}, ys[5] = {0, -1, -2, 1, 2};
            for (int i = 0; i < 5; ++i) {
                setPixel(p.x + xs[i], p.y + ys[i], kMarkerColour);  // right, left
                setPixel(p.x + ys[i], p.y + xs[i], kMarkerColour);  // down, up
            }
        }
        return;
    }
    const PixelPoint b = toPixel(view.worldToScreen(baseX, baseY));
    for (int k = 0; k <= 4; ++k) {
        setPixel(b.x + k, b.y, kMarkerColour);
        setPixel(b.x - k, b.y, kMarkerColour);
        setPixel(b.x, b.y + k, kMarkerColour);
        setPixel(b.x, b.y - k, kMarkerColour);
    }
}

void Canvas::drawText(int x, int y, const char* text) {
    SelectGuard font(memoryDC, uiFont.get());
    SetBkColor(memoryDC, kAxisColour);
    SetBkMode(memoryDC, OPAQUE);
    TextOutA(memoryDC, x, y, text, lstrlenA(text));
}

void Canvas::repaint() {
    // Nothing to draw into before the first resize.
    if (!ready()) return;
    const auto started = std::chrono::steady_clock::now();
    ++repaints;
    windowDC = BeginPaint(window, &paintState);
    GetClientRect(window, &clientRect);
    theViewHooks.drawScene(started);
    EndPaint(window, &paintState);
    windowDC = nullptr;
    present();
}

void Canvas::present() {
    WindowDc dc(window);
    BitBlt(dc.get(), 0, 0, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top,
           memoryDC, 0, 0, SRCCOPY);
}

void Canvas::drawBackground(const MouseTracker& mouse) {
    GdiFlush();
    const uint32_t white = dibColour(kBackgroundColour);
    const int fillWidth = std::min<int>(clientRect.right, bitmapWidth);
    const int fillHeight = std::min<int>(clientRect.bottom, bitmapHeight);
    for (int y = 0; y < fillHeight; ++y)
        std::fill_n(bits + static_cast<size_t>(y) * bitmapWidth, fillWidth, white);

    // Axes through the world origin, set in memory like every line: the only GDI calls of a
    // repaint are the texts and the BitBlt.
    view.setClientSize(clientRect.right, clientRect.bottom);
    // Offsets may be any int32: the sums in 64 bits, and only a visible axis is drawn.
    const int64_t axisX = static_cast<int64_t>(view.halfWidth) - view.offsetX;
    const int64_t axisY = static_cast<int64_t>(view.halfHeight) - view.offsetY;
    lineColour = dibColour(kAxisColour);
    if (axisX >= clientRect.left && axisX < clientRect.right) {
        const int32_t x = static_cast<int32_t>(axisX);
        drawPixelSegment({x, clientRect.top}, {x, clientRect.bottom});
    }
    if (axisY >= clientRect.top && axisY < clientRect.bottom) {
        const int32_t y = static_cast<int32_t>(axisY);
        drawPixelSegment({clientRect.left, y}, {clientRect.right, y});
    }

    const PixelPoint s = mouse.gestureStart;
    if (rubberBandVisible) {
        const PixelPoint c = mouse.pointerPos;
        drawText(s.x + kLabelOffset, s.y + kLabelOffset, text::kZoomIn);
        GdiFlush();  // the text first, then the frame over it
        const PixelPoint corners[5] = {{c.x, c.y}, {s.x, c.y}, {s.x, s.y}, {c.x, s.y}, {c.x, c.y}};
        for (int i = 0; i < 4; ++i) drawPixelSegment(corners[i], corners[i + 1]);
    }
    if (labelVisible) drawText(s.x + kLabelOffset, s.y + kLabelOffset, labelText);
    GdiFlush();  // before anything is set in the bitmap's memory
}

void Canvas::drawFigure(Figure& figure) {
    // Line colour and dot colour agree, so their order cannot show.
    begin(CanvasStep::figureLines);
    const ScreenMap map(view);
    for (LineItem& item : figure.lines) drawSegment(item, map);
    for (const CircleItem& c : figure.circles) drawCircle(c, Matrix3());
    for (PolylineItem& p : figure.polylines)
        for (LineItem& item : p.segments) drawSegment(item, map);
    begin(CanvasStep::figureDots);
    drawDots(figure.points, Matrix3());  // the figure holds only finite numbers: exact
}
