#include "figure/record_reader.h"

#include <algorithm>
#include <cmath>

#include "figure/record_parsing.h"

namespace {

std::string_view withoutBreak(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// The records the host sends that no copy can take: circle and ring solids (their fields are
// not known well enough here to map them), sun-shadow and 2.5D data.
constexpr std::string_view kUncopiedTags[] = {"sc", "se", "so", "sg", "ck", "cz", "c2"};
constexpr std::size_t kTagBytes = 8;

// A record's tag, as the count names it: its leading printable bytes up to a space, at most
// kTagBytes, without the digits after its letters ("lz0" and "lz1" are one kind); "?" for a
// line that starts with none.
std::string_view tagOf(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && n < kTagBytes && line[n] > ' ' && line[n] < 0x7F) ++n;
    std::size_t letters = n;
    while (letters > 0 && line[letters - 1] >= '0' && line[letters - 1] <= '9') --letters;
    if (letters > 0) n = letters;
    return n > 0 ? line.substr(0, n) : std::string_view("?");
}

bool carriesString(std::string_view piece) {
    return TextKind::starts(piece) || BlockKind::starts(piece);
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
    if (polylineOpen && !figure.polylines.empty()) {
        const PolylineItem& p = figure.polylines.back();
        polylineState =
            p.runs.empty() ? runState[ElementKinds::index<PolylineKind>()] : p.runs.back().state;
    }
}

void RecordReader::noteState(std::vector<StateRun>& runs, uint32_t& last, std::size_t index) {
    const uint32_t now = table.current();
    if (now == last) return;
    last = now;
    pushRun(runs, index, last);
}

template <class Kind>
void RecordReader::append(typename Kind::Item&& item) {
    constexpr std::size_t k = ElementKinds::index<Kind>();
    std::vector<typename Kind::Item>& list = Kind::list(figure);
    noteState(figure.attributes.runs[k], runState[k], list.size());
    list.push_back(std::move(item));
    if (groupKind != kFigureKinds) {
        std::vector<GroupItem>& groups =
            groupKind == ElementKinds::index<DimensionKind>() ? figure.dimensions : figure.blocks;
        groups.back().order.push_back(static_cast<uint8_t>(k));
    }
}

void RecordReader::appendSegment(const LineItem& item) {
    figure.bounds.include(item.x1, item.y1);
    figure.bounds.include(item.x2, item.y2);
    if (!polylineOpen) {
        append<SegmentKind>(LineItem(item));
    } else if (part && figure.polylines.empty()) {
        noteState(leadingRuns, leadingState, leading.size());
        leading.push_back(item);
    } else {
        PolylineItem& p = figure.polylines.back();
        if (p.segments.empty()) p.segments.reserve(16);  // one allocation for the usual polyline
        noteState(p.runs, polylineState, p.segments.size());
        p.segments.push_back(item);
    }
}

void RecordReader::readElement(SegmentKind, std::string_view piece) {
    LineItem item;
    if (parseSegmentLine(piece, item, readable)) appendSegment(item);
}

void RecordReader::readElement(PolylineKind, std::string_view) {
    append<PolylineKind>(PolylineItem());
    polylineState = table.current();
    polylineOpen = true;
    markerSeen = true;
}

void RecordReader::readElement(CircleKind, std::string_view piece) {
    CircleItem item;
    if (!parseCircleNumbers(piece, item, readable)) return;
    // Most circles lie inside what was read before them: their outline would change nothing.
    if (figure.bounds.empty || !outlineInside(item, figure.bounds.box)) {
        const int n = sampleOutline(item, outline);
        if (n == 0) return;
        for (int i = 0; i < n; ++i) figure.bounds.include(outline[i].x, outline[i].y);
    }
    append<CircleKind>(std::move(item));
}

void RecordReader::readElement(PointKind, std::string_view piece) {
    PointItem item;
    if (parsePointLine(piece, item, readable)) {
        figure.bounds.include(item.x, item.y);
        append<PointKind>(std::move(item));
    } else {
        readElement(MarkerKind{}, piece);
    }
}

void RecordReader::readElement(MarkerKind, std::string_view piece) {
    MarkerItem item;
    if (!parseMarkerLine(withoutBreak(piece), item)) return;
    figure.optionalBounds.include(item.x, item.y);
    append<MarkerKind>(std::move(item));
}

void RecordReader::readElement(TextKind, std::string_view piece) {
    TextItem item;
    if (!parseTextLine(withoutBreak(piece), item)) return;
    figure.optionalBounds.include(item.x, item.y);
    const double length = lengthOf(item.dx, item.dy);
    if (length > figure.longestText) figure.longestText = length;
    append<TextKind>(std::move(item));
}

void RecordReader::readElement(SolidKind, std::string_view piece) {
    SolidItem item;
    if (!parseSolidLine(piece, item)) return;
    for (int i = 0; i < item.count; ++i)
        figure.optionalBounds.include(item.corner[i].x, item.corner[i].y);
    append<SolidKind>(std::move(item));
}

void RecordReader::openGroup(std::size_t kind, GroupItem&& group) {
    groupKind = kFigureKinds;  // a group never holds another
    ElementKinds::each([&](auto k) {
        group.first[ElementKinds::index<decltype(k)>()] = decltype(k)::list(figure).size();
    });
    if (kind == ElementKinds::index<DimensionKind>())
        append<DimensionKind>(std::move(group));
    else
        append<BlockKind>(std::move(group));
    groupKind = kind;
    // Not knowing what the stretch before left open, a part takes no polyline as open now.
    if (part && !markerSeen) {
        polylineOpen = false;
        assumedClosed = true;
    }
}

// A group whose head has another shape than this program knows is named, and it and its
// elements are not copied.
void RecordReader::readElement(DimensionKind, std::string_view piece) {
    GroupItem dimension;
    dimension.known = withoutBreak(piece) == DimensionKind::tag;
    if (!dimension.known) count(DimensionKind::tag);
    openGroup(ElementKinds::index<DimensionKind>(), std::move(dimension));
}

void RecordReader::readElement(BlockKind, std::string_view piece) {
    GroupItem block;
    block.known = parseBlockHead(withoutBreak(piece), block);
    if (block.known)
        figure.optionalBounds.include(block.x, block.y);
    else
        count(BlockKind::tag);
    openGroup(ElementKinds::index<BlockKind>(), std::move(block));
}

void RecordReader::endLine() {
    markerSeen = true;
    // The innermost: a polyline within a group ends before the group.
    if (polylineOpen)
        polylineOpen = false;
    else
        groupKind = kFigureKinds;
}

void RecordReader::count(std::string_view tag) {
    countRecords(figure.uncopied, tag, 1);
}

void RecordReader::setAttribute(AttributeKey key, std::string_view line) {
    table.set(key, line);
    if (!table.headerDone) figure.attributes.header = table.current();
}

// A line that is neither an element nor "#".
void RecordReader::readOtherLine(std::string_view piece) {
    const AttributeKey key = attributeKeyOf(piece);
    if (key != kAttributeKeys) {
        const std::string_view value = withoutBreak(piece);
        // A line of its tag alone sets nothing: the host would be left to guess; nor does one
        // longer than a piece.
        const std::size_t tagLength = key == kTextFont ? 3 : 2;
        if (value.size() > tagLength && !midLine) setAttribute(key, value);
        return;
    }
    // The host's own settings (hq, hs, ...) and blank lines are no records of the selection.
    const unsigned char first = static_cast<unsigned char>(piece[0]);
    if (first <= ' ' || first == 'h') return;
    count(tagOf(piece));
}

// A string record, whole.
void RecordReader::readString(std::string_view line) {
    if (TextKind::starts(line))
        readElement(TextKind{}, line);
    else
        readElement(BlockKind{}, line);
    table.headerDone = true;
}

void RecordReader::readPiece(std::string_view piece) {
    if (piece.empty()) return;
    lineStart = !midLine;
    midLine = piece.back() != '\n' && piece.size() == kMaxPieceBytes;
    // A piece is a C string to the original reader: a NUL byte ends it.
    const std::size_t nul = piece.find('\0');
    if (nul != std::string_view::npos) piece = piece.substr(0, nul);
    if (stringOpen) {
        stringLine.append(piece.data(), piece.size());
        if (midLine) return;
        stringOpen = false;
        readString(stringLine);
        stringLine.clear();
        return;
    }
    if (piece.empty()) return;
    if (carriesString(piece)) {
        if (!lineStart) return;  // a later piece of a long line: part of what it began
        if (!midLine) {
            readString(piece);
        } else {
            stringOpen = true;
            stringLine.assign(piece.data(), piece.size());
        }
        return;
    }
    const bool element = ElementKinds::any([&](auto kind) {
        using Kind = decltype(kind);
        if (!Kind::starts(piece)) return false;
        readElement(kind, piece);
        return true;
    });
    if (element) {
        table.headerDone = true;
    } else if (piece[0] == '#') {
        endLine();
        table.headerDone = true;
    } else if (!lineStart) {
    } else {
        for (std::string_view tag : kUncopiedTags)
            if (kinds::startsWith(piece, tag)) {
                count(tag);
                return;
            }
        readOtherLine(piece);
    }
}

void RecordReader::finish() {
    if (stringOpen) {
        stringOpen = false;
        readString(stringLine);
        stringLine.clear();
    }
    lineStart = true;
    midLine = false;
}
