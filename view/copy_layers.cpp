#include "view/copy_layers.h"

#include <algorithm>

#include "figure/workers.h"

namespace {

// Points and segments per block of copies: enough that a thread asks the gate and switches
// blocks rarely, few enough that the copies let past at the deadline finish soon.
constexpr long kBlockWork = 20000;
// Below this many points and segments per repaint one thread is as fast: starting a thread
// costs up to milliseconds (under Wine).
constexpr long kThreadedWork = 300000;
// All layers together, so that a large canvas on many cores takes fewer threads, not more
// memory.
constexpr size_t kLayerBytes = size_t{96} << 20;

// Each pixel of the clip the colour of its largest stamp: the layers folded into the first,
// then the copy colours set where it holds a stamp. Plain loops the compiler can vectorise
// (stamps stay below 2^31, so signed comparisons order them).
void mergeLayers(RasterTarget& target, uint32_t* layers, size_t pixels, int n) {
    const PixelRect& clip = target.clip;
    for (int y = clip.top; y < clip.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * target.bitmapWidth;
        uint32_t* first = layers + row;
        const int width = clip.right - clip.left;
        for (int l = 1; l < n; ++l) {
            const uint32_t* other = layers + pixels * l + row;
            for (int x = clip.left; x < clip.left + width; ++x)
                first[x] = static_cast<uint32_t>(
                    std::max(static_cast<int32_t>(first[x]), static_cast<int32_t>(other[x])));
        }
        uint32_t* out = target.bits + row;
        for (int x = clip.left; x < clip.left + width; ++x) {
            const uint32_t stamp = first[x];
            const uint32_t colour = (stamp & 1) ? target.copyDotColour : target.copyLineColour;
            out[x] = stamp ? colour : out[x];
        }
    }
}

long workPerCopy(const Figure& figure) {
    long work = static_cast<long>(figure.lines.size() + figure.points.size());
    for (const PolylineItem& p : figure.polylines) work += static_cast<long>(p.segments.size());
    for (const CircleItem& c : figure.circles) work += static_cast<long>(c.outline.size());
    return work;
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
    const CopyShare deal{0, n, static_cast<int>(std::clamp(kBlockWork / work, 1L, long{wanted}))};
    std::vector<PreviewResult> results(static_cast<size_t>(n));
    std::vector<CopyArray> arrays(static_cast<size_t>(n), copies);
    const PixelRect& clip = target.clip;
    runParts(n + 1, [&](int part) {
        if (part == 0) {
            under();
            return;
        }
        const int t = part - 1;
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
    // On the calling thread: starting threads again would cost more than the pass.
    mergeLayers(target, layers.stamps.data(), pixels, n);
    // The matrix of the last copy begun, from the thread whose share held it.
    PreviewResult result = results[0];
    result.drawn = gate.begun();  // once every thread is done
    if (result.drawn > 0)
        copies = arrays[static_cast<size_t>(((result.drawn - 1) / deal.block) % n)];
    return result;
}
