// The exchange-file reader on arbitrary bytes. Besides not crashing: every number it keeps is
// finite, the figure grows at most by one element per piece, outlines stay within their
// bounds, and the same bytes give the same figure however they are cut into chunks.

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "figure/element_kinds.h"
#include "figure/matrix3.h"
#include "figure/outline.h"
#include "figure/reader.h"
#include "fuzz/fuzz_check.h"

namespace {

bool sameLine(const LineItem& a, const LineItem& b) {
    return sameBits(a.x1, b.x1) && sameBits(a.y1, b.y1) && sameBits(a.x2, b.x2) &&
           sameBits(a.y2, b.y2);
}

// The seven numbers: the outline follows from them.
bool sameCircle(const CircleItem& a, const CircleItem& b) {
    return sameBits(a.cx, b.cx) && sameBits(a.cy, b.cy) && sameBits(a.radius, b.radius) &&
           sameBits(a.startAngle, b.startAngle) && sameBits(a.endAngle, b.endAngle) &&
           sameBits(a.ratio, b.ratio) && sameBits(a.tilt, b.tilt);
}

// The state of item i of the kind with index kind: the last run at or before it.
uint32_t stateOf(const Attributes& a, std::size_t kind, std::size_t i) {
    uint32_t state = 0;
    for (const StateRun& run : a.runs[kind])
        if (run.first <= i) state = run.state;
    return state;
}

// The state of segment j of a curve whose own state is `own`.
uint32_t segmentState(const PolylineItem& p, uint32_t own, std::size_t j) {
    for (const StateRun& run : p.runs)
        if (run.first <= j) own = run.state;
    return own;
}

bool sameFigure(const Figure& a, const Figure& b) {
    const Extents ea = a.extents(), eb = b.extents();
    if (!sameBits(ea.minX, eb.minX) || !sameBits(ea.minY, eb.minY) || !sameBits(ea.maxX, eb.maxX) ||
        !sameBits(ea.maxY, eb.maxY) || a.bounds.empty != b.bounds.empty ||
        a.lines.size() != b.lines.size() || a.circles.size() != b.circles.size() ||
        a.points.size() != b.points.size() || a.polylines.size() != b.polylines.size())
        return false;
    for (std::size_t i = 0; i < a.lines.size(); ++i)
        if (!sameLine(a.lines[i], b.lines[i])) return false;
    for (std::size_t i = 0; i < a.circles.size(); ++i)
        if (!sameCircle(a.circles[i], b.circles[i])) return false;
    for (std::size_t i = 0; i < a.points.size(); ++i)
        if (!sameBits(a.points[i].x, b.points[i].x) || !sameBits(a.points[i].y, b.points[i].y))
            return false;
    for (std::size_t i = 0; i < a.polylines.size(); ++i) {
        const auto& s = a.polylines[i].segments;
        const auto& t = b.polylines[i].segments;
        if (s.size() != t.size()) return false;
        for (std::size_t j = 0; j < s.size(); ++j)
            if (!sameLine(s[j], t[j])) return false;
    }
    if (a.texts.size() != b.texts.size() || a.solids.size() != b.solids.size() ||
        a.markers.size() != b.markers.size() || a.dimensions.size() != b.dimensions.size() ||
        a.blocks.size() != b.blocks.size() || a.uncopied.size() != b.uncopied.size())
        return false;
    for (std::size_t i = 0; i < a.texts.size(); ++i) {
        const TextItem &s = a.texts[i], &t = b.texts[i];
        if (!sameBits(s.x, t.x) || !sameBits(s.y, t.y) || !sameBits(s.dx, t.dx) ||
            !sameBits(s.dy, t.dy) || s.string != t.string || s.tag[1] != t.tag[1])
            return false;
    }
    for (std::size_t i = 0; i < a.solids.size(); ++i) {
        const SolidItem &s = a.solids[i], &t = b.solids[i];
        if (s.count != t.count) return false;
        for (int c = 0; c < s.count; ++c)
            if (!sameBits(s.corner[c].x, t.corner[c].x) || !sameBits(s.corner[c].y, t.corner[c].y))
                return false;
    }
    for (std::size_t i = 0; i < a.markers.size(); ++i)
        if (!sameBits(a.markers[i].x, b.markers[i].x) ||
            !sameBits(a.markers[i].y, b.markers[i].y) || a.markers[i].rest != b.markers[i].rest)
            return false;
    for (const auto* groups : {&a.dimensions, &a.blocks}) {
        const auto& other = groups == &a.dimensions ? b.dimensions : b.blocks;
        for (std::size_t i = 0; i < groups->size(); ++i) {
            const GroupItem &g = (*groups)[i], &h = other[i];
            if (!sameBits(g.x, h.x) || !sameBits(g.y, h.y) || g.name != h.name ||
                g.known != h.known || g.order != h.order ||
                !std::equal(g.first, g.first + kFigureKinds, h.first))
                return false;
        }
    }
    for (std::size_t i = 0; i < a.uncopied.size(); ++i)
        if (a.uncopied[i].tag != b.uncopied[i].tag || a.uncopied[i].count != b.uncopied[i].count)
            return false;
    // The same attribute lines, and every item under the same ones, segments of curves too.
    const Attributes &p = a.attributes, &q = b.attributes;
    if (p.lines != q.lines || !(p.states[p.header] == q.states[q.header])) return false;
    std::size_t sizes[kFigureKinds];
    ElementKinds::each([&](auto kind) {
        sizes[ElementKinds::index<decltype(kind)>()] = decltype(kind)::list(a).size();
    });
    for (std::size_t k = 0; k < kFigureKinds; ++k)
        for (std::size_t i = 0; i < sizes[k]; ++i)
            if (!(p.states[stateOf(p, k, i)] == q.states[stateOf(q, k, i)])) return false;
    for (std::size_t i = 0; i < a.polylines.size(); ++i) {
        const PolylineItem &s = a.polylines[i], &t = b.polylines[i];
        const uint32_t own = stateOf(p, ElementKinds::index<PolylineKind>(), i);
        const uint32_t other = stateOf(q, ElementKinds::index<PolylineKind>(), i);
        for (std::size_t j = 0; j < s.segments.size(); ++j)
            if (!(p.states[segmentState(s, own, j)] == q.states[segmentState(t, other, j)]))
                return false;
    }
    return true;
}

bool finite(double v) {
    return std::isfinite(v);
}

// The outline as the format defines it, point by point through the five matrices; the reader's
// shortcut must give the same values (a zero's sign aside, which nothing can see). The
// definition is slow, so it is checked at both ends and at one point the input picks.
void checkOutline(const CircleItem& c, const std::vector<Point2>& outline, std::size_t pick) {
    const std::size_t last = outline.size() - 1;
    const std::size_t points[] = {0, last, pick % (last + 1)};
    if (c.isThreeNumberCircle()) {
        for (std::size_t i : points) {
            const double theta = static_cast<double>(i) * kReaderCircleStep;
            FUZZ_CHECK(outline[i].x == c.cx + c.radius * std::cos(theta));
            FUZZ_CHECK(outline[i].y == c.cy + c.radius * std::sin(theta));
        }
        return;
    }
    const double sweep = c.endAngle - c.startAngle;
    int n = static_cast<int>(std::fabs(sweep * kReaderSegmentsPerRadian));
    if (n < 20) n = 20;
    FUZZ_CHECK(outline.size() == static_cast<std::size_t>(n) + 1);
    const double step = sweep / n;
    for (std::size_t i : points) {
        Matrix3 m;
        m.translate(c.radius, 0.0);
        m.rotate(-(c.startAngle + step * static_cast<int>(i)));
        m.scaleAxes(1.0, c.ratio);
        m.rotate(-c.tilt);
        m.translate(c.cx, c.cy);
        const Point2 p = m.transformPoint(0.0, 0.0);
        FUZZ_CHECK(outline[i].x == p.x && outline[i].y == p.y);
    }
}

bool finiteLine(const LineItem& s) {
    return finite(s.x1) && finite(s.y1) && finite(s.x2) && finite(s.y2);
}

void checkFigure(const Figure& f, std::size_t pieces, std::size_t pick) {
    std::size_t elements = 0;
    ElementKinds::each([&](auto kind) { elements += decltype(kind)::list(f).size(); });
    for (const TextItem& t : f.texts) {
        FUZZ_CHECK(finite(t.x) && finite(t.y) && finite(t.dx) && finite(t.dy));
        FUZZ_CHECK(!t.string.empty() && t.string[0] == '"');
        FUZZ_CHECK(t.string.find('\n') == std::string::npos);
        FUZZ_CHECK(t.tag[0] == 'c' && TextKind::kTags.find(t.tag[1]) != std::string_view::npos);
    }
    for (const SolidItem& s : f.solids) {
        FUZZ_CHECK(s.count >= 2 && s.count <= 4);
        for (int c = 0; c < s.count; ++c)
            FUZZ_CHECK(finite(s.corner[c].x) && finite(s.corner[c].y));
    }
    for (const MarkerItem& m : f.markers) {
        FUZZ_CHECK(finite(m.x) && finite(m.y));
        for (char c : m.rest) FUZZ_CHECK(static_cast<unsigned char>(c) >= ' ');
    }
    // A group's elements are where it says, each of its kind, in order.
    std::size_t sizes[kFigureKinds];
    ElementKinds::each([&](auto kind) {
        sizes[ElementKinds::index<decltype(kind)>()] = decltype(kind)::list(f).size();
    });
    for (const auto* groups : {&f.dimensions, &f.blocks})
        for (const GroupItem& g : *groups) {
            FUZZ_CHECK(finite(g.x) && finite(g.y));
            FUZZ_CHECK(g.name.find('\n') == std::string::npos);
            std::size_t taken[kFigureKinds] = {};
            for (uint8_t k : g.order) {
                FUZZ_CHECK(k < kFigureKinds && k != ElementKinds::index<DimensionKind>() &&
                           k != ElementKinds::index<BlockKind>());
                FUZZ_CHECK(g.first[k] + taken[k]++ < sizes[k]);
            }
        }
    for (const RecordCount& c : f.uncopied) FUZZ_CHECK(!c.tag.empty() && c.count > 0);
    // Every state names kept lines of its own key, each line at least a byte past its tag.
    const Attributes& a = f.attributes;
    FUZZ_CHECK(a.header < a.states.size());
    for (const AttributeState& s : a.states)
        for (int k = 0; k < kAttributeKeys; ++k)
            FUZZ_CHECK(s.line[k] == kUnknownLine ||
                       (s.line[k] < a.lines.size() && attributeKeyOf(a.lines[s.line[k]]) == k));
    for (const std::string& line : a.lines)
        FUZZ_CHECK(line.size() > 2 && line.size() < kMaxPieceBytes);
    for (const auto& runs : a.runs)
        for (std::size_t i = 0; i < runs.size(); ++i)
            FUZZ_CHECK(runs[i].state < a.states.size() &&
                       (i == 0 || runs[i - 1].first < runs[i].first));
    for (const LineItem& s : f.lines) FUZZ_CHECK(finiteLine(s));
    for (const PolylineItem& p : f.polylines) {
        elements += p.segments.size();
        for (const LineItem& s : p.segments) FUZZ_CHECK(finiteLine(s));
        for (std::size_t i = 0; i < p.runs.size(); ++i)
            FUZZ_CHECK(p.runs[i].state < a.states.size() && p.runs[i].first < p.segments.size() &&
                       (i == 0 || p.runs[i - 1].first < p.runs[i].first));
    }
    for (const PointItem& p : f.points) FUZZ_CHECK(finite(p.x) && finite(p.y));
    const Bounds& b = f.bounds;
    auto inBounds = [&](double x, double y) {
        return x >= b.box.minX && x <= b.box.maxX && y >= b.box.minY && y <= b.box.maxY;
    };
    for (const CircleItem& c : f.circles) {
        FUZZ_CHECK(finite(c.cx) && finite(c.cy) && finite(c.radius) && finite(c.startAngle) &&
                   finite(c.endAngle) && finite(c.ratio) && finite(c.tilt));
        const std::vector<Point2> outline = outlineOf(c);
        if (c.isThreeNumberCircle()) {
            FUZZ_CHECK(c.ratio == 1.0 && c.tilt == 0.0 && outline.size() == 41);
        } else {
            FUZZ_CHECK(outline.size() >= 21 && outline.size() <= kMaxOutlineSegments + 1);
        }
        for (const Point2& p : outline)
            FUZZ_CHECK(finite(p.x) && finite(p.y) && inBounds(p.x, p.y));
        checkOutline(c, outline, pick);
    }
    FUZZ_CHECK(elements <= pieces);
    const Extents e = f.extents();
    FUZZ_CHECK(finite(e.minX) && finite(e.minY) && finite(e.maxX) && finite(e.maxY));
    FUZZ_CHECK(e.minX <= 0.0 && e.minY <= 0.0 && e.maxX >= 0.0 && e.maxY >= 0.0);
    FUZZ_CHECK(b.empty == (f.lines.empty() && f.circles.empty() && f.points.empty() && [&] {
                   for (const PolylineItem& p : f.polylines)
                       if (!p.segments.empty()) return false;
                   return true;
               }()));
}

// A small deterministic generator, seeded from the input, so a saved input replays exactly.
struct Chunker {
    uint64_t state;
    std::size_t next(std::size_t bound) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::size_t>(state % bound);
    }
};

