#include "figure/reader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "figure/decimal.h"
#include "figure/element_kinds.h"
#include "figure/exchange_io.h"
#include "figure/matrix3.h"
#include "figure/workers.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int splitFields(std::string_view line, std::size_t firstSeparator, double values[kMaxFields]) {
    const char* const text = line.data();
    const char* const end = text + line.size();
    int count = 1;
    // One pass: each field's number is read where the field starts, and the next separator
    // is normally the character right after it. A number holds no space, so it cannot run
    // into the next field, unless the field starts with white space, which the number
    // reader would skip: such a field is read within its bounds.
    const char* field = firstSeparator + 1 <= line.size() ? text + firstSeparator + 1 : end;
    for (;;) {
        const char* next;
        double value = 0.0;
        if (field == end) {
            next = nullptr;
        } else if (isBlank(*field)) {
            next = static_cast<const char*>(
                std::memchr(field, ' ', static_cast<std::size_t>(end - field)));
            value = parseDecimal(field, next ? next : end, end, nullptr);
        } else {
            const char* stop = field;
            value = parseDecimal(field, end, end, &stop);
            next = stop != end && *stop == ' '
                       ? stop
                       : static_cast<const char*>(
                             std::memchr(stop, ' ', static_cast<std::size_t>(end - stop)));
        }
        if (count <= kMaxFields) values[count - 1] = value;
        if (!next) return count;
        if (count == kMaxFields + 1) return count + 1;  // too many for any line kind
        ++count;
        field = next + 1;
    }
}

namespace {

bool allFinite(const double* values, int count) {
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(values[k])) return false;
    return true;
}

}  // namespace

int parseSegmentLine(std::string_view line, LineItem& item) {
    double v[kMaxFields];
    if (splitFields(line, 0, v) != 4 || !allFinite(v, 4)) return 0;
    item = LineItem(v[0], v[1], v[2], v[3]);
    return 1;
}

int parsePointLine(std::string_view line, PointItem& item) {
    double v[kMaxFields];
    if (splitFields(line, 2, v) != 2 || !allFinite(v, 2)) return 0;
    item.x = v[0];
    item.y = v[1];
    return 1;
}

namespace {

// The seven numbers of a circle line, without the outline.
int parseCircleNumbers(std::string_view line, CircleItem& c) {
    double v[kMaxFields];
    const int count = splitFields(line, 2, v);
    if ((count != 3 && count != 7) || !allFinite(v, count)) return 0;
    c.cx = v[0];
    c.cy = v[1];
    c.radius = v[2];
    if (count == 3) {
        c.startAngle = 0.0;
        c.endAngle = 0.0;
        c.ratio = 1.0;
        c.tilt = 0.0;
    } else {
        c.startAngle = v[3] * kReaderDegree;
        c.endAngle = v[4] * kReaderDegree;
        if (c.endAngle == c.startAngle) {
            c.startAngle = 0.0;
            c.endAngle = kReaderFullTurn;
        }
        if (c.startAngle > c.endAngle) {
            c.startAngle -= kReaderFullTurn;
            // Start 360, end 0 would become 0 and 0 here, which the writer takes for a
            // three-number circle, losing ratio and tilt: keep it a full seven-number turn.
            if (c.startAngle == c.endAngle) {
                c.startAngle = 0.0;
                c.endAngle = kReaderFullTurn;
            }
        }
        c.ratio = v[5];
        c.tilt = v[6] * kReaderDegree;
    }
    return 1;
}

// Room for the longest outline.
constexpr int kMaxOutlinePoints = kMaxOutlineSegments + 1;

// The outline's points into out (kMaxOutlinePoints of room); their number, or 0 when one is
// not finite or too many would be needed.
int computeOutline(const CircleItem& item, Point2* out);

}  // namespace

int parseCircleLine(std::string_view line, CircleItem& item) {
    CircleItem c;
    if (!parseCircleNumbers(line, c) || !buildOutline(c)) return 0;
    item = std::move(c);
    return 1;
}

