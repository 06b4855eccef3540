#include "view/copy_layers.h"

#include <algorithm>

#include "figure/workers.h"

namespace {

// Points and segments per block of copies: enough that a thread asks the gate and switches
// blocks rarely, few enough that the copies let past at the deadline finish soon.
constexpr long kBlockWork = 20000;

long workPerCopy(const Figure& figure) {
    long work = static_cast<long>(figure.lines.size() + figure.points.size());
    for (const PolylineItem& p : figure.polylines) work += static_cast<long>(p.segments.size());
    for (const CircleItem& c : figure.circles) work += static_cast<long>(c.outline.size());
    return work;
}

}  // namespace

PreviewResult drawCopiesInLayers(RasterTarget& target, const Figure& figure, const Bounds& bounds,
                                 CopyArray& copies, const CopyInputs& inputs, CopyGate& gate,
                                 CopyLayers& layers, int threads) {
    const int wanted = evaluateCopyParameters(inputs).copies;
    const int n = std::min({threads, kMostCopyLayers, wanted});
    if (n <= 1 || bounds.empty) return drawCopies(target, figure, bounds, copies, inputs, gate);

    const size_t pixels = static_cast<size_t>(target.bitmapWidth) * target.bitmapHeight;
    layers.stamps.resize(pixels * n);
    const long work = std::max(1L, workPerCopy(figure));
    const CopyShare deal{0, n, static_cast<int>(std::clamp(kBlockWork / work, 1L, long{wanted}))};
    std::vector<PreviewResult> results(static_cast<size_t>(n));
    std::vector<CopyArray> arrays(static_cast<size_t>(n), copies);
    const PixelRect& clip = target.clip;
    runParts(n, [&](int t) {
        RasterTarget layer = target;
        layer.bits = layers.stamps.data() + pixels * t;
        layer.stamps = true;
        for (int y = clip.top; y < clip.bottom; ++y)
            std::fill(layer.bits + static_cast<size_t>(y) * layer.bitmapWidth + clip.left,
                      layer.bits + static_cast<size_t>(y) * layer.bitmapWidth + clip.right, 0u);
        CopyShare share = deal;
        share.worker = t;
        results[t] = drawCopies(layer, figure, bounds, arrays[t], inputs, gate, share);
    });
    // Each pixel the colour of its largest stamp. On the calling thread: starting threads
    // again would cost more than the pass (under Wine, milliseconds each).
    for (int y = clip.top; y < clip.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * target.bitmapWidth;
        for (size_t i = row + clip.left; i < row + clip.right; ++i) {
            uint32_t last = 0;
            for (int l = 0; l < n; ++l) last = std::max(last, layers.stamps[pixels * l + i]);
            if (last) target.bits[i] = (last & 1) ? target.copyDotColour : target.copyLineColour;
        }
    }
    // The matrix of the last copy begun, from the thread whose share held it.
    PreviewResult result = results[0];
    result.drawn = gate.begun();  // once every thread is done
    if (result.drawn > 0)
        copies = arrays[static_cast<size_t>(((result.drawn - 1) / deal.block) % n)];
    return result;
}
