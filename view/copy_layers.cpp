#include "view/copy_layers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "figure/element_kinds.h"
#include "figure/workers.h"
#include "view/screen_map.h"

namespace {

// Points and segments per block of copies: enough that a thread takes blocks rarely, few
// enough that the copies let past at the deadline finish soon.
constexpr long kBlockWork = 20000;
// All layers together, so that a large canvas on many cores takes fewer threads, not more
// memory.
constexpr size_t kLayerBytes = size_t{96} << 20;
// Layers kept for the next repaint: two of a canvas of a million pixels, the usual window on
// two cores. Larger ones are allocated anew each time rather than held while the window idles.
constexpr size_t kKeptLayerBytes = size_t{8} << 20;

long workPerCopy(const Figure& figure, const CopyParameters& params) {
    return static_cast<long>(copyWeights(figure, params.keepAttributes).work);
}

// Stamps compare as signed numbers.
static_assert(2 * static_cast<long long>(kMaxCopies) + 1 <= INT32_MAX, "stamps fit 31 bits");

// Each pixel of the clip the colour of its largest stamp, where a layer holds one.
void mergeLayers(RasterTarget& target, const uint32_t* layers, size_t pixels, int n) {
    const PixelRect& clip = target.clip;
#if ZOVREL_SSE2
    const __m128i line = _mm_set1_epi32(static_cast<int>(target.copyLineColour));
    const __m128i dot = _mm_set1_epi32(static_cast<int>(target.copyDotColour));
    const __m128i one = _mm_set1_epi32(1), none = _mm_setzero_si128();
#endif
    for (int y = clip.top; y < clip.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * target.bitmapWidth;
        uint32_t* out = target.bits + row;
        int x = clip.left;
#if ZOVREL_SSE2
        // Four pixels at a time.
        for (; x + 4 <= clip.right; x += 4) {
            __m128i stamp;
            std::memcpy(&stamp, layers + row + x, sizeof stamp);
            for (int l = 1; l < n; ++l) {
                __m128i other;
                std::memcpy(&other, layers + pixels * l + row + x, sizeof other);
                const __m128i more = _mm_cmpgt_epi32(other, stamp);
                stamp = _mm_or_si128(_mm_and_si128(more, other), _mm_andnot_si128(more, stamp));
            }
            const __m128i empty = _mm_cmpeq_epi32(stamp, none);
            const __m128i odd = _mm_cmpeq_epi32(_mm_and_si128(stamp, one), one);
            const __m128i colour =
                _mm_or_si128(_mm_and_si128(odd, dot), _mm_andnot_si128(odd, line));
            __m128i before;
            std::memcpy(&before, out + x, sizeof before);
            const __m128i after =
                _mm_or_si128(_mm_and_si128(empty, before), _mm_andnot_si128(empty, colour));
            std::memcpy(out + x, &after, sizeof after);
        }
#endif
        for (; x < clip.right; ++x) {
            uint32_t stamp = layers[row + x];
            for (int l = 1; l < n; ++l) stamp = std::max(stamp, layers[pixels * l + row + x]);
            if (stamp) out[x] = (stamp & 1) ? target.copyDotColour : target.copyLineColour;
        }
    }
}

}  // namespace

int copyThreads(const Figure& figure, const CopyParameters& params, const RasterTarget& target,
                int available, long threadedWork) {
    const int wanted = params.copies;
    if (static_cast<double>(workPerCopy(figure, params)) * wanted < threadedWork) return 1;
    const size_t layerBytes =
        static_cast<size_t>(target.bitmapWidth) * target.bitmapHeight * sizeof(uint32_t);
    const size_t fit = layerBytes ? kLayerBytes / layerBytes : 1;
    return static_cast<int>(std::max<size_t>(
        1, std::min({static_cast<size_t>(available), static_cast<size_t>(kMostCopyLayers), fit})));
}

PreviewResult drawCopiesInLayers(RasterTarget& target, const Figure& figure,
                                 const CopyArray& copies, const CopyParameters& params,
                                 CopyDeal& deal, CopyLayers& layers, int threads,
                                 const std::function<void()>& under) {
    const int wanted = params.copies;
    const size_t pixels = static_cast<size_t>(target.bitmapWidth) * target.bitmapHeight;
    const int n = std::min(threads, wanted);
    if (n <= 1 || pixels == 0 || figure.bounds.empty) {
        under();
        return drawCopies(target, figure, copies, params, deal);
    }

    const long work = std::max(1L, workPerCopy(figure, params));
    deal.block = static_cast<int>(std::clamp(kBlockWork / work, 1L, long{wanted}));
    layers.stamps.resize(pixels * n);
    // Every worker reads its own copy of all it reads but the figure and the deal, made here
    // before any thread starts. `under` then writes, on the calling thread, only the target
    // (pixels and colours), whatever the caller lent it,
    // none of which a worker reads; the figure's coordinates stay as they are.
    struct Worker {
        RasterTarget layer;
        CopyArray copies;
        CopyParameters params;
        PreviewResult result;
    };
    std::vector<Worker> workers;
    workers.reserve(static_cast<size_t>(n));
    for (int t = 0; t < n; ++t) {
        workers.push_back({target, copies, params, {}});
        workers.back().layer.bits = layers.stamps.data() + pixels * t;
        workers.back().layer.stamps = true;
    }
    // The calling thread draws what lies under the copies first, then takes blocks like the
    // others: only n - 1 threads are started.
    runParts(n, [&workers, &figure, &deal, &under](int t) {
        Worker& w = workers[static_cast<size_t>(t)];
        const PixelRect& clip = w.layer.clip;
        for (int y = clip.top; y < clip.bottom; ++y) {
            uint32_t* row = w.layer.bits + static_cast<size_t>(y) * w.layer.bitmapWidth;
            std::fill(row + clip.left, row + clip.right, 0u);
        }
        if (t == 0) under();
        w.result = drawCopies(w.layer, figure, w.copies, w.params, deal);
    });
    // On the calling thread: starting threads again would cost more than the pass.
    mergeLayers(target, layers.stamps.data(), pixels, n);
    if (layers.stamps.capacity() * sizeof(uint32_t) > kKeptLayerBytes)
        std::vector<uint32_t>().swap(layers.stamps);
    PreviewResult result = workers[0].result;
    result.drawn = deal.begun();  // once every thread is done
    return result;
}
