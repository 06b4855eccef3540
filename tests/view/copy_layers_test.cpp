#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "app/panel_values.h"
#include "bench/workload.h"
#include "figure/outline.h"
#include "figure/reader.h"
#include "view/copy_layers.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 320, kHeight = 240;

struct Picture {
    std::vector<uint32_t> pixels;
    RasterTarget target;
    PreviewResult result;

    Picture(double scale, const PixelRect& clip, int width = kWidth, int height = kHeight)
        : pixels(static_cast<size_t>(width) * height, 0xFFFFFF) {
        target.setBitmap(pixels.data(), width, height);
        target.clip = clip;
        target.view.setClientSize(width, height);
        target.view.scale = scale;
        target.view.offsetX = 7;
        target.copyLineColour = 0x3232FF;
        target.copyDotColour = 0x0000FF;
    }
};

// Copies that turn, grow and move so that they cross each other, the clip's edges and the
// dots of earlier copies.
CopyInputs crossingCopies(const char* count) {
    CopyInputs in = startupInputs(0, 0);
    in.setText(kRowMoveX, "900");
    in.setText(kRowAngle, "47");
    in.rowSlider[kRowAngle] = 100;
    in.setText(kRowScaleX, "1.03");
    in.setText(kRowCopies, count);
    return in;
}

// A clock that moves a millisecond each time it is read, so that a deadline passes after a
// given number of copies whatever the machine's speed.
std::atomic<long> ticks{0};
Clock::time_point ticking() {
    return Clock::time_point(std::chrono::milliseconds(ticks.fetch_add(1)));
}

struct Repaint {
    Clock::time_point deadline = Clock::time_point::max();
    CopyDeal::Now clock = Clock::now;
    int width = kWidth, height = kHeight;
};

// What the canvas puts under the copies, as it does: the figure and a marker in their colours,
// then the colour of the copies' lines, on the calling thread while the others draw copies.
Picture draw(const Figure& figure, const CopyInputs& inputs, int threads, double scale,
             const PixelRect& clip, const Repaint& repaint = {}, CopyLayers* kept = nullptr) {
    Picture p(scale, clip, repaint.width, repaint.height);
    CopyArray copies;
    copies.baseX = 300;
    copies.baseY = -200;
    CopyDeal deal(repaint.deadline, repaint.clock);
    CopyLayers own;
    FigureOutlines outlines;
    outlines.build(figure);
    RasterTarget& t = p.target;
    t.outlines = &outlines;
    p.result = drawCopiesInLayers(t, figure, copies, evaluateCopyParameters(inputs), deal,
                                  kept ? *kept : own, threads, [&t, &figure] {
                                      t.lineColour = t.dotColour = 0;
                                      t.drawSegments(figure.lines, Matrix3());
                                      t.drawDots(figure.points, Matrix3());
                                      t.lineColour = 0xFF0000;
                                      t.drawPixelSegment({40, 60}, {60, 60});
                                      t.lineColour = t.copyLineColour;
                                  });
    t.outlines = nullptr;
    return p;
}

Figure loaded(const std::string& text) {
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    return figure;
}

// Every thread count draws the pixels and the count of one pass: figures large and small
// (blocks of one copy and of many), the whole bitmap and a clip within it.
TEST(CopyLayers, AnyNumberOfThreadsDrawsThePixelsOfOnePass) {
    for (const long entities : {400L, 3L}) {
        const Figure figure = loaded(makeDrawing(entities, 977) + "pt 100 -40\r\n");
        ASSERT_FALSE(figure.points.empty());
        const char* count = entities > 10 ? "9" : "700";
        for (const PixelRect clip :
             {PixelRect{0, 0, kWidth, kHeight}, PixelRect{13, 21, 250, 199}}) {
            const Picture one = draw(figure, crossingCopies(count), 1, 900.0, clip);
            for (int threads : {2, 3, 4}) {
                const Picture many = draw(figure, crossingCopies(count), threads, 900.0, clip);
                EXPECT_EQ(many.pixels, one.pixels) << entities << " entities, " << threads;
                EXPECT_EQ(many.result.drawn, one.result.drawn);
                EXPECT_EQ(many.result.wanted, one.result.wanted);
            }
            EXPECT_EQ(one.result.drawn, std::atoi(count));
            long coloured = 0;
            for (uint32_t c : one.pixels) coloured += c != 0xFFFFFF;
            EXPECT_GT(coloured, 500) << "the copies were drawn at all";
        }
    }
}

