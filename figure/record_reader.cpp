#include "figure/record_reader.h"

#include "figure/record_parsing.h"

namespace {

std::string_view withoutBreak(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Whether a piece that is not empty starts with the tag; the tag is a constant, so this is
// a compare or two.
template <const std::string_view& tag>
bool startsWith(std::string_view line) {
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (i >= line.size() || line[i] != tag[i]) return false;
    return true;
}

}  // namespace

RecordReader::RecordReader(Figure& target, bool isPart)
    : figure(target), table(target.attributes), polylineOpen(isPart), part(isPart) {
    // A part's first item of every kind gets a run: its state 0 means "as the part was found".
    const uint32_t first = isPart ? kUnknownLine : 0;
    for (uint32_t& s : runState) s = first;
    leadingState = first;
}

void RecordReader::resumeRuns() {
    for (std::size_t k = 0; k < kFigureKinds; ++k) {
        const std::vector<StateRun>& runs = figure.attributes.runs[k];
        runState[k] = runs.empty() ? 0 : runs.back().state;
    }
}

void RecordReader::noteState(std::vector<StateRun>& runs, uint32_t& last, std::size_t index) {
    if (table.current == last) return;
    last = table.current;
    pushRun(runs, index, last);
}

void RecordReader::appendSegment(const LineItem& item) {
    figure.bounds.include(item.x1, item.y1);
    figure.bounds.include(item.x2, item.y2);
    if (!polylineOpen) {
        noteState(figure.attributes.runs[ElementKinds::index<SegmentKind>()],
                  runState[ElementKinds::index<SegmentKind>()], figure.lines.size());
        figure.lines.push_back(item);
    } else if (part && figure.polylines.empty()) {
        noteState(leadingRuns, leadingState, leading.size());
        leading.push_back(item);
    } else {
        std::vector<LineItem>& segments = figure.polylines.back().segments;
        if (segments.empty()) segments.reserve(16);  // one allocation for the usual polyline
        segments.push_back(item);
    }
}

void RecordReader::readElement(SegmentKind, std::string_view piece) {
    LineItem item;
    if (parseSegmentLine(piece, item)) appendSegment(item);
}

void RecordReader::readElement(PolylineKind, std::string_view) {
    constexpr std::size_t k = ElementKinds::index<PolylineKind>();
    noteState(figure.attributes.runs[k], runState[k], figure.polylines.size());
    figure.polylines.emplace_back();
    polylineOpen = true;
    markerSeen = true;
}

void RecordReader::readElement(CircleKind, std::string_view piece) {
    CircleItem item;
    if (!parseCircleNumbers(piece, item)) return;
    const int n = sampleOutline(item, outline);
    if (n == 0) return;
    for (int i = 0; i < n; ++i) figure.bounds.include(outline[i].x, outline[i].y);
    constexpr std::size_t k = ElementKinds::index<CircleKind>();
    noteState(figure.attributes.runs[k], runState[k], figure.circles.size());
    figure.circles.push_back(item);
}

void RecordReader::readElement(PointKind, std::string_view piece) {
    PointItem item;
    if (!parsePointLine(piece, item)) return;
    figure.bounds.include(item.x, item.y);
    constexpr std::size_t k = ElementKinds::index<PointKind>();
    noteState(figure.attributes.runs[k], runState[k], figure.points.size());
    figure.points.push_back(item);
}

void RecordReader::keepText(std::string_view line) {
    TextItem item;
    if (!parseTextLine(withoutBreak(line), item)) return;
    figure.textBounds.include(item.x, item.y);
    figure.textBounds.include(item.x + item.dx, item.y + item.dy);
    constexpr std::size_t k = ElementKinds::index<TextKind>();
    noteState(figure.attributes.runs[k], runState[k], figure.texts.size());
    figure.texts.push_back(std::move(item));
}

void RecordReader::readElement(TextKind, std::string_view piece) {
    if (!lineStart) return;  // a later piece of a long line: not a text of its own
    if (!midLine) {
        keepText(piece);
    } else {
        textOpen = true;
        textLine.assign(piece.data(), piece.size());
    }
}

// A later piece of a text line.
void RecordReader::continueText(std::string_view piece) {
    textLine.append(piece.data(), piece.size());
    if (midLine) return;
    textOpen = false;
    keepText(textLine);
    textLine.clear();
}

void RecordReader::setAttribute(AttributeKey key, std::string_view line) {
    AttributeState state = figure.attributes.states[table.current];
    state.line[key] = table.internLine(line);
    const uint32_t next = table.internState(state);
    if (next == table.current) return;
    table.current = next;
    if (!table.headerDone) figure.attributes.header = next;
}

// A line that is neither an element nor "#".
void RecordReader::readOtherLine(std::string_view piece) {
    const AttributeKey key = attributeKeyOf(piece);
    if (key == kAttributeKeys || !lineStart || midLine) return;
    const std::string_view value = withoutBreak(piece);
    // A line of its tag alone sets nothing: the host would be left to guess.
    const std::size_t tagLength = key == kTextFont ? 3 : 2;
    if (value.size() > tagLength) setAttribute(key, value);
}

void RecordReader::readPiece(std::string_view piece) {
    if (piece.empty()) return;
    lineStart = !midLine;
    midLine = piece.back() != '\n' && piece.size() == kMaxPieceBytes;
    // A piece is a C string to the original reader: a NUL byte ends it.
    const std::size_t nul = piece.find('\0');
    if (nul != std::string_view::npos) piece = piece.substr(0, nul);
    if (textOpen) continueText(piece);
    if (piece.empty()) return;
    const bool element = ElementKinds::any([&](auto kind) {
        if (!startsWith<decltype(kind)::tag>(piece)) return false;
        readElement(kind, piece);
        return true;
    });
    if (element) {
        table.headerDone = true;
    } else if (startsWith<PolylineKind::endTag>(piece)) {
        polylineOpen = false;
        markerSeen = true;
        table.headerDone = true;
    } else {
        readOtherLine(piece);
    }
}

void RecordReader::finish() {
    if (textOpen) {
        textOpen = false;
        keepText(textLine);
        textLine.clear();
    }
    lineStart = true;
    midLine = false;
}
