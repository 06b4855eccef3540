// The off-screen picture, pixel by pixel, and the canvas's bitmap across resizes.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/canvas_window_win.h"
#include "app/status_notes.h"
#include "app/texts.h"
#include "figure/outline.h"
#include "tests/window/window_harness.h"
#include "view/gdi_win.h"

using namespace harness;

namespace {

struct Segment {
    double x1, y1, x2, y2;
};
// The figure's segments in drawing order: the plain segments, then the polyline's.
const Segment kFigureSegments[4] = {
    {0, 0, -1.5, -1.5}, {98.5, 48.5, 40, 10}, {60, 20, 90, 20}, {90, 20, 90, 40}};
constexpr double kPointX = 10, kPointY = 20;

// The figure's full circle, outlined as the preview outlines it.
std::vector<Point2> figureCircle() {
    CircleItem c;
    c.cx = 30;
    c.cy = 30;
    c.radius = 5;
    c.ratio = 1;
    return outlineOf(c);
}

// Canvas pixel of a world point, by the mapping's own definition: 1/scale is formed first
// and multiplied; the result is truncated toward zero.
struct Pixel {
    int x, y;
};
Pixel toScreen(double x, double y, double scale, int offsetX, int offsetY) {
    const double r = 1.0 / scale;
    return {static_cast<int>(halfWidth() + x * r - offsetX),
            static_cast<int>(halfHeight() - y * r - offsetY)};
}

class Pen {
  public:
    Pen(HDC dc, uint32_t colour)
        : dc_(dc),
          pen_(CreatePen(PS_SOLID, 0, RGB(colour >> 16, (colour >> 8) & 255, colour & 255))),
          previous_(SelectObject(dc, pen_)) {}
    ~Pen() {
        SelectObject(dc_, previous_);
        DeleteObject(pen_);
    }

