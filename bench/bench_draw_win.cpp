// One repaint of an 800 x 600 canvas, the product against the plain way (a compatible bitmap,
// FillRect, one MoveToEx/LineTo pair per segment, one SetPixel per dot pixel), under Wine.
// Prints rows of the benchmark table, and whether both drew the same pixels.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/canvas_window_win.h"
#include "app/panel_values.h"
#include "bench/bench_table.h"
#include "bench/workload.h"
#include "figure/outline.h"
#include "figure/reader.h"
#include "figure/workers.h"
#include "view/canvas_win.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The plain renderer, as the drawing was first written.
struct PlainCanvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ original;
    const ViewMapping& view;
    const FigureOutlines& outlines;

    PlainCanvas(HDC window, const ViewMapping& v, const FigureOutlines& o)
        : dc(CreateCompatibleDC(window)),
          bitmap(CreateCompatibleBitmap(window, kWidth, kHeight)),
          view(v),
          outlines(o) {
        original = SelectObject(dc, bitmap);
    }
    ~PlainCanvas() {
        SelectObject(dc, original);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    POINT pixel(double x, double y) const {
        const Point2 s = view.worldToScreen(x, y);
        return {static_cast<LONG>(s.x), static_cast<LONG>(s.y)};
    }
    void segment(double x1, double y1, double x2, double y2) {
        const POINT a = pixel(x1, y1), b = pixel(x2, y2);
        MoveToEx(dc, a.x, a.y, nullptr);
        LineTo(dc, b.x, b.y);
    }
    void circle(const Figure& f, std::size_t index, const Matrix3& m) {
        Point2 room[kMaxOutlinePoints];
        std::size_t count = 0;
        const Point2* outline = outlines.of(index, f.circles[index], room, count);
        for (size_t i = 0; i < count; ++i) {
            const POINT p = pixel(m.transformX(outline[i].x, outline[i].y),
                                  m.transformY(outline[i].x, outline[i].y));
            if (i == 0)
                MoveToEx(dc, p.x, p.y, nullptr);
            else
                LineTo(dc, p.x, p.y);
        }
    }
    void dot(double x, double y, COLORREF colour) {
        const POINT p = pixel(x, y);
        for (int v = -2; v <= 2; ++v)
            for (int u = -2; u <= 2; ++u)
                if (!(std::abs(u) == 2 && std::abs(v) == 2)) SetPixel(dc, p.x + u, p.y + v, colour);
    }
    void render(const Figure& f, const CopyArray& copies, const CopyInputs& inputs) {
        RECT r{0, 0, kWidth, kHeight};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HPEN axis = CreatePen(PS_SOLID, 0, kAxisColour),
             figure = CreatePen(PS_SOLID, 0, kFigureColour),
             copy = CreatePen(PS_SOLID, 0, kCopyColour);
        HGDIOBJ old = SelectObject(dc, axis);
        MoveToEx(dc, view.halfWidth - view.offsetX, 0, nullptr);
        LineTo(dc, view.halfWidth - view.offsetX, kHeight);
        MoveToEx(dc, 0, view.halfHeight - view.offsetY, nullptr);
        LineTo(dc, kWidth, view.halfHeight - view.offsetY);
        SelectObject(dc, figure);
        const Matrix3 identity;
        for (const LineItem& s : f.lines) segment(s.x1, s.y1, s.x2, s.y2);
        for (std::size_t i = 0; i < f.circles.size(); ++i) circle(f, i, identity);
        for (const PointItem& p : f.points) dot(p.x, p.y, kFigureColour);
        for (const PolylineItem& p : f.polylines)
            for (const LineItem& s : p.segments) segment(s.x1, s.y1, s.x2, s.y2);
        SelectObject(dc, copy);
        const CopyParameters params = evaluateCopyParameters(inputs);
        CopySteps steps(params);
        for (int k = 1; k <= params.copies; ++k) {
            const Matrix3 m = copies.copyMatrix(params, steps.next());
            auto seg = [&](const LineItem& s) {
                segment(m.transformX(s.x1, s.y1), m.transformY(s.x1, s.y1),
                        m.transformX(s.x2, s.y2), m.transformY(s.x2, s.y2));
            };
            for (const LineItem& s : f.lines) seg(s);
            for (const PolylineItem& p : f.polylines)
                for (const LineItem& s : p.segments) seg(s);
            for (std::size_t i = 0; i < f.circles.size(); ++i) circle(f, i, m);
            for (const PointItem& p : f.points)
                dot(m.transformX(p.x, p.y), m.transformY(p.x, p.y), kCopyPointColour);
        }
        // The base-point marker lies over the copies.
        const POINT b = pixel(copies.baseX, copies.baseY);
        for (int k = 0; k <= 4; ++k) {
            SetPixel(dc, b.x + k, b.y, kMarkerColour);
            SetPixel(dc, b.x - k, b.y, kMarkerColour);
            SetPixel(dc, b.x, b.y + k, kMarkerColour);
            SetPixel(dc, b.x, b.y - k, kMarkerColour);
        }
        SelectObject(dc, old);
        DeleteObject(axis);
        DeleteObject(figure);
        DeleteObject(copy);
    }
};

