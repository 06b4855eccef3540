// The copies of a repaint drawn natively into memory, on one thread and on two: the part of
// a repaint that a profiler can see without Wine.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/panel_values.h"
#include "bench/workload.h"
#include "figure/reader.h"
#include "view/copy_layers.h"
#include "view/snap.h"

namespace {

void BM_CopiesInLayers(benchmark::State& state) {
    const std::string drawing = makeDrawing(state.range(0));
    Figure figure;
    loadFigureFromMemory(drawing.data(), drawing.size(), figure);
    FigureOutlines outlines;
    outlines.build(figure);
    std::vector<uint32_t> pixels(800 * 600);
    RasterTarget target;
    target.outlines = &outlines;
    target.setBitmap(pixels.data(), 800, 600);
    target.view.setClientSize(800, 600);
    target.view.scale = 110000.0 / 600;
    CopyInputs inputs = startupInputs(0, 0);
    inputs.setText(kRowMoveX, "0");
    inputs.setText(kRowAngle, "18");
    inputs.rowSlider[kRowAngle] = 100;
    inputs.setText(kRowCopies, "20");
    const CopyParameters params = evaluateCopyParameters(inputs);
    CopyLayers layers;
    for (auto _ : state) {
        CopyArray copies;
        CopyDeal deal(std::chrono::steady_clock::time_point::max());
        drawCopiesInLayers(target, figure, copies, params, deal, layers,
                           copyThreads(figure, params, target, static_cast<int>(state.range(1))),
                           [] {});
    }
}

// While picking, every pointer move asks what a right click would snap to: one pass over every
// end, midpoint, centre and point.
void BM_SnapTarget(benchmark::State& state) {
    const std::string drawing = makeDrawing(state.range(0));
    Figure figure;
    loadFigureFromMemory(drawing.data(), drawing.size(), figure);
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(snapTarget(figure, x, 500.0, 1.0));
        x += 1.0;
    }
}

}  // namespace

BENCHMARK(BM_SnapTarget)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopiesInLayers)
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