  private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ previous_;
};

void line(HDC dc, Pixel a, Pixel b) {
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

void dot(Dib& d, Pixel c, uint32_t colour) {
    GdiFlush();
    for (int v = -2; v <= 2; ++v)
        for (int u = -2; u <= 2; ++u)
            if (!(std::abs(u) == 2 && std::abs(v) == 2))
                SetPixelV(d.dc(), c.x + u, c.y + v,
                          RGB(colour >> 16, (colour >> 8) & 255, colour & 255));
}

// Row inputs whose copies are pure moves: copy k lies k * (moveX, moveY) away.
void useMovesOnly(const char* moveXText, int moveXSlider, const char* moveYText,
                  const char* copies) {
    const char* const texts[6] = {moveXText, moveYText, "90", "1.0", "1.0", copies};
    const int sliders[6] = {moveXSlider, 100, 0, 100, 100, 100};
    setRows(texts, sliders);
}

int mismatches(const Dib& expected, Pixel* first) {
    int n = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (pixel(x, y) != expected.at(x, y) && n++ == 0) *first = {x, y};
    return n;
}

using CanvasPicture = WindowTest;

TEST_F(CanvasPicture, RepaintDrawsExactlyTheSceneDrawnByHand) {
    // Copies move 120 * 50% = 60 right and 30 down per copy; two copies.
    useMovesOnly("120", 50, "-30", "2");
    app().model.copies.baseX = 10;
    app().model.copies.baseY = -20;
    const double scale = 0.75;
    const int ox = 20, oy = -10;
    setView(scale, ox, oy);

    const int w = canvasWidth(), h = canvasHeight();
    ASSERT_EQ(app().canvas.bitmapWidth, w);
    ASSERT_EQ(app().canvas.bitmapHeight, h);
    Dib expected(w, h);
    expected.fill(kWhite);
    {
        Pen grey(expected.dc(), kGrey);
        line(expected.dc(), {halfWidth() - ox, 0}, {halfWidth() - ox, h});
        line(expected.dc(), {0, halfHeight() - oy}, {w, halfHeight() - oy});
    }
    const std::vector<Point2> outline = figureCircle();
    ASSERT_EQ(outline.size(), 41u);
    auto drawCircle = [&](double dx, double dy) {
        for (size_t i = 1; i < outline.size(); ++i) {
            const Point2& p = outline[i - 1];
            const Point2& q = outline[i];
            line(expected.dc(), toScreen(p.x + dx, p.y + dy, scale, ox, oy),
                 toScreen(q.x + dx, q.y + dy, scale, ox, oy));
        }
    };
    {
        Pen black(expected.dc(), kBlack);
        for (const Segment& s : kFigureSegments)
            line(expected.dc(), toScreen(s.x1, s.y1, scale, ox, oy),
                 toScreen(s.x2, s.y2, scale, ox, oy));
        drawCircle(0, 0);
    }
    dot(expected, toScreen(kPointX, kPointY, scale, ox, oy), kBlack);
    const Pixel base = toScreen(10, -20, scale, ox, oy);
    for (int k = 0; k <= 4; ++k)
        for (const Pixel p : {Pixel{base.x + k, base.y}, Pixel{base.x - k, base.y},
                              Pixel{base.x, base.y + k}, Pixel{base.x, base.y - k}})
            SetPixelV(expected.dc(), p.x, p.y, RGB(255, 0, 0));
    for (int k = 1; k <= 2; ++k) {
        const double dx = 60.0 * k, dy = -30.0 * k;
        {
            Pen blue(expected.dc(), kCopyBlue);
            for (const Segment& s : kFigureSegments)
                line(expected.dc(), toScreen(s.x1 + dx, s.y1 + dy, scale, ox, oy),
                     toScreen(s.x2 + dx, s.y2 + dy, scale, ox, oy));
            drawCircle(dx, dy);
        }
        dot(expected, toScreen(kPointX + dx, kPointY + dy, scale, ox, oy), kCopyDotBlue);
    }
    Pixel first{};
    EXPECT_EQ(mismatches(expected, &first), 0)
        << "first difference at (" << first.x << ", " << first.y << "): drawn " << std::hex
        << pixel(first.x, first.y) << ", expected " << expected.at(first.x, first.y);
}

TEST_F(CanvasPicture, AxesCrossAtTheCentreLessTheOffsets) {
    useMovesOnly("120", 100, "0", "0");
    app().model.copies.baseX = -1000;  // the marker out of the way
    setView(1.0, 50, -30);
    const int ax = halfWidth() - 50, ay = halfHeight() + 30;
    const int w = canvasWidth(), h = canvasHeight();
    for (int y : {0, 3, h / 4, h - 1}) EXPECT_EQ(pixel(ax, y), kGrey) << "y axis at row " << y;
    for (int x : {0, 3, w / 4, w - 1}) EXPECT_EQ(pixel(x, ay), kGrey) << "x axis at column " << x;
    EXPECT_EQ(pixel(ax + 1, 3), kWhite);
    EXPECT_EQ(pixel(ax - 1, 3), kWhite);
    EXPECT_EQ(pixel(3, ay + 1), kWhite);
    EXPECT_EQ(pixel(3, ay - 1), kWhite);
    EXPECT_EQ(pixel(5, 5), kWhite);
    EXPECT_EQ(pixel(w - 5, h - 5), kWhite);

    // Panned so far that the y axis leaves the canvas: only the x axis stays, where it was.
    setView(1.0, halfWidth() + 20, -30);
    EXPECT_EQ(countPixels(kGrey, 0, 0, w, 3), 0) << "the top rows meet no y axis";
    EXPECT_EQ(countPixels(kGrey, 0, 0, 1, h), 1) << "the left column meets only the x axis";
    EXPECT_EQ(pixel(3, ay), kGrey);
}

TEST_F(CanvasPicture, FigurePointIsABlackDotOf21Pixels) {
    useMovesOnly("120", 100, "0", "0");
    app().model.copies.baseX = -1000;
    setView(1.0, 0, 0);
    const int cx = halfWidth() + 10, cy = halfHeight() - 20;
    EXPECT_EQ(countPixels(kBlack, cx - 3, cy - 3, cx + 4, cy + 4), 21);
    for (int v = -2; v <= 2; ++v)
        for (int u = -2; u <= 2; ++u)
            EXPECT_EQ(pixel(cx + u, cy + v), std::abs(u) == 2 && std::abs(v) == 2 ? kWhite : kBlack)
                << "offset " << u << ", " << v;
}

TEST_F(CanvasPicture, SegmentEndIsTruncatedTowardZero) {
    // From world (0, 0) to (-1.5, -1.5) at scale 1: from (hw, hh) to (hw - 1.5, hh + 1.5),
    // which is the pixel (hw - 2, hh + 1).
    useMovesOnly("120", 100, "0", "0");
    app().model.copies.baseX = -1000;
    setView(1.0, 0, 0);
    Dib expected(7, 7);
    expected.fill(kWhite);
    {
        Pen grey(expected.dc(), kGrey);
        line(expected.dc(), {3, 0}, {3, 7});
        line(expected.dc(), {0, 3}, {7, 3});
    }
    {
        Pen black(expected.dc(), kBlack);
        line(expected.dc(), {3, 3}, {1, 4});
    }
    const int x0 = halfWidth() - 3, y0 = halfHeight() - 3;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(pixel(x0 + x, y0 + y), expected.at(x, y)) << "at " << x - 3 << ", " << y - 3;
}

TEST_F(CanvasPicture, BasePointShowsAsASmallRedCross) {
    useMovesOnly("120", 100, "0", "0");
    app().model.copies.baseX = 30;
    app().model.copies.baseY = -40;
    setView(1.0, 0, 0);
    const int bx = halfWidth() + 30, by = halfHeight() + 40;
    EXPECT_EQ(countPixels(kRed, bx - 6, by - 6, bx + 7, by + 7), 17);
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(pixel(bx + k, by), kRed);
        EXPECT_EQ(pixel(bx - k, by), kRed);
        EXPECT_EQ(pixel(bx, by + k), kRed);
        EXPECT_EQ(pixel(bx, by - k), kRed);
    }
    EXPECT_NE(pixel(bx + 5, by), kRed);
    EXPECT_NE(pixel(bx + 1, by + 1), kRed);
}

TEST_F(CanvasPicture, PickModeMarkerFollowsThePointerAndMovesTheBasePoint) {
    useMovesOnly("120", 100, "0", "0");
    setView(2.0, 0, 0);
    SendMessageA(app().panel.panel, WM_COMMAND, MAKEWPARAM(26, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app().panel.basePointButton));
    const int px = 100, py = 80;
    mouse(WM_MOUSEMOVE, px, py);
    EXPECT_EQ(app().model.copies.baseX, (px - halfWidth()) * 2.0);
    EXPECT_EQ(app().model.copies.baseY, (halfHeight() - py) * 2.0);
    // A cross reaching 9 pixels each way and four arrow tips of five pixels.
    EXPECT_EQ(countPixels(kRed, px - 12, py - 12, px + 13, py + 13), 1 + 4 * 9 + 4 * 5);
    for (int k = 0; k <= 9; ++k) {
        EXPECT_EQ(pixel(px + k, py), kRed);
        EXPECT_EQ(pixel(px - k, py), kRed);
        EXPECT_EQ(pixel(px, py + k), kRed);
        EXPECT_EQ(pixel(px, py - k), kRed);
    }
    const int tips[][2] = {{10, 0}, {9, -1}, {8, -2}, {9, 1}, {8, 2}};
    for (const auto& t : tips) {
        EXPECT_EQ(pixel(px + t[0], py + t[1]), kRed) << "right tip";
        EXPECT_EQ(pixel(px - t[0], py + t[1]), kRed) << "left tip";
        EXPECT_EQ(pixel(px + t[1], py + t[0]), kRed) << "down tip";
        EXPECT_EQ(pixel(px + t[1], py - t[0]), kRed) << "up tip";
    }
    // The small cross is not drawn in pick mode.
    const Pixel base = toScreen(0, 0, 2.0, 0, 0);
    EXPECT_EQ(countPixels(kRed, base.x - 5, base.y - 5, base.x + 6, base.y + 6), 0);
}

TEST_F(CanvasPicture, TwentyCopiesMovedRightAreDrawnAsTwentyBlueDots) {
    // At 16 drawing units per pixel a move of 160 is 10 pixels; the point (10, 20) lies at
    // (hw + 0.625, hh - 1.25), so copy k's dot is centred on (hw + 10k, hh - 2).
    useMovesOnly("160", 100, "0", "20");
    app().model.copies.baseX = -100000;
    setView(16.0, 0, 0);
    const int y = halfHeight() - 2;
    for (int k = 1; k <= 20; ++k) {
        EXPECT_EQ(pixel(halfWidth() + 10 * k, y), kCopyDotBlue) << "copy " << k;
        EXPECT_EQ(pixel(halfWidth() + 10 * k - 4, y), kWhite)
            << "between copies " << k - 1 << " and " << k;
    }
    EXPECT_EQ(pixel(halfWidth(), y), kBlack) << "the figure's own point";
    EXPECT_EQ(countPixels(kCopyDotBlue, 0, 0, canvasWidth(), canvasHeight()), 20 * 21);
    EXPECT_EQ(pixel(halfWidth() + 210, y), kWhite) << "no 21st copy";
    EXPECT_GT(countPixels(kCopyBlue, 0, 0, canvasWidth(), canvasHeight()), 0);
}

TEST_F(CanvasPicture, NoCopyIsDrawnForACountOfZero) {
    useMovesOnly("60", 100, "0", "3");
    app().model.copies.baseX = -1000;
    setView(1.0, 0, 0);
    const int w = canvasWidth(), h = canvasHeight();
    EXPECT_GT(countPixels(kCopyBlue, 0, 0, w, h), 0);
    EXPECT_EQ(countPixels(kCopyDotBlue, 0, 0, w, h), 3 * 21);
    for (const char* text : {"0", ""}) {
        setRowText(5, text);  // the edit's update alone redraws the preview
        EXPECT_EQ(countPixels(kCopyBlue, 0, 0, w, h), 0) << "copies \"" << text << "\"";
        EXPECT_EQ(countPixels(kCopyDotBlue, 0, 0, w, h), 0) << "copies \"" << text << "\"";
    }
    // A keystroke into the empty box redraws at once.
    SendMessageA(app().panel.rows[5].valueEdit, WM_CHAR, '3', 0);
    EXPECT_EQ(windowText(app().panel.rows[5].valueEdit), "3");
    EXPECT_EQ(countPixels(kCopyDotBlue, 0, 0, w, h), 3 * 21);
    moveSlider(5, 0);
    EXPECT_EQ(countPixels(kCopyBlue, 0, 0, w, h), 0) << "slider at 0%";
    EXPECT_EQ(countPixels(kCopyDotBlue, 0, 0, w, h), 0) << "slider at 0%";
}

TEST_F(CanvasPicture, CircleScaledTwiceAsWideIsPreviewedAsAnEllipse) {
    const char* const texts[6] = {"0", "0", "90", "2.0", "1.0", "1"};
    const int sliders[6] = {100, 100, 0, 100, 100, 100};
    setRows(texts, sliders);
    app().model.copies.baseX = 30;  // the circle's centre
    app().model.copies.baseY = 30;
    setView(0.25, 0, 0);  // radius 5 is 20 pixels
    const int cx = halfWidth() + 120, cy = halfHeight() - 120;
    auto box = [&](uint32_t colour, int* width, int* height) {
        int left = cx, right = cx, top = cy, bottom = cy;
        for (int y = cy - 60; y <= cy + 60; ++y)
            for (int x = cx - 60; x <= cx + 60; ++x)
                if (pixel(x, y) == colour) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        *width = right - left;
        *height = bottom - top;
    };
    int w = 0, h = 0;
    box(kCopyBlue, &w, &h);
    EXPECT_NEAR(w, 80, 1) << "copy 1: twice as wide";
    EXPECT_NEAR(h, 40, 1) << "copy 1: as high as the circle";
    box(kBlack, &w, &h);
    EXPECT_NEAR(w, 40, 1) << "the figure's own circle (its top and bottom lie under the copy)";
}

// From copy 309 on, ten to the power k overflows: the copies' points, ends and centres are not
// numbers. They draw nothing (a NaN once became a dot in the top-left corner).
TEST_F(CanvasPicture, CopiesThatAreNotFiniteDrawNothing) {
    const char* const texts[6] = {"0", "0", "90", "10", "1.0", "400"};
    const int sliders[6] = {100, 100, 0, 100, 100, 100};
    setRows(texts, sliders);
    app().model.copies.baseX = 0;
    app().model.copies.baseY = 0;
    setView(0.25, 0, 0);
    ASSERT_EQ(app().preview.drawn, 400);
    EXPECT_EQ(countPixels(kCopyDotBlue, 0, 0, 8, 8), 0) << "no dot in the top-left corner";
    EXPECT_EQ(countPixels(kCopyBlue, 0, 0, 8, 8), 0);
}

// With 100,000 copies on one spot every copy costs its drawing: the repaint stops after its
// time budget, and the status bar names how many copies it shows.
TEST_F(CanvasPicture, APreviewOverItsTimeBudgetSaysHowManyCopiesItShows) {
    useMovesOnly("0", 100, "0", "100000");
    // A deadline already passed stands for a figure too big for the budget, whatever the
    // machine's speed: the first copy is drawn, no further one is begun.
    const PreviewResult late =
        renderPreview(app().canvas, currentScene(app()), std::chrono::steady_clock::now());
    EXPECT_EQ(late.wanted, 100000);
    EXPECT_EQ(late.drawn, 1);
    EXPECT_FALSE(late.clamped);
    EXPECT_NE(previewNote(late).find(std::string(text::kPreviewPartialBefore) + "1" +
                                     text::kPreviewPartialAfter),
              std::string::npos)
        << previewNote(late);
    // The real repaint runs under the budget: whatever it managed, the note says it.
    setView(0.05, 0, 0);
    const PreviewResult shown = app().preview;
    EXPECT_EQ(shown.wanted, 100000);
    EXPECT_GT(shown.drawn, 0);
    if (shown.drawn < shown.wanted) {
        EXPECT_NE(previewNote(shown).find(std::to_string(shown.drawn)), std::string::npos);
    }
    useMovesOnly("0", 100, "0", "20");
    EXPECT_EQ(previewNote(app().preview), "") << "all copies shown: no note";
}

// The canvas sets the pixels of lines inside the bitmap itself and hands lines that leave it to
// GDI in batches of polyline pieces; either way every segment must light the pixels of one
// MoveToEx/LineTo pair, joints and left-out last pixels included.
TEST_F(CanvasPicture, LinesLightTheSamePixelsAsOneMoveToLineToPairPerSegment) {
    setView(0.5, 0, 0);
    const int w = canvasWidth(), h = canvasHeight();
    ASSERT_EQ(app().canvas.bitmapWidth, w);
    ASSERT_EQ(app().canvas.bitmapHeight, h);
    Dib expected(w, h);
    expected.fill(kWhite);
    Pen black(expected.dc(), kBlack);
    GdiFlush();
    std::fill_n(app().canvas.bits, static_cast<size_t>(w) * h, kWhite);
    app().canvas.lineColour = 0;  // the figure's black, for the lines set in memory

    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> across(-40.0, w + 40.0), down(-40.0, h + 40.0);
    std::uniform_real_distribution<double> step(-30.0, 30.0);
    auto both = [&](Point2 a, Point2 b) {
        app().canvas.drawSegmentPixels(a, b);
        line(expected.dc(), {static_cast<int>(a.x), static_cast<int>(a.y)},
             {static_cast<int>(b.x), static_cast<int>(b.y)});
    };
    // Loose segments of every slope, some leaving the canvas, some of no length.
    for (int i = 0; i < 300; ++i) {
        const Point2 a{across(random), down(random)};
        const Point2 b = i % 10 == 0 ? a : Point2{a.x + step(random) * 4, a.y + step(random) * 4};
        both(a, b);
    }
    // Chains sharing their end points, which the batch joins into one piece; some closed.
    for (int chain = 0; chain < 40; ++chain) {
        const Point2 start{across(random), down(random)};
        Point2 a = start;
        const int n = 2 + chain % 7;
        for (int i = 0; i < n; ++i) {
            const Point2 b = chain % 3 == 0 && i == n - 1
                                 ? start
                                 : Point2{a.x + step(random), a.y + step(random)};
            both(a, b);
            a = b;
        }
    }
    // Every direction and slope up to 12 pixels, ties included, inside and across the edges.
    for (const Point2 centre : {Point2{200.5, 150.25}, Point2{3.5, 2.75}, Point2{w - 4.0, h - 3.0}})
        for (int dy = -12; dy <= 12; ++dy)
            for (int dx = -12; dx <= 12; ++dx) both(centre, {centre.x + dx, centre.y + dy});
    // A chain that doubles back on itself, and axis-parallel runs.
    both({100.25, 100.75}, {160.5, 100.75});
    both({160.5, 100.75}, {100.25, 100.75});
    both({100.25, 100.75}, {100.25, 180.5});
    both({100.25, 180.5}, {100.25, 120});
    // Circle and ellipse outlines, joined point to point.
    CircleItem circle;
    circle.cx = 40;
    circle.cy = -30;
    circle.radius = 60;
    circle.ratio = 1.0;
    const std::vector<Point2> outline = outlineOf(circle);
    ASSERT_FALSE(outline.empty());
    Matrix3 stretch;
    stretch.scaleAxes(2.0, 0.7);
    stretch.rotate(0.3);
    for (const Matrix3& m : {Matrix3(), stretch}) {
        app().canvas.drawCircle(circle, outline.data(), outline.size(), m);
        for (size_t i = 1; i < outline.size(); ++i) {
            const Point2& p = outline[i - 1];
            const Point2& q = outline[i];
            line(expected.dc(), toScreen(m.transformX(p.x, p.y), m.transformY(p.x, p.y), 0.5, 0, 0),
                 toScreen(m.transformX(q.x, q.y), m.transformY(q.x, q.y), 0.5, 0, 0));
        }
    }
    app().canvas.flushLines();

    Pixel first{};
    EXPECT_EQ(mismatches(expected, &first), 0)
        << "first difference at (" << first.x << ", " << first.y << ")";
    EXPECT_GT(countPixels(kBlack, 0, 0, w, h), 5000) << "the lines were drawn at all";
}

using CanvasBitmap = WindowTest;

SIZE mainClient() {
    RECT r{};
    GetClientRect(mainWindow, &r);
    return {r.right, r.bottom};
}

int stripHeight() {
    RECT r{};
    GetClientRect(app().strip.strip, &r);
    return r.bottom;
}

// Without SWP_NOSENDCHANGING the minimum tracking size applies, as when the frame is dragged.
void resizeMain(int w, int h, UINT more = 0) {
    SetWindowPos(mainWindow, nullptr, 0, 0, w, h,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | more);
    pump();
}

TEST_F(CanvasBitmap, ResizingKeepsExactlyOneBitmapOfTheCanvasSize) {
    const int live = liveGdiObjects();
    const SIZE sizes[] = {{700, 520}, {820, 610}, {600, 540}, {880, 650}, {640, 515},
                          {801, 601}, {777, 555}, {400, 510}, {899, 649}, {800, 600}};
    for (int round = 0; round < 3; ++round) {
        for (const SIZE& s : sizes) {
            SCOPED_TRACE(std::to_string(s.cx) + " x " + std::to_string(s.cy));
            const HBITMAP before = app().canvas.bitmap.get();
            resizeMain(s.cx, s.cy);
            const SIZE client = mainClient();
            const int cw = client.cx - 140, ch = client.cy - stripHeight();
            EXPECT_EQ(canvasWidth(), cw);
            EXPECT_EQ(canvasHeight(), ch);
            EXPECT_EQ(app().canvas.bitmapWidth, cw);
            EXPECT_EQ(app().canvas.bitmapHeight, ch);
            EXPECT_EQ(app().view.halfWidth, static_cast<int>(cw * 0.5));
            EXPECT_EQ(app().view.halfHeight, static_cast<int>(ch * 0.5));
            EXPECT_EQ(GetObjectType(app().canvas.bitmap.get()), DWORD{OBJ_BITMAP});
            if (before != app().canvas.bitmap.get()) {
                EXPECT_EQ(GetObjectType(before), DWORD{0}) << "the previous bitmap is freed";
            }
            BITMAP info{};
            GetObjectA(app().canvas.bitmap.get(), sizeof info, &info);
            EXPECT_EQ(info.bmWidth, cw);
            EXPECT_EQ(std::abs(info.bmHeight), ch);
            EXPECT_EQ(liveGdiObjects(), live);
        }
    }
}

TEST_F(CanvasBitmap, LayoutFollowsTheWindowSize) {
    // The narrowest one only by a move that bypasses the minimum tracking size.
    for (const SIZE& s : {SIZE{400, 510}, SIZE{860, 640}, SIZE{300, 520}}) {
        SCOPED_TRACE(std::to_string(s.cx) + " x " + std::to_string(s.cy));
        resizeMain(s.cx, s.cy, s.cx < 400 ? SWP_NOSENDCHANGING : 0);
        RECT outer{};
        GetWindowRect(mainWindow, &outer);
        ASSERT_EQ(outer.right - outer.left, s.cx);
        const SIZE client = mainClient();
        RECT r{};
        GetClientRect(app().panel.panel, &r);
        EXPECT_EQ(r.right, 140);
        EXPECT_EQ(r.bottom, client.cy - stripHeight());
        // The completion button stays flush with the panel's bottom; the base-point button stays.
        GetWindowRect(app().panel.completeButton, &r);
        MapWindowPoints(HWND_DESKTOP, app().panel.panel, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 5);
        EXPECT_EQ(r.bottom, client.cy - stripHeight());
        GetWindowRect(app().panel.basePointButton, &r);
        MapWindowPoints(HWND_DESKTOP, app().panel.panel, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.top, 420);
        // The scale button keeps right of the size grip, never left of 300.
        RECT bar{};
        GetClientRect(app().strip.bar, &bar);
        GetWindowRect(app().strip.scaleButton, &r);
        MapWindowPoints(HWND_DESKTOP, app().strip.strip, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, bar.right - 77 < 300 ? 300 : bar.right - 77);
        if (s.cx < 400) {
            EXPECT_EQ(r.left, 300);
        }
        EXPECT_EQ(r.top, 3);
        // The scale dialog follows the corner, hidden as it is.
        RECT m{}, p{};
        GetWindowRect(mainWindow, &m);
        GetWindowRect(app().scaleDialog.popup, &p);
        EXPECT_EQ(p.right, m.right);
        EXPECT_EQ(p.bottom, m.bottom);
        EXPECT_EQ(p.right - p.left, 300);
        EXPECT_EQ(p.bottom - p.top, 50);
    }
}

RECT inMainWindow(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, mainWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(CanvasBitmap, AMinimisedSizeChangesNothing) {
    const int live = liveGdiObjects();
    const HBITMAP bitmap = app().canvas.bitmap.get();
    const int bw = app().canvas.bitmapWidth, bh = app().canvas.bitmapHeight;
    const RECT canvasBefore = inMainWindow(app().canvas.window);
    const RECT panelBefore = inMainWindow(app().panel.panel);
    const ViewMapping view = app().view;
    ShowWindow(mainWindow, SW_MINIMIZE);
    pump();
    ASSERT_TRUE(IsIconic(mainWindow));
    RECT client{};
    GetClientRect(mainWindow, &client);
    EXPECT_EQ(client.right, 0);
    EXPECT_EQ(client.bottom, 0);
    repaint();
    EXPECT_EQ(app().canvas.bitmap.get(), bitmap);
    EXPECT_EQ(app().canvas.bitmapWidth, bw);
    EXPECT_EQ(app().canvas.bitmapHeight, bh);
    EXPECT_EQ(liveGdiObjects(), live);
    EXPECT_EQ(app().view.halfWidth, view.halfWidth);
    EXPECT_EQ(app().view.halfHeight, view.halfHeight);
    const RECT canvasAfter = inMainWindow(app().canvas.window);
    const RECT panelAfter = inMainWindow(app().panel.panel);
    EXPECT_TRUE(EqualRect(&canvasBefore, &canvasAfter));
    EXPECT_TRUE(EqualRect(&panelBefore, &panelAfter));
    ShowWindow(mainWindow, SW_RESTORE);
    pump();
    EXPECT_FALSE(IsIconic(mainWindow));
    EXPECT_EQ(app().canvas.bitmapWidth, bw);
    EXPECT_EQ(app().canvas.bitmapHeight, bh);
    EXPECT_EQ(liveGdiObjects(), live);
}

TEST_F(CanvasBitmap, WindowCannotBeMadeSmallerThan400By510) {
    MINMAXINFO info{};
    info.ptMaxTrackSize = {1234, 987};
    info.ptMaxSize = {1111, 999};
    info.ptMinTrackSize = {1, 2};
    EXPECT_EQ(SendMessageA(mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, 400);
    EXPECT_EQ(info.ptMinTrackSize.y, 510);
    EXPECT_EQ(info.ptMaxTrackSize.x, 1234) << "no maximum is set";
    EXPECT_EQ(info.ptMaxTrackSize.y, 987);
    EXPECT_EQ(info.ptMaxSize.x, 1111);

    resizeMain(150, 120);
    RECT r{};
    GetWindowRect(mainWindow, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 510);
}

}  // namespace
