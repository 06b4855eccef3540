#include "view/copy_layers.h"

#include <algorithm>

#include "figure/element_kinds.h"
#include "figure/workers.h"

namespace {

// Points and segments per block of copies: enough that a thread takes blocks rarely, few
// enough that the copies let past at the deadline finish soon.
constexpr long kBlockWork = 20000;
// Below this many points and segments per repaint one thread is as fast: starting a thread
// costs up to milliseconds (under Wine).
constexpr long kThreadedWork = 300000;
// All layers together, so that a large canvas on many cores takes fewer threads, not more
// memory.
constexpr size_t kLayerBytes = size_t{96} << 20;

long workPerCopy(const Figure& figure) {
    return static_cast<long>(copyWeights(figure).work);
}

// Each pixel of the clip the colour of its largest stamp, where a layer holds one.
void mergeLayers(RasterTarget& target, const uint32_t* layers, size_t pixels, int n) {
    const PixelRect& clip = target.clip;
    for (int y = clip.top; y < clip.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * target.bitmapWidth;
        uint32_t* out = target.bits + row;
        for (int x = clip.left; x < clip.right; ++x) {
            uint32_t stamp = layers[row + x];
            for (int l = 1; l < n; ++l) stamp = std::max(stamp, layers[pixels * l + row + x]);
            if (stamp) out[x] = (stamp & 1) ? target.copyDotColour : target.copyLineColour;
        }
    }
}

}  // namespace

int copyThreads(const Figure& figure, const CopyInputs& inputs, const RasterTarget& target,
                int available) {
    const int wanted = evaluateCopyParameters(inputs).copies;
    if (static_cast<double>(workPerCopy(figure)) * wanted < kThreadedWork) return 1;
    const size_t layerBytes =
        static_cast<size_t>(target.bitmapWidth) * target.bitmapHeight * sizeof(uint32_t);
    const size_t fit = layerBytes ? kLayerBytes / layerBytes : 1;
    return static_cast<int>(std::max<size_t>(
        1, std::min({static_cast<size_t>(available), static_cast<size_t>(kMostCopyLayers), fit})));
}

PreviewResult drawCopiesInLayers(RasterTarget& target, const Figure& figure, const Bounds& bounds,
                                 CopyArray& copies, const CopyInputs& inputs, CopyGate& gate,
                                 CopyLayers& layers, int threads,
                                 const std::function<void()>& under) {
    const int wanted = evaluateCopyParameters(inputs).copies;
    const size_t pixels = static_cast<size_t>(target.bitmapWidth) * target.bitmapHeight;
    const int n = std::min(threads, wanted);
    if (n <= 1 || pixels == 0 || bounds.empty) {
        under();
        return drawCopies(target, figure, bounds, copies, inputs, gate);
    }

    const long work = std::max(1L, workPerCopy(figure));
    layers.stamps.resize(pixels * n);
    CopyDeal deal(static_cast<int>(std::clamp(kBlockWork / work, 1L, long{wanted})));
    std::vector<PreviewResult> results(static_cast<size_t>(n));
    std::vector<CopyArray> arrays(static_cast<size_t>(n), copies);
    const PixelRect& clip = target.clip;
    // The calling thread draws what lies under the copies first, then takes blocks like the
    // others: only n - 1 threads are started.
    runParts(n, [&](int t) {
        RasterTarget layer = target;
        layer.bits = layers.stamps.data() + pixels * t;
        layer.stamps = true;
        for (int y = clip.top; y < clip.bottom; ++y)
            std::fill(layer.bits + static_cast<size_t>(y) * layer.bitmapWidth + clip.left,
                      layer.bits + static_cast<size_t>(y) * layer.bitmapWidth + clip.right, 0u);
        if (t == 0) under();
        results[t] = drawCopies(layer, figure, bounds, arrays[t], inputs, gate, &deal);
    });
    // On the calling thread: starting threads again would cost more than the pass.
    mergeLayers(target, layers.stamps.data(), pixels, n);
    PreviewResult result = results[0];
    result.drawn = gate.begun();  // once every thread is done
    // The matrix of the last copy begun, from the thread that began it.
    for (size_t t = 0; t < results.size(); ++t)
        if (results[t].ownLast == result.drawn) copies = arrays[t];
    result.ownLast = result.drawn;
    return result;
}