struct Case {
    const char* name;
    std::string drawing;
    double scale;
    const char* moveX;
    const char* angle;
    const char* copies;
};

}  // namespace

int main() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "ZovrelDrawBench";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
    Canvas canvas;
    canvas.createCanvasWindow(main, instance);
    const GdiObject<HFONT> font = makeUiFont(kBaseDpi);
    const RECT client{0, 0, kWidth, kHeight}, none{0, 0, 0, 0};
    canvas.resize(client, none, none);
    canvas.clientRect = client;

    const Case cases[] = {
        {"repaint 800x600, 20 copies of 10,000 entities", makeDrawing(10000), 110000.0 / kHeight,
         "0", "18", "20"},
        {"repaint 800x600, 20 copies of 100,000 entities", makeDrawing(100000), 110000.0 / kHeight,
         "0", "18", "20"},
        {"repaint 800x600, 100,000 copies of 10 segments", makeSmallFigure(10), 0.1, "40", "0",
         "100000"},
        {"repaint 800x600, 20 copies of 10,000 segments", makeSegments(10000), 110000.0 / kHeight,
         "0", "18", "20"},
    };
    int differing = 0;
    for (const Case& c : cases) {
        Figure figure;
        loadFigureFromMemory(c.drawing.data(), c.drawing.size(), figure);
        FigureOutlines outlines;
        outlines.build(figure);
        ViewMapping view;
        view.setClientSize(kWidth, kHeight);
        view.scale = c.scale;
        CopyInputs inputs = startupInputs(0, 0);
        inputs.setText(kRowMoveX, c.moveX);
        inputs.setText(kRowAngle, c.angle);
        inputs.rowSlider[kRowAngle] = 100;
        inputs.setText(kRowCopies, c.copies);
        CopyArray copies;
        const auto never = Clock::time_point::max();
        const CopyParameters params = evaluateCopyParameters(inputs);
        Scene scene{figure, outlines,     view, copies,     params,
                    false,  PixelPoint{}, {},   font.get(), kBaseDpi};
        HDC windowDc = GetDC(canvas.window);

        const int productRuns = 10, plainRuns = 2;
        auto t0 = Clock::now();
        for (int i = 0; i < productRuns; ++i) {
            renderPreview(canvas, scene, never);
            canvas.present(windowDc);
        }
        const double product =
            std::chrono::duration<double>(Clock::now() - t0).count() / productRuns;
        const std::vector<uint32_t> threaded(canvas.bits, canvas.bits + kWidth * kHeight);

        // The same on one thread: its time for the note, its pixels must be the threads' pixels.
        scene.threads = 1;
        t0 = Clock::now();
        for (int i = 0; i < productRuns; ++i) {
            renderPreview(canvas, scene, never);
            canvas.present(windowDc);
        }
        const double oneThread =
            std::chrono::duration<double>(Clock::now() - t0).count() / productRuns;
        scene.threads = 0;
        const bool threadsAgree = std::equal(threaded.begin(), threaded.end(), canvas.bits);

        double plain;
        std::vector<uint32_t> plainPixels(kWidth * kHeight);
        {
            PlainCanvas plainCanvas(windowDc, view, outlines);
            t0 = Clock::now();
            for (int i = 0; i < plainRuns; ++i) {
                plainCanvas.render(figure, copies, inputs);
                BitBlt(windowDc, 0, 0, kWidth, kHeight, plainCanvas.dc, 0, 0, SRCCOPY);
            }
            plain = std::chrono::duration<double>(Clock::now() - t0).count() / plainRuns;
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = kWidth;
            info.bmiHeader.biHeight = -kHeight;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            SelectObject(plainCanvas.dc, plainCanvas.original);
            GetDIBits(windowDc, plainCanvas.bitmap, 0, kHeight, plainPixels.data(), &info,
                      DIB_RGB_COLORS);
            SelectObject(plainCanvas.dc, plainCanvas.bitmap);
        }
        ReleaseDC(canvas.window, windowDc);
        long diff = 0;
        for (int i = 0; i < kWidth * kHeight; ++i)
            if ((plainPixels[i] & 0xFFFFFF) != (canvas.bits[i] & 0xFFFFFF)) ++diff;
        if (diff) ++differing;
        BenchRow& row = benchRows()[c.name];
        row.productSeconds = product;
        row.plainSeconds = plain;
        char threads[96];
        std::snprintf(threads, sizeof threads, "; one thread %.2f ms%s", oneThread * 1000,
                      threadsAgree ? "" : ", THREADS DIFFER");
        if (!threadsAgree) ++differing;
        row.note = (diff == 0 ? "same pixels as the plain renderer"
                              : std::to_string(diff) + " PIXELS DIFFER") +
                   threads;
    }
    printBenchTable(stdout);
    return differing == 0 ? 0 : 1;
}