namespace {

// cos and sin of the 41 sampling angles of a full circle, computed once.
struct CircleSteps {
    double cosine[41];
    double sine[41];
    CircleSteps() {
        for (int i = 0; i <= 40; ++i) {
            const double theta = i * kReaderCircleStep;
            cosine[i] = std::cos(theta);
            sine[i] = std::sin(theta);
        }
    }
};

// Below this no product of the outline formula can overflow, so the short form below gives
// the same bits as multiplying the five matrices.
constexpr double kModerate = 1e150;

bool moderate(const CircleItem& c) {
    return std::fabs(c.cx) < kModerate && std::fabs(c.cy) < kModerate &&
           std::fabs(c.radius) < kModerate && std::fabs(c.ratio) < kModerate;
}

// The image of the origin under translate(radius, 0), rotate(-theta), scaleAxes(1, ratio),
// rotate(-tilt), translate(cx, cy). The matrix products reduce to these terms: the others
// multiply by an exact 0 or 1, which changes no bit of a finite non-zero result (at most the
// sign of a zero, which nothing can see).
Point2 outlinePoint(const CircleItem& c, double theta, double tiltCos, double tiltSin) {
    const double a = c.radius * std::cos(-theta);
    const double b = (c.radius * -std::sin(-theta)) * c.ratio;
    return {(a * tiltCos + b * tiltSin) + c.cx, (a * -tiltSin + b * tiltCos) + c.cy};
}

Point2 outlinePointByMatrices(const CircleItem& c, double theta) {
    Matrix3 m;
    m.translate(c.radius, 0.0);
    m.rotate(-theta);
    m.scaleAxes(1.0, c.ratio);
    m.rotate(-c.tilt);
    m.translate(c.cx, c.cy);
    return m.transformPoint(0.0, 0.0);
}

}  // namespace

namespace {

int computeOutline(const CircleItem& item, Point2* out) {
    const double sweep = item.endAngle - item.startAngle;
    int n;
    if (sweep == 0.0) {
        static const CircleSteps steps;
        n = 40;
        for (int i = 0; i <= 40; ++i)
            out[i] = {item.cx + item.radius * steps.cosine[i],
                      item.cy + item.radius * steps.sine[i]};
    } else {
        const double segments = std::fabs(sweep * kReaderSegmentsPerRadian);
        if (!(segments < kMaxOutlineSegments + 1)) return 0;  // also rejects NaN
        n = static_cast<int>(segments);
        if (n < 20) n = 20;
        const double step = sweep / n;
        const bool fast = moderate(item);
        const double tiltCos = std::cos(-item.tilt);
        const double tiltSin = std::sin(-item.tilt);
        for (int i = 0; i <= n; ++i) {
            const double theta = item.startAngle + step * i;
            out[i] = fast ? outlinePoint(item, theta, tiltCos, tiltSin)
                          : outlinePointByMatrices(item, theta);
        }
    }
    for (int i = 0; i <= n; ++i)
        if (!std::isfinite(out[i].x) || !std::isfinite(out[i].y)) return 0;
    return n + 1;
}

}  // namespace

int buildOutline(CircleItem& item) {
    std::vector<Point2> outline(kMaxOutlinePoints);
    const int n = computeOutline(item, outline.data());
    if (n == 0) return 0;
    outline.resize(static_cast<std::size_t>(n));
    item.outline.own(std::move(outline));
    return 1;
}