// With the time already spent, every thread stops after the first copy, as one pass does,
// whichever thread asks first (a copy per block: each thread asks for its first copy at once).
TEST(CopyLayers, APassedDeadlineStopsEveryThreadAtTheSameCopy) {
    const Figure figure = loaded(makeDrawing(4000, 5));
    const PixelRect all{0, 0, kWidth, kHeight};
    const Repaint passed{Clock::now() - std::chrono::seconds(1)};
    const Picture one = draw(figure, crossingCopies("40"), 1, 900.0, all, passed);
    EXPECT_EQ(one.result.drawn, 1);
    for (int run = 0; run < 20; ++run) {
        const Picture many = draw(figure, crossingCopies("40"), 4, 900.0, all, passed);
        ASSERT_EQ(many.result.drawn, 1) << run;
        EXPECT_EQ(many.result.wanted, 40);
        EXPECT_EQ(many.pixels, one.pixels);
    }
}

// The deadline passes while the threads draw: whichever copies they hold then, the picture is
// copies 1..n, as one thread draws when asked for n, and n is the count. One thread stops after
// as many copies as the clock was read in time.
TEST(CopyLayers, ThreadsStoppedMidwayDrawCopiesOneToN) {
    const Figure figure = loaded(makeDrawing(4000, 5));
    const PixelRect all{0, 0, kWidth, kHeight};
    std::map<int, std::vector<uint32_t>> drawnAlone;
    bool midway = false;
    for (const int reads : {1, 4, 9, 20}) {
        const Repaint repaint{Clock::time_point(std::chrono::milliseconds(reads)), ticking};
        for (int threads : {1, 2, 4}) {
            for (int run = 0; run < (threads == 1 ? 1 : 6); ++run) {
                ticks = 0;
                const Picture p = draw(figure, crossingCopies("40"), threads, 900.0, all, repaint);
                const int n = p.result.drawn;
                if (threads == 1) {
                    EXPECT_EQ(n, reads + 1);
                }
                ASSERT_TRUE(n >= 1 && n < 40) << n;
                midway |= threads > 1 && n > 1;
                std::vector<uint32_t>& alone = drawnAlone[n];
                if (alone.empty())
                    alone = draw(figure, crossingCopies(std::to_string(n).c_str()), 1, 900.0, all)
                                .pixels;
                EXPECT_EQ(p.pixels, alone) << threads << " threads stopped at " << n;
            }
        }
    }
    EXPECT_TRUE(midway);
    for (auto a = drawnAlone.begin(), b = std::next(a); b != drawnAlone.end(); a = b++)
        EXPECT_NE(a->second, b->second) << "copies " << a->first << " and " << b->first;
}

// Threads for small figures only when a test asks; the layers of a large canvas are let go
// once drawn, a small one's kept for the next repaint.
TEST(CopyLayers, ThreadsForSmallFiguresAndLargeLayersLetGo) {
    const Figure figure = loaded(makeDrawing(3, 977));
    Picture small(900.0, PixelRect{0, 0, kWidth, kHeight});
    const CopyParameters nine = evaluateCopyParameters(crossingCopies("9"));
    EXPECT_EQ(copyThreads(figure, nine, small.target, 4), 1);
    EXPECT_EQ(copyThreads(figure, nine, small.target, 4, 0), 4);
    const struct {
        int width, height;
        bool kept;
    } cases[] = {{kWidth, kHeight, true}, {1800, 1200, false}};
    for (const auto& c : cases) {
        CopyLayers layers;
        Repaint repaint;
        repaint.width = c.width;
        repaint.height = c.height;
        draw(figure, crossingCopies("9"), 2, 900.0, PixelRect{0, 0, c.width, c.height}, repaint,
             &layers);
        EXPECT_EQ(layers.stamps.capacity() > 0, c.kept) << c.width;
    }
}

