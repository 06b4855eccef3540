#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "app/panel_values.h"
#include "bench/workload.h"
#include "figure/reader.h"
#include "view/copy_layers.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 320, kHeight = 240;

struct Picture {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kWidth * kHeight, 0xFFFFFF);
    RasterTarget target;
    PreviewResult result;
    Matrix3 last;

    Picture(double scale, const PixelRect& clip) {
        target.setBitmap(pixels.data(), kWidth, kHeight);
        target.clip = clip;
        target.view.setClientSize(kWidth, kHeight);
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

Picture draw(const Figure& figure, const CopyInputs& inputs, int threads, double scale,
             const PixelRect& clip, Clock::time_point deadline = Clock::time_point::max()) {
    Picture p(scale, clip);
    CopyArray copies;
    copies.baseX = 300;
    copies.baseY = -200;
    CopyGate gate(deadline);
    CopyLayers layers;
    p.result = drawCopiesInLayers(p.target, figure, figureBounds(figure), copies, inputs, gate,
                                  layers, threads, [] {});
    p.last = copies.matrix;
    return p;
}

// Every thread count draws the pixels of one pass and ends with its matrix: figures large and
// small (blocks of one copy and of many), the whole bitmap and a clip within it.
TEST(CopyLayers, AnyNumberOfThreadsDrawsThePixelsOfOnePass) {
    for (const long entities : {400L, 3L}) {
        const std::string text = makeDrawing(entities, 977) + "pt 100 -40\r\n";
        Figure figure;
        loadFigureFromMemory(text.data(), text.size(), figure);
        ASSERT_FALSE(figure.points.empty());
        const char* count = entities > 10 ? "9" : "700";
        for (const PixelRect clip :
             {PixelRect{0, 0, kWidth, kHeight}, PixelRect{13, 21, 250, 199}}) {
            const Picture one = draw(figure, crossingCopies(count), 1, 900.0, clip);
            for (int threads : {2, 3, 4}) {
                const Picture many = draw(figure, crossingCopies(count), threads, 900.0, clip);
                EXPECT_EQ(many.pixels, one.pixels) << entities << " entities, " << threads;
                EXPECT_EQ(many.result.drawn, one.result.drawn);
                for (int e = 0; e < 9; ++e)
                    EXPECT_EQ(many.last.m[e / 3][e % 3], one.last.m[e / 3][e % 3]);
            }
            long coloured = 0;
            for (uint32_t c : one.pixels) coloured += c != 0xFFFFFF;
            EXPECT_GT(coloured, 500) << "the copies were drawn at all";
        }
    }
}

// With the time already spent, every thread stops after the first copy, as one pass does,
// whichever thread asks first (a copy per block: each thread asks for its first copy at once).
TEST(CopyLayers, APassedDeadlineStopsEveryThreadAtTheSameCopy) {
    const std::string text = makeDrawing(4000, 5);
    Figure figure;
    loadFigureFromMemory(text.data(), text.size(), figure);
    const PixelRect all{0, 0, kWidth, kHeight};
    const Clock::time_point passed = Clock::now() - std::chrono::seconds(1);
    const Picture one = draw(figure, crossingCopies("40"), 1, 900.0, all, passed);
    EXPECT_EQ(one.result.drawn, 1);
    for (int run = 0; run < 20; ++run) {
        const Picture many = draw(figure, crossingCopies("40"), 4, 900.0, all, passed);
        ASSERT_EQ(many.result.drawn, 1) << run;
        EXPECT_EQ(many.result.wanted, 40);
        EXPECT_EQ(many.pixels, one.pixels);
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
            ASSERT_EQ(buildOutline(c), 1);
            const Matrix3& m = i % 2 ? turned : scaled;
            culled.target.drawCircle(c, m);
            const ScreenMap map(reference.target.view);
            for (size_t k = 1; k < c.outline.size(); ++k)
                reference.target.drawSegmentPixels(map(m, c.outline[k - 1].x, c.outline[k - 1].y),
                                                   map(m, c.outline[k].x, c.outline[k].y));
        }
        EXPECT_EQ(culled.pixels, reference.pixels);
    }
}

}  // namespace
