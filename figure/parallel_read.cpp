#include "figure/parallel_read.h"

#include <cstring>
#include <iterator>
#include <memory>

#include "figure/element_kinds.h"
#include "figure/line_cutting.h"

namespace {

// Room for `needed` items: the estimate for the whole input when there is one, else the usual
// doubling.
template <class T>
void makeRoom(std::vector<T>& items, std::size_t needed, double wholeScale) {
    if (items.capacity() >= needed) return;
    std::size_t room = 2 * items.capacity();
    if (wholeScale > 1.0) room = static_cast<std::size_t>(static_cast<double>(needed) * wholeScale);
    items.reserve(room > needed ? room : needed);
}

template <class T>
void appendAll(std::vector<T>& to, std::vector<T>& from, double wholeScale) {
    if (from.empty()) return;
    makeRoom(to, to.size() + from.size(), wholeScale);
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from.clear();
}

// A part's attribute states in the whole figure's terms: a key the part leaves unknown has the
// value in effect where the part starts.
struct StateMap {
    AttributeTable& whole;
    const Attributes& part;
    std::vector<uint32_t> lineOf;
    std::vector<uint32_t> stateOf;
    AttributeState atStart;

    StateMap(AttributeTable& w, const Attributes& p)
        : whole(w),
          part(p),
          stateOf(p.states.size(), kUnknownLine),
          atStart(w.attributes.states[w.current()]) {
        lineOf.reserve(p.lines.size());
        for (const std::string& line : p.lines) lineOf.push_back(whole.internLine(line));
    }
    uint32_t operator()(uint32_t local) {
        if (stateOf[local] != kUnknownLine) return stateOf[local];
        AttributeState s = atStart;
        for (int k = 0; k < kAttributeKeys; ++k)
            if (part.states[local].line[k] != kUnknownLine)
                s.line[k] = lineOf[part.states[local].line[k]];
        return stateOf[local] = whole.internState(s);
    }
};

// The part's runs after the items already there; a run that changes nothing is left out.
void appendRuns(std::vector<StateRun>& to, const std::vector<StateRun>& from, std::size_t offset,
                StateMap& map) {
    for (const StateRun& run : from) {
        const uint32_t state = map(run.state);
        if (state != (to.empty() ? 0 : to.back().state)) pushRun(to, offset + run.first, state);
    }
}

void clearPart(Figure& part) {
    ElementKinds::each([&](auto kind) { decltype(kind)::list(part).clear(); });
    part.bounds = Bounds();
    part.optionalBounds = Bounds();
    part.longestText = 0.0;
    part.uncopied.clear();
    part.attributes = Attributes();
}

// The state the open polyline's last segment has.
uint32_t openPolylineState(const Figure& figure) {
    const PolylineItem& p = figure.polylines.back();
    if (!p.runs.empty()) return p.runs.back().state;
    const std::vector<StateRun>& runs = figure.attributes.runs[ElementKinds::index<PolylineKind>()];
    return runs.empty() ? 0 : runs.back().state;
}

void joinPart(RecordReader& whole, RecordReader& reader, double wholeScale) {
    Figure& figure = whole.figure;
    Figure& part = reader.figure;
    // The part's state now is stored before the map is made, which sizes itself by the states.
    const uint32_t partNow = reader.table.current();
    StateMap map(whole.table, part.attributes);
    std::size_t offset[kFigureKinds];
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        offset[ElementKinds::index<Kind>()] = Kind::list(figure).size();
    });
    // What the part read before its first "pl" or "#" continues whatever was open before it.
    if (whole.polylineOpen) {
        PolylineItem& open = figure.polylines.back();
        uint32_t state = openPolylineState(figure);
        for (const StateRun& run : reader.leadingRuns) {
            const uint32_t mapped = map(run.state);
            if (mapped == state) continue;
            state = mapped;
            pushRun(open.runs, open.segments.size() + run.first, state);
        }
        open.segments.insert(open.segments.end(), reader.leading.begin(), reader.leading.end());
    } else {
        constexpr std::size_t k = ElementKinds::index<SegmentKind>();
        appendRuns(figure.attributes.runs[k], reader.leadingRuns, offset[k], map);
        offset[k] += reader.leading.size();
        appendAll(figure.lines, reader.leading, wholeScale);
    }
    reader.leading.clear();
    for (std::size_t k = 0; k < kFigureKinds; ++k)
        appendRuns(figure.attributes.runs[k], part.attributes.runs[k], offset[k], map);
    if (!whole.table.headerDone) figure.attributes.header = map(part.attributes.header);
    whole.table.setCurrent(map(partNow));
    whole.table.headerDone = whole.table.headerDone || reader.table.headerDone;
    if (reader.markerSeen) whole.polylineOpen = reader.polylineOpen;
    if (reader.groupKind != kFigureKinds) whole.groupKind = reader.groupKind;
    for (PolylineItem& p : part.polylines)
        for (StateRun& run : p.runs) run.state = map(run.state);
    for (std::vector<GroupItem>* groups : {&part.dimensions, &part.blocks})
        for (GroupItem& g : *groups)
            for (std::size_t k = 0; k < kFigureKinds; ++k) g.first[k] += offset[k];
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        appendAll(Kind::list(figure), Kind::list(part), wholeScale);
    });
    figure.bounds.include(part.bounds);
    figure.optionalBounds.include(part.optionalBounds);
    if (part.longestText > figure.longestText) figure.longestText = part.longestText;
    for (const RecordCount& c : part.uncopied) countRecords(figure.uncopied, c.tag, c.count);
}

}  // namespace