namespace {

// One overload per element kind: reads a piece that starts with the kind's tag.
void readElement(SegmentKind, std::string_view line, Figure& figure) {
    LineItem item;
    if (parseSegmentLine(line, item)) figure.appendSegment(item);
}

void readElement(PolylineKind, std::string_view, Figure& figure) {
    figure.openPolyline();
}

void readElement(CircleKind, std::string_view line, Figure& figure) {
    // The outline is made here and copied into the figure's store: nothing per circle comes
    // from the heap. The room is the thread's own, zeroed once rather than per circle.
    CircleItem item;
    static thread_local Point2 outline[kMaxOutlinePoints];
    if (!parseCircleNumbers(line, item)) return;
    const int n = computeOutline(item, outline);
    if (n == 0) return;
    item.outline.refer(outline, static_cast<std::size_t>(n));
    figure.appendCircle(std::move(item));
}

void readElement(PointKind, std::string_view line, Figure& figure) {
    PointItem item;
    if (parsePointLine(line, item)) figure.appendPoint(item);
}

std::string_view withoutBreak(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

void keepText(std::string_view line, Figure& figure) {
    TextItem item;
    if (parseTextLine(withoutBreak(line), item)) figure.appendText(std::move(item));
}

void readElement(TextKind, std::string_view line, Figure& figure) {
    if (!figure.lineStart) return;  // a later piece of a long line: not a text of its own
    if (!figure.midLine) {
        keepText(line, figure);
    } else {
        figure.textOpen = true;
        figure.textLine.assign(line.data(), line.size());
    }
}

// A later piece of a text line.
void continueText(std::string_view line, Figure& figure) {
    figure.textLine.append(line.data(), line.size());
    if (figure.midLine) return;
    figure.textOpen = false;
    keepText(figure.textLine, figure);
    figure.textLine.clear();
}

// A run from the current item of every kind on; a run at the same item replaces the one there.
void pushRun(std::vector<StateRun>& runs, std::size_t first, uint32_t state) {
    if (!runs.empty() && runs.back().first == first)
        runs.back().state = state;
    else
        runs.push_back({first, state});
}

void setAttribute(AttributeKey key, std::string_view line, Figure& figure) {
    Attributes& a = figure.attributes;
    AttributeState state = a.states[a.current];
    state.line[key] = a.internLine(line);
    const uint32_t next = a.internState(state);
    if (next == a.current) return;
    a.current = next;
    if (!a.headerDone) a.header = next;
    ElementKinds::each([&](auto kind) {
        using Kind = decltype(kind);
        pushRun(a.runs[ElementKinds::index<Kind>()], Kind::list(figure).size(), next);
    });
    if (figure.readingPart && figure.polylineOpen == 1 && figure.polylines.size() == 1)
        pushRun(figure.leadingRuns, figure.polylines.front().segments.size(), next);
}

// A line that is neither an element nor "#".
void readOtherLine(std::string_view line, Figure& figure) {
    const AttributeKey key = attributeKeyOf(line);
    if (key == kAttributeKeys || !figure.lineStart || figure.midLine) return;
    const std::string_view value = withoutBreak(line);
    // A line of its tag alone sets nothing: the host would be left to guess.
    const std::size_t tagLength = key == kTextFont ? 3 : 2;
    if (value.size() > tagLength) setAttribute(key, value, figure);
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

int parseTextLine(std::string_view line, TextItem& item) {
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos || quote < 4 || line[quote - 1] != ' ') return 0;
    double v[kMaxFields];
    if (splitFields(line.substr(0, quote - 1), 2, v) != 4 || !allFinite(v, 4)) return 0;
    if (!std::isfinite(v[0] + v[2]) || !std::isfinite(v[1] + v[3])) return 0;
    item.x = v[0];
    item.y = v[1];
    item.dx = v[2];
    item.dy = v[3];
    item.string.assign(line.data() + quote, line.size() - quote);
    return 1;
}

void readLine(std::string_view line, Figure& figure) {
    if (line.empty()) return;
    figure.lineStart = !figure.midLine;
    figure.midLine = line.back() != '\n' && line.size() == kMaxPieceBytes;
    // A piece is a C string to the original reader: a NUL byte ends it.
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    if (figure.textOpen) continueText(line, figure);
    if (line.empty()) return;
    const bool element = ElementKinds::any([&](auto kind) {
        if (!startsWith<decltype(kind)::tag>(line)) return false;
        readElement(kind, line, figure);
        return true;
    });
    if (element) {
        figure.attributes.headerDone = true;
    } else if (startsWith<PolylineKind::endTag>(line)) {
        figure.closePolyline();
        figure.attributes.headerDone = true;
    } else {
        readOtherLine(line, figure);
    }
}

void finishReading(Figure& figure) {
    if (figure.textOpen) {
        figure.textOpen = false;
        keepText(figure.textLine, figure);
        figure.textLine.clear();
    }
    figure.lineStart = true;
    figure.midLine = false;
}

namespace {

// Reads the pieces of [p, end) up to the last one that has no line break and is shorter than
// a piece; returns where that one starts (end when there is none).
const char* readPieces(const char* p, const char* const end, Figure& figure) {
    while (p != end) {
        const std::size_t available = static_cast<std::size_t>(end - p);
        const std::size_t limit = available < kMaxPieceBytes ? available : kMaxPieceBytes;
        const void* newline = std::memchr(p, '\n', limit);
        if (newline) {
            const char* next = static_cast<const char*>(newline) + 1;
            readLine(std::string_view(p, static_cast<std::size_t>(next - p)), figure);
            p = next;
        } else if (limit == kMaxPieceBytes) {
            readLine(std::string_view(p, kMaxPieceBytes), figure);
            p += kMaxPieceBytes;
        } else {
            break;
        }
    }
    return p;
}

// Below this a part is not worth a thread.
constexpr std::size_t kMinPartBytes = 1 << 18;

// Room for total items when there are needed ones so far: the estimate for the whole file
// when there is one, else the usual doubling.
template <class T>
void makeRoom(std::vector<T>& items, std::size_t needed, double wholeScale) {
    if (items.capacity() >= needed) return;
    std::size_t room = 2 * items.capacity();
    if (wholeScale > 1.0) room = static_cast<std::size_t>(static_cast<double>(needed) * wholeScale);
    items.reserve(room > needed ? room : needed);
}

template <class T>
void reserveFor(std::vector<T>& items, double scale) {
    items.reserve(static_cast<std::size_t>(static_cast<double>(items.size()) * scale));
}

template <class T>
void appendAll(std::vector<T>& to, std::vector<T>& from, double wholeScale) {
    if (from.empty()) return;
    makeRoom(to, to.size() + from.size(), wholeScale);
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from.clear();
}

}  // namespace

void FigureReader::prepareParts(std::size_t count) {
    if (parts.size() < count) parts.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        Figure& part = parts[i];
        part.keepOutlines = figure.keepOutlines;
        part.extents = Extents();
        part.outlinePoints = PointStore();
        part.lines.clear();
        part.circles.clear();
        part.points.clear();
        part.polylines.clear();
        part.texts.clear();
        part.textBounds = Bounds();
        part.attributes = Attributes();  // state 0: every key as the part finds it
        part.readingPart = true;
        part.leadingRuns.clear();
        part.lineStart = true;
        part.midLine = false;
        // Segments before the part's first "pl" or "#" belong to whatever was open before it:
        // they collect in a polyline of their own, which joining puts in its place.
        part.polylines.emplace_back();
        part.polylineOpen = 1;
    }
}

namespace {

// A part's attribute states in the figure's terms: a key the part leaves unknown has the value
// in effect where the part starts.
struct StateMap {
    Attributes& whole;
    const Attributes& part;
    std::vector<uint32_t> lineOf;
    std::vector<uint32_t> stateOf;
    AttributeState atStart;

