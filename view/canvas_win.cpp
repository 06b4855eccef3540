#include "view/canvas_win.h"

#include <algorithm>
#include <utility>

#include "view/view_texts.h"
#include "view/window_idioms_win.h"

namespace {

uint32_t dibColour(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) |
           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

GdiObject<HFONT> makeUiFont(int dpi) {
    return GdiObject<HFONT>(CreateFontA(scaled(kUiFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE,
                                        FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY,
                                        FIXED_PITCH | FF_MODERN, text::kFontFace));
}

Canvas::Canvas() {
    figureColour = dibColour(kFigureColour);
    copyLineColour = dibColour(kCopyColour);
    copyDotColour = dibColour(kCopyPointColour);
}

Canvas::~Canvas() {
    if (memoryDC) {
        // Nothing of ours may stay selected when it is deleted: deleting the DC releases all.
        SelectObject(memoryDC, originalBitmap);
        DeleteDC(memoryDC);
        memoryDC = nullptr;
    }
}

void Canvas::createCanvasWindow(HWND parent, HINSTANCE instance) {
    window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 300, parent,
                             idAsMenu(kCanvasId), instance, nullptr);
}

bool Canvas::resize(const RECT& m, const RECT& s, const RECT& p) {
    const int x0 = p.right - p.left;
    const int w = (m.right - m.left) - x0;
    const int h = (m.bottom - m.top) - (s.bottom - s.top);
    // A minimised window reports 0 x 0: keep the last layout and bitmap.
    if (w < 1 || h < 1 || !window) return false;
    MoveWindow(window, x0, 0, w, h, TRUE);
    WindowDc dc(window);
    if (!memoryDC) memoryDC = CreateCompatibleDC(dc.get());
    GetClientRect(window, &clientRect);
    const int bw = clientRect.right - clientRect.left;
    const int bh = clientRect.bottom - clientRect.top;
    if (memoryDC && bw > 0 && bh > 0) {
        uint32_t* memory = nullptr;
        GdiObject<HBITMAP> next = makeDib(dc.get(), bw, bh, memory);
        if (next) {
            HGDIOBJ previous = SelectObject(memoryDC, next.get());
            if (!originalBitmap) originalBitmap = previous;
            bitmap = std::move(next);  // the old bitmap is no longer selected: safe to delete
            setBitmap(memory, bw, bh);
        }
    }
    return true;
}

void Canvas::invalidate() {
    if (window) InvalidateRect(window, nullptr, FALSE);
}

void Canvas::flushLines() {
    GdiFlush();
}

void Canvas::setPixel(int x, int y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= bitmapWidth || y >= bitmapHeight) return;
    bits[static_cast<size_t>(y) * bitmapWidth + x] = dibColour(colour);
}

void Canvas::drawBasePointMarker(double baseX, double baseY, bool picking, PixelPoint pointer,
                                 int dpi) {
    // Longer arms at a higher DPI, still one pixel wide.
    if (picking) {
        const PixelPoint p = pointer;
        const int arm = scaled(9, dpi);
        for (int k = 0; k <= arm; ++k) {
            setPixel(p.x + k, p.y, kMarkerColour);
            setPixel(p.x - k, p.y, kMarkerColour);
            setPixel(p.x, p.y + k, kMarkerColour);
            setPixel(p.x, p.y - k, kMarkerColour);
        }
        // Four arrow tips, pointing outwards: the tip and two diagonal flanks (five pixels at
        // 96 DPI).
        const int tip = scaled(10, dpi), flank = scaled(2, dpi);
        for (int dir = -1; dir <= 1; dir += 2) {
            for (int i = 0; i <= flank; ++i) {
                for (int side = -1; side <= 1; side += 2) {
                    const int along = (tip - i) * dir, across = i * side;
                    setPixel(p.x + along, p.y + across, kMarkerColour);  // right, left
                    setPixel(p.x + across, p.y + along, kMarkerColour);  // down, up
                }
            }
        }
        return;
    }
    const PixelPoint b = toPixel(view.worldToScreen(baseX, baseY));
    const int arm = scaled(4, dpi);
    for (int k = 0; k <= arm; ++k) {
        setPixel(b.x + k, b.y, kMarkerColour);
        setPixel(b.x - k, b.y, kMarkerColour);
        setPixel(b.x, b.y + k, kMarkerColour);
        setPixel(b.x, b.y - k, kMarkerColour);
    }
}