void ParallelRead::read(RecordReader& whole, const char* p, const char* end, int count,
                        double wholeScale) {
    const std::size_t bytes = static_cast<std::size_t>(end - p);
    const std::size_t n = static_cast<std::size_t>(count);
    // Cut after line breaks: a piece always starts there, so each part reads its pieces
    // exactly as one pass over the whole would.
    std::vector<const char*> cuts(n + 1);
    cuts[0] = p;
    cuts[n] = end;
    for (std::size_t i = 1; i < n; ++i) {
        const char* from = p + bytes * i / n;
        if (from < cuts[i - 1]) from = cuts[i - 1];
        const void* newline = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
        cuts[i] = newline ? static_cast<const char*>(newline) + 1 : end;
    }
    if (parts.size() < n) parts.resize(n);
    std::vector<std::unique_ptr<RecordReader>> readers(n);
    for (std::size_t i = 1; i < n; ++i) {
        clearPart(parts[i]);
        readers[i] = std::make_unique<RecordReader>(parts[i], true);
    }
    if (!pool) pool = std::make_unique<WorkerPool>(count - 1);
    // Part 0 on the calling thread, the others dealt in turn to the workers (all to the
    // caller when none could start).
    const std::size_t helpers = static_cast<std::size_t>(pool->size());
    const auto job = [&](int worker) {
        for (std::size_t i = static_cast<std::size_t>(worker) + 1; i < n; i += helpers)
            readPieces(cuts[i], cuts[i + 1], *readers[i]);
    };
    if (helpers > 0) pool->start(job);
    readPieces(cuts[0], cuts[1], whole);
    if (helpers == 0)
        for (std::size_t i = 1; i < n; ++i) readPieces(cuts[i], cuts[i + 1], *readers[i]);
    pool->wait();
    // Room for all parts at once, so joining them copies each item once.
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        std::size_t total = Kind::list(whole.figure).size();
        for (std::size_t i = 1; i < n; ++i) total += Kind::list(parts[i]).size();
        if (ElementKinds::index<Kind>() == ElementKinds::index<SegmentKind>())
            for (std::size_t i = 1; i < n; ++i) total += readers[i]->leading.size();
        makeRoom(Kind::list(whole.figure), total, wholeScale);
    });
    for (std::size_t i = 1; i < n; ++i) {
        RecordReader& reader = *readers[i];
        // A group open across the cut, or a polyline the part could not know was open when a
        // group began in it: that part is read again, on from where the ones before it left.
        if (whole.groupKind != kFigureKinds || (reader.assumedClosed && whole.polylineOpen))
            readPieces(cuts[i], cuts[i + 1], whole);
        else
            joinPart(whole, reader, wholeScale);
        whole.resumeRuns();
    }
}