constexpr std::size_t kMaxChunk = 600;

uint64_t hashOf(const uint8_t* data, std::size_t size) {
    uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h | 1;
}

// Each chunk at the start of one reused buffer whose rest is poisoned, so a read past the
// chunk is caught as if it had an allocation of its own, without allocating per chunk.
void feedInChunks(FigureReader& reader, const uint8_t* data, std::size_t size, Chunker& pick,
                  std::size_t maxChunk) {
    static std::vector<char> buffer(kMaxChunk + 1);
    std::size_t at = 0;
    while (at < size) {
        std::size_t n = pick.next(maxChunk + 1);  // 0 too: an empty feed changes nothing
        if (n > size - at) n = size - at;
        ASAN_UNPOISON_MEMORY_REGION(buffer.data(), buffer.size());
        std::memcpy(buffer.data(), data + at, n);
        ASAN_POISON_MEMORY_REGION(buffer.data() + n, buffer.size() - n);
        reader.feed(buffer.data(), n);
        at += n;
    }
    ASAN_UNPOISON_MEMORY_REGION(buffer.data(), buffer.size());
    reader.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Figure whole;
    FigureReader oneRead(whole);
    oneRead.expectedBytes = size;
    oneRead.feed(reinterpret_cast<const char*>(data), size);
    oneRead.finish();

    std::size_t newlines = 0;
    for (std::size_t i = 0; i < size; ++i) newlines += data[i] == '\n';
    Chunker pick{hashOf(data, size)};
    checkFigure(whole, newlines + size / kMaxPieceBytes + 1, pick.next(kMaxOutlineSegments + 1));

    // One chunking per input, the input picks which: byte by byte (small inputs only), short
    // chunks, chunks up to a piece, or longer ones.
    const std::size_t sizes[] = {1, 7, kMaxPieceBytes, kMaxChunk};
    std::size_t maxChunk = sizes[pick.next(4)];
    if (maxChunk == 1 && size > 512) maxChunk = 7;
    Figure chunked;
    FigureReader reader(chunked);
    feedInChunks(reader, data, size, pick, maxChunk);
    FUZZ_CHECK(sameFigure(whole, chunked));
    FUZZ_CHECK(oneRead.records.polylineOpen == reader.records.polylineOpen);
    return 0;
}