// The outline test of a circle (skip it, draw it without clipping, or clip each piece) lights
// what clipping every piece lights, for circles inside, across and beside the clip; full
// circles under a plain scale touch their box, so a margin too small shows.
TEST(CopyLayers, CirclesLightWhatTheirClippedPiecesLight) {
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> place(-2000, 2000), size(1, 300), any(0, 6.3);
    for (const PixelRect clip : {PixelRect{0, 0, kWidth, kHeight}, PixelRect{40, 30, 280, 200}}) {
        Picture culled(10.0, clip), reference(10.0, clip);
        culled.target.lineColour = reference.target.lineColour = 0;
        Matrix3 turned;
        turned.scaleAxes(1.2, 0.8);
        turned.rotate(0.4);
        Matrix3 scaled;
        scaled.scaleAxes(1.0, 1.3);
        for (int i = 0; i < 6000; ++i) {
            CircleItem c;
            c.cx = place(random);
            c.cy = place(random);
            c.radius = size(random);
            c.ratio = 1.0;
            if (i % 4 == 3) {
                c.ratio = any(random) / 3;
                c.tilt = any(random);
                c.startAngle = any(random);
                c.endAngle = c.startAngle + any(random);
            }
            const std::vector<Point2> outline = outlineOf(c);
            ASSERT_FALSE(outline.empty());
            const Matrix3& m = i % 2 ? turned : scaled;
            culled.target.drawCircle(c, outline.data(), outline.size(), m);
            const ScreenMap map(reference.target.view);
            for (size_t k = 1; k < outline.size(); ++k)
                reference.target.drawSegmentPixels(map(m, outline[k - 1].x, outline[k - 1].y),
                                                   map(m, outline[k].x, outline[k].y));
        }
        EXPECT_EQ(culled.pixels, reference.pixels);
    }
}

// Points mapped two at a time get the bits one at a time gives them, and the segments and dots
// drawn from pairs light what one at a time lights: at the pixel limit and just past it, huge,
// infinite, not a number, -0.0, on the clip's edges, under matrices and scales that overflow.
TEST(CopyLayers, PairsMapAndDrawAsOnePointAtATime) {
    const double limit = kPixelLimit;
    // With the view below, x = limit - 393 maps to the limit, y = 305 - limit too.
    const double values[] = {0.0,         -0.0,        390.5,         301.25,      -2.75,
                             0.1,         123456.789,  9.87654321e15, limit - 393, limit - 392,
                             305 - limit, 304 - limit, 3e7,           1e300,       -1e300,
                             HUGE_VAL,    -HUGE_VAL,   NAN,           4.9e-324,    -1.5e8};
    std::vector<Point2> points;
    for (double x : values)
        for (double y : values) points.push_back({x, y});
    // And values of every size, whose sums round.
    std::mt19937 random(27);
    std::uniform_real_distribution<double> unit(-1, 1), power(-3, 9);
    for (int i = 0; i < 2000; ++i)
        points.push_back({unit(random) * std::pow(10, power(random)),
                          unit(random) * std::pow(10, power(random))});
    auto sameBits = [](const Point2& a, const Point2& b) {
        auto same = [](double u, double v) {
            return (u != u && v != v) || std::memcmp(&u, &v, sizeof u) == 0;
        };
        return same(a.x, b.x) && same(a.y, b.y);
    };
    Matrix3 turned, huge;
    turned.scaleAxes(1.7, -0.4);
    turned.rotate(0.3);
    turned.translate(1e3, -2e3);
    huge.scaleAxes(1e300, 1e300);
    for (const double scale : {1.0, 1e-300, 183.3}) {
        for (const Matrix3& m : {Matrix3(), turned, huge}) {
            Picture pairs(scale, PixelRect{0, 0, 800, 600}, 800, 600);
            Picture single(scale, PixelRect{0, 0, 800, 600}, 800, 600);
            for (Picture* p : {&pairs, &single}) {
                p->target.view.halfWidth = 400;
                p->target.view.halfHeight = 300;
                p->target.view.offsetX = 7;
                p->target.view.offsetY = -5;
                p->target.lineColour = 0x112233;
                p->target.dotColour = 0x445566;
            }
            const ScreenMap one(pairs.target.view);
            const PairMap two(one, m);
            std::vector<LineItem> segments;
            for (size_t i = 0; i < points.size(); ++i) {
                const Point2 pair[2] = {points[i], points[(i * 7 + 3) % points.size()]};
                const ScreenPair s = two(pair);
                const Point2 a = one(m, pair[0].x, pair[0].y), b = one(m, pair[1].x, pair[1].y);
                ASSERT_TRUE(sameBits(s.first(), a) && sameBits(s.second(), b)) << i;
                ASSERT_EQ(s.bothNear(), nearPixel(a) && nearPixel(b)) << i;
                if (s.bothNear()) {
                    PixelPoint p[2];
                    s.pixels(p);
                    EXPECT_EQ(std::tuple(p[0].x, p[0].y, p[1].x, p[1].y),
                              std::tuple(truncatePixel(a).x, truncatePixel(a).y, truncatePixel(b).x,
                                         truncatePixel(b).y));
                }
                segments.emplace_back(pair[0].x, pair[0].y, pair[1].x, pair[1].y);
                single.target.drawSegmentPixels(a, b);
            }
            pairs.target.drawSegments(segments, m);
            // A dot: five rows of three, five, five, five and three pixels, where finite.
            std::vector<PointItem> dots;
            for (const Point2& p : points) {
                dots.push_back({p.x, p.y});
                const Point2 at = one(m, p.x, p.y);
                if (!std::isfinite(at.x) || !std::isfinite(at.y)) continue;
                const PixelPoint c = toPixel(at);
                for (int v = -2; v <= 2; ++v)
                    for (int u = -2; u <= 2; ++u) {
                        const int64_t x = int64_t{c.x} + u, y = int64_t{c.y} + v;
                        if ((std::abs(u) < 2 || std::abs(v) < 2) && x >= 0 && y >= 0 && x < 800 &&
                            y < 600)
                            single.pixels[y * 800 + x] = single.target.dotColour;
                    }
            }
            pairs.target.drawDots(dots, m);
            EXPECT_EQ(pairs.pixels, single.pixels) << scale;
        }
    }
}

}  // namespace