void Canvas::drawLabel(int x, int y, const char* text, HFONT font) {
    SelectGuard selected(memoryDC, font);
    SetBkColor(memoryDC, kAxisColour);
    SetBkMode(memoryDC, OPAQUE);
    TextOutA(memoryDC, x, y, text, lstrlenA(text));
}

void Canvas::present(HDC target) {
    BitBlt(target, 0, 0, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top,
           memoryDC, 0, 0, SRCCOPY);
}

void Canvas::drawBackground(const CanvasFeedback& feedback, HFONT font, int dpi) {
    GdiFlush();
    const uint32_t white = dibColour(kBackgroundColour);
    const int fillWidth = std::min<int>(clientRect.right, bitmapWidth);
    const int fillHeight = std::min<int>(clientRect.bottom, bitmapHeight);
    for (int y = 0; y < fillHeight; ++y)
        std::fill_n(bits + static_cast<size_t>(y) * bitmapWidth, fillWidth, white);

    // Axes through the world origin, set in memory like every line: the only GDI calls of a
    // repaint are the texts and the BitBlt. Offsets may be any int32: the sums in 64 bits, and
    // only a visible axis is drawn.
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

    const PixelPoint s = feedback.start;
    const int labelOffset = scaled(kLabelOffset, dpi);
    if (feedback.shown.label && !feedback.shown.rubberBand)
        drawLabel(s.x + labelOffset, s.y + labelOffset, feedback.shown.label, font);
    GdiFlush();  // before anything is set in the bitmap's memory
}

void Canvas::drawZoomFrame(const CanvasFeedback& feedback, HFONT font, int dpi) {
    if (!feedback.shown.rubberBand) return;
    const PixelPoint s = feedback.start, c = feedback.pointer;
    const int labelOffset = scaled(kLabelOffset, dpi);
    drawLabel(s.x + labelOffset, s.y + labelOffset, text::kZoomIn, font);
    GdiFlush();  // the text first, then the frame over it
    lineColour = dibColour(kAxisColour);
    const PixelPoint corners[5] = {{c.x, c.y}, {s.x, c.y}, {s.x, s.y}, {c.x, s.y}, {c.x, c.y}};
    for (int i = 0; i < 4; ++i) drawPixelSegment(corners[i], corners[i + 1]);
}

void Canvas::drawSnapMark(const SnapTarget& target, int dpi) {
    if (!target.found) return;
    const Point2 at = view.worldToScreen(target.at.x, target.at.y);
    if (!nearPixel(at)) return;
    const PixelPoint p = truncatePixel(at);
    const int r = scaled(5, dpi);
    PixelPoint corners[4] = {
        {p.x - r, p.y - r}, {p.x + r, p.y - r}, {p.x + r, p.y + r}, {p.x - r, p.y + r}};
    int n = 4;
    if (target.kind == SnapKind::middle) {
        corners[0] = {p.x, p.y - r};
        corners[1] = {p.x + r, p.y + r};
        corners[2] = {p.x - r, p.y + r};
        n = 3;
    } else if (target.kind == SnapKind::centre) {
        corners[0] = {p.x, p.y - r};
        corners[1] = {p.x + r, p.y};
        corners[2] = {p.x, p.y + r};
        corners[3] = {p.x - r, p.y};
    }
    lineColour = dibColour(kMarkerColour);
    // Each corner starts a side: the closed outline lights every corner.
    for (int i = 0; i < n; ++i) drawPixelSegment(corners[i], corners[(i + 1) % n]);
}