    StateMap(Attributes& w, const Attributes& p)
        : whole(w), part(p), stateOf(p.states.size(), kUnknownLine), atStart(w.states[w.current]) {
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

void appendRuns(std::vector<StateRun>& to, const std::vector<StateRun>& from, std::size_t offset,
                StateMap& map) {
    for (const StateRun& run : from) pushRun(to, offset + run.first, map(run.state));
}

}  // namespace

void FigureReader::joinPart(Figure& part, double wholeScale) {
    std::vector<LineItem>& leading = part.polylines.front().segments;
    Attributes& a = figure.attributes;
    if (part.attributes.any()) {
        StateMap map(a, part.attributes);
        std::size_t offset[kFigureKinds];
        ElementKinds::each([&](auto kind) {
            using Kind = decltype(kind);
            offset[ElementKinds::index<Kind>()] = Kind::list(figure).size();
        });
        offset[ElementKinds::index<PolylineKind>()] -= 1;  // the part's first is the leading one
        if (figure.polylineOpen != 1) {
            appendRuns(a.runs[ElementKinds::index<SegmentKind>()], part.leadingRuns,
                       figure.lines.size(), map);
            offset[ElementKinds::index<SegmentKind>()] += leading.size();
        }
        for (std::size_t k = 0; k < kFigureKinds; ++k)
            appendRuns(a.runs[k], part.attributes.runs[k], offset[k], map);
        if (!a.headerDone) a.header = map(part.attributes.header);
        a.current = map(part.attributes.current);
    }
    a.headerDone = a.headerDone || part.attributes.headerDone;
    appendAll(figure.texts, part.texts, wholeScale);
    figure.textBounds.include(part.textBounds);
    if (figure.polylineOpen == 1) {
        std::vector<LineItem>& open = figure.polylines.back().segments;
        open.insert(open.end(), leading.begin(), leading.end());
    } else {
        appendAll(figure.lines, leading, wholeScale);
    }
    leading.clear();
    appendAll(figure.lines, part.lines, wholeScale);
    const bool markerSeen = part.polylineOpen != 1 || part.polylines.size() > 1;
    if (markerSeen) figure.polylineOpen = part.polylineOpen;
    if (part.polylines.size() > 1) {
        makeRoom(figure.polylines, figure.polylines.size() + part.polylines.size() - 1, wholeScale);
        figure.polylines.insert(figure.polylines.end(),
                                std::make_move_iterator(part.polylines.begin() + 1),
                                std::make_move_iterator(part.polylines.end()));
    }
    part.polylines.clear();
    appendAll(figure.circles, part.circles, wholeScale);
    figure.outlinePoints.adopt(std::move(part.outlinePoints));
    appendAll(figure.points, part.points, wholeScale);
    const Extents& e = part.extents;
    figure.extents.widen(e.minX, e.minY);
    figure.extents.widen(e.maxX, e.maxY);
}

void FigureReader::readWholeLines(const char* p, const char* end) {
    const std::size_t bytes = static_cast<std::size_t>(end - p);
    std::size_t count = static_cast<std::size_t>(workerThreads());
    if (count > bytes / kMinPartBytes) count = bytes / kMinPartBytes;
    consumed += bytes;
    if (count < 2) {
        readPieces(p, end, figure);
        if (!sized && expectedBytes > consumed) {
            // Sized once from the first chunk, so the lists do not grow by copying.
            const double scale = 1.2 * static_cast<double>(expectedBytes) / consumed;
            reserveFor(figure.lines, scale);
            reserveFor(figure.circles, scale);
            reserveFor(figure.points, scale);
            sized = true;
        }
        return;
    }
    // Cut after line breaks: a piece always starts there, so each part reads its pieces
    // exactly as one pass over the whole would.
    std::vector<const char*> cuts(count + 1);
    cuts[0] = p;
    cuts[count] = end;
    for (std::size_t i = 1; i < count; ++i) {
        const char* from = p + bytes * i / count;
        if (from < cuts[i - 1]) from = cuts[i - 1];
        const void* newline = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
        cuts[i] = newline ? static_cast<const char*>(newline) + 1 : end;
    }
    // The first part is read straight into the figure, as one pass would; the others into
    // parts of their own, joined after it.
    prepareParts(count);
    runParts(static_cast<int>(count), [&](int i) {
        readPieces(cuts[static_cast<std::size_t>(i)], cuts[static_cast<std::size_t>(i) + 1],
                   i == 0 ? figure : parts[static_cast<std::size_t>(i)]);
    });
    const double wholeScale =
        expectedBytes > consumed ? 1.2 * static_cast<double>(expectedBytes) / consumed : 0.0;
    // Room for all parts at once, so joining them copies each item once.
    std::size_t lines = 0, polylines = 0, circles = 0, points = 0;
    for (std::size_t i = 1; i < count; ++i) {
        const Figure& part = parts[i];
        lines += part.lines.size() + part.polylines.front().segments.size();
        polylines += part.polylines.size() - 1;
        circles += part.circles.size();
        points += part.points.size();
    }
    makeRoom(figure.lines, figure.lines.size() + lines, wholeScale);
    makeRoom(figure.polylines, figure.polylines.size() + polylines, wholeScale);
    makeRoom(figure.circles, figure.circles.size() + circles, wholeScale);
    makeRoom(figure.points, figure.points.size() + points, wholeScale);
    for (std::size_t i = 1; i < count; ++i) joinPart(parts[i], wholeScale);
}

void FigureReader::feed(const char* data, std::size_t size) {
    const char* p = data;
    const char* const end = data + size;
    if (carryLength > 0) {
        // Complete the piece begun in the previous chunk.
        while (p != end && carryLength < kMaxPieceBytes) {
            const char c = *p++;
            carry[carryLength++] = c;
            if (c == '\n') break;
        }
        const bool complete = carry[carryLength - 1] == '\n' || carryLength == kMaxPieceBytes;
        if (!complete) return;
        readLine(std::string_view(carry, carryLength), figure);
        carryLength = 0;
    }
    const char* lastBreak = end;
    while (lastBreak != p && lastBreak[-1] != '\n') --lastBreak;
    if (lastBreak != p) {
        readWholeLines(p, lastBreak);
        p = lastBreak;
    }
    p = readPieces(p, end, figure);
    const std::size_t rest = static_cast<std::size_t>(end - p);
    if (rest > 0) std::memcpy(carry, p, rest);  // an empty chunk may come without a buffer
    carryLength = rest;
}

void FigureReader::finish() {
    if (carryLength > 0) readLine(std::string_view(carry, carryLength), figure);
    carryLength = 0;
    finishReading(figure);
}

void loadFigureFromMemory(const char* data, std::size_t size, Figure& figure) {
    FigureReader reader(figure);
    reader.expectedBytes = size;
    reader.feed(data, size);
    reader.finish();
}

namespace {

// 0 when unknown; only a hint for sizing.
std::size_t sizeOfFile(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return 0;
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

}  // namespace

int loadFigure(const char* path, Figure& figure) {
    std::FILE* file = openForReading(path);
    if (!file) return 0;
    FigureReader reader(figure);
    reader.expectedBytes = sizeOfFile(file);
    constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
    const std::unique_ptr<char[]> chunk(new char[kChunkBytes]);  // no zeroing: fread fills it
    for (;;) {
        const std::size_t got = std::fread(chunk.get(), 1, kChunkBytes, file);
        if (got > 0) reader.feed(chunk.get(), got);
        if (got < kChunkBytes) break;  // end of file or a read error: keep what was read
    }
    reader.finish();
    std::fclose(file);
    return 1;
}