// Texts draw as segments from start to end, in the copies only when they keep the attributes;
// a copy whose geometry is out of view but whose text is in it is drawn, by any thread count.
// Texts, solids and markers go with the copies only with the attributes, so they show only
// then; a mirrored copy's text too.
TEST(CopyLayers, OptionalKindsOfTheCopiesWhenTheAttributesAreKept) {
    const PixelRect all{0, 0, kWidth, kHeight};
    auto lit = [](const Picture& p) {
        long n = 0;
        for (uint32_t c : p.pixels) n += c != 0xFFFFFF;
        return n;
    };
    struct Case {
        const char* record;
        const char* scaleX;
        long least;  // pixels the record's copies or itself light at the least
    } cases[] = {
        {"ch 0 0 20000 10000 \"a\r\n", "1", 20},
        {"cv 0 0 20000 10000 \"a\r\n", "-1", 20},
        {"sl 0 0 20000 0 20000 20000 0 20000\r\n", "1", 60},
        {"pt 0 0 1 2 0\r\n", "1", 3},
    };
    for (const Case& c : cases) {
        const Figure figure = loaded(std::string("pt -90000 0\r\n") + c.record);
        CopyInputs in = crossingCopies("3");
        in.setText(kRowAngle, "0");
        in.setText(kRowScaleX, c.scaleX);
        const long without = lit(draw(figure, in, 1, 900.0, all));
        in.keepAttributes = true;
        const Picture one = draw(figure, in, 1, 900.0, all);
        EXPECT_GT(lit(one) - without, c.least) << c.record;
        EXPECT_EQ(draw(figure, in, 3, 900.0, all).pixels, one.pixels) << c.record;
        // The figure's own, where the canvas draws the figure.
        Picture own(900.0, all), bare(900.0, all);
        drawFigure(own.target, figure, true);
        drawFigure(bare.target, figure, false);
        EXPECT_GT(lit(own) - lit(bare), c.least / 3) << c.record;
    }
}
