#include "copyarray/writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "figure/decimal.h"
#include "figure/element_kinds.h"
#include "figure/exchange_io.h"
#include "figure/workers.h"

const char* describeWriteError(WriteError error) {
    switch (error) {
        case WriteError::none:
            return "written";
        case WriteError::readOnly:
            return "the file is read-only";
        case WriteError::notAFile:
            return "the path is not a regular file";
        case WriteError::cannotCreate:
            return "cannot create a temporary file in its directory";
        case WriteError::writeFailed:
            return "writing failed (disk full?)";
        case WriteError::cannotReplace:
            return "the finished file could not replace the old one";
        case WriteError::notRepresentable:
            return "a number to be written is not finite";
    }
    return "unknown error";
}

void TextBuffer::resize(std::size_t n) {
    std::unique_ptr<char[]> grown(new char[n]);
    if (length > 0) std::memcpy(grown.get(), bytes.get(), length < n ? length : n);
    bytes = std::move(grown);
    length = n;
}

OutputBuffer::OutputBuffer(std::FILE* target, bool keepText) : file(target), kept(keepText) {
    if (file || kept) data.resize(1 << 16);
}

OutputBuffer::~OutputBuffer() = default;

char* OutputBuffer::space(std::size_t bytes) {
    if (kept && used + bytes > data.size()) {
        data.resize(data.size() + used + bytes);
    } else if (used + bytes > data.size()) {
        flush();
        if (bytes > data.size()) data.resize(bytes);
    }
    return data.data() + used;
}

bool OutputBuffer::flush() {
    if (kept) return !failed;  // kept text stays until its owner takes it
    if (file && used > 0 && std::fwrite(data.data(), 1, used, file) != used) failed = true;
    used = 0;
    return !failed;
}

namespace {

// One exchange-file line: prefix, the numbers separated by single spaces, CR LF.
// False when a number is not finite; nothing is written then.
bool putLine(OutputBuffer& out, const char* prefix, const double* values, int count) {
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return false;
    if (!out.formats()) return true;
    const std::size_t prefixLength = std::strlen(prefix);
    char* const start = out.space(prefixLength + count * (kMaxLfChars + 1) + 2);
    char* p = start;
    std::memcpy(p, prefix, prefixLength);
    p += prefixLength;
    for (int i = 0; i < count; ++i) {
        if (i > 0) *p++ = ' ';
        p += formatLf(values[i], p);
    }
    *p++ = '\r';
    *p++ = '\n';
    out.commit(static_cast<std::size_t>(p - start));
    return true;
}

// A line of its tag alone.
void putTag(OutputBuffer& out, std::string_view tag) {
    if (!out.formats()) return;
    char* const p = out.space(tag.size() + 2);
    std::memcpy(p, tag.data(), tag.size());
    p[tag.size()] = '\r';
    p[tag.size() + 1] = '\n';
    out.commit(tag.size() + 2);
}

// One overload per kind of one line per item: writes the item of the copy with matrix m and
// step; false at a number that is not finite.
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep&, const LineItem& s) {
    const double v[4] = {m.transformX(s.x1, s.y1), m.transformY(s.x1, s.y1),
                         m.transformX(s.x2, s.y2), m.transformY(s.x2, s.y2)};
    return putLine(out, SegmentKind::prefix, v, 4);
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c) {
    CircleItem arc;  // the seven numbers only; the outline is the preview's
    arc.cx = c.cx;
    arc.cy = c.cy;
    arc.radius = c.radius;
    arc.startAngle = c.startAngle;
    arc.endAngle = c.endAngle;
    arc.ratio = c.ratio;
    arc.tilt = c.tilt;
    scaleArc(arc, step.scaleX, step.scaleY);
    double ratio = arc.ratio;
    double start = arc.startAngle;
    double end = arc.endAngle;
    if (ratio < 0.0) {
        // A mirrored arc: the same curve, walked the other way, with a positive ratio.
        // 0 - a rather than -a, so an angle of 0 is not written as "-0.000000".
        ratio = -ratio;
        start = 0.0 - arc.endAngle;
        end = 0.0 - arc.startAngle;
    }
    if (ratio < kMinWrittenRatio) ratio = kMinWrittenRatio;
    const double x = m.transformX(c.cx, c.cy);
    const double y = m.transformY(c.cx, c.cy);
    const double tilt = (arc.tilt - step.turn) * kWriterDegreesPerRadian;
    if (c.isThreeNumberCircle()) {
        if (std::fabs(step.scaleX) == std::fabs(step.scaleY)) {
            const double v[3] = {x, y, arc.radius};
            return putLine(out, CircleKind::prefix, v, 3);
        }
        // Unequal scales make the circle an ellipse: write what the preview shows.
        const double v[7] = {x, y, arc.radius, 0.0, 360.0, ratio, tilt};
        return putLine(out, CircleKind::prefix, v, 7);
    }
    const double v[7] = {
        x,     y,   arc.radius, start * kWriterDegreesPerRadian, end * kWriterDegreesPerRadian,
        ratio, tilt};
    return putLine(out, CircleKind::prefix, v, 7);
}

bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep&, const PointItem& p) {
    const double v[2] = {m.transformX(p.x, p.y), m.transformY(p.x, p.y)};
    return putLine(out, PointKind::prefix, v, 2);
}

// The length of (x, y), scaled so that no square overflows.
double lengthOf(double x, double y) {
    const double s = std::fmax(std::fabs(x), std::fabs(y));
    if (!(s > 0.0) || !std::isfinite(s)) return s;
    const double a = x / s, b = y / s;
    return s * std::sqrt(a * a + b * b);
}

// The start point follows the copy; the direction is that of the copy's image of (dx, dy), or
// (dx, dy) turned by the copy's angle where a zero scale leaves no image; the length stays,
// since the host draws a text at its type's size.
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const TextItem& t) {
    double ix = m.m[0][0] * t.dx + m.m[1][0] * t.dy;
    double iy = m.m[0][1] * t.dx + m.m[1][1] * t.dy;
    if (ix == 0.0 && iy == 0.0) {
        Matrix3 turn;
        turn.rotate(step.turn);
        ix = turn.m[0][0] * t.dx + turn.m[1][0] * t.dy;
        iy = turn.m[0][1] * t.dx + turn.m[1][1] * t.dy;
    }
    const double image = lengthOf(ix, iy);
    const double length = lengthOf(t.dx, t.dy);
    double dx = 0.0, dy = 0.0;
    if (image != 0.0) {  // zero only with (dx, dy) zero
        dx = ix / image * length;
        dy = iy / image * length;
    }
    const double v[4] = {m.transformX(t.x, t.y), m.transformY(t.x, t.y), dx, dy};
    for (double value : v)
        if (!std::isfinite(value)) return false;
    if (!out.formats()) return true;
    const std::size_t prefixLength = std::strlen(TextKind::prefix);
    char* const start = out.space(prefixLength + 4 * (kMaxLfChars + 1) + 1 + t.string.size() + 2);
    char* p = start;
    std::memcpy(p, TextKind::prefix, prefixLength);
    p += prefixLength;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) *p++ = ' ';
        p += formatLf(v[i], p);
    }
    *p++ = ' ';
    std::memcpy(p, t.string.data(), t.string.size());
    p += t.string.size();
    *p++ = '\r';
    *p++ = '\n';
    out.commit(static_cast<std::size_t>(p - start));
    return true;
}

// Bytes as they are.
void putBytes(OutputBuffer& out, const std::string& bytes) {
    if (!out.formats() || bytes.empty()) return;
    std::memcpy(out.space(bytes.size()), bytes.data(), bytes.size());
    out.commit(bytes.size());
}

// The attribute lines the copies carry: before an element, the line of every key whose value
// differs from what the host has at that point. The host's state before an element is the
// same in every copy but the first (which starts from the header's write settings), so each
// element needs at most two prefixes, found once for all copies; most are empty.
struct AttributePlan {
    struct Prefix {
        std::size_t line = 0;  // the element's first line within a copy
        // The lines in bytes: [first, first + firstLength) for the first copy, then the later.
        std::size_t first = 0, later = 0;
        uint32_t firstLength = 0, laterLength = 0;
    };
    std::vector<Prefix> prefixes;  // by line
    std::string bytes;             // one buffer for all of them: no allocation per element
    std::string restore;           // after the last copy: the header's value of every key changed

    // The next prefix at or after line.
    std::size_t after(std::size_t line) const {
        return static_cast<std::size_t>(
            std::lower_bound(prefixes.begin(), prefixes.end(), line,
                             [](const Prefix& p, std::size_t l) { return p.line < l; }) -
            prefixes.begin());
    }
};

void changeTo(const Attributes& a, const AttributeState& s, AttributeState& host,
              std::string& lines) {
    lines.clear();
    for (int k = 0; k < kAttributeKeys; ++k) {
        if (s.line[k] == kUnknownLine || s.line[k] == host.line[k]) continue;
        host.line[k] = s.line[k];
        lines += a.lines[s.line[k]];
        lines += "\r\n";
    }
}

// One overload per kind whose items differ in lines: lines [from, to) of the item.
bool putItemLines(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const PolylineItem& p,
                  std::size_t from, std::size_t to) {
    const std::size_t n = p.segments.size();
    if (from == 0) putTag(out, PolylineKind::tag);
    const std::size_t last = to < n + 1 ? to : n + 1;
    for (std::size_t i = from > 0 ? from : 1; i < last; ++i)
        if (!putItem(out, m, step, p.segments[i - 1])) return false;
    if (to == n + 2) putTag(out, PolylineKind::endTag);
    return true;
}

// The lines of one copy, in the order the file holds them, numbered from 0; lines number on
// across all copies, copy after copy, so a run of lines may start or end anywhere, even inside
// a polyline.
struct CopyLayout {
    static constexpr std::size_t kKinds = ElementKinds::count;
    const Figure& figure;
    bool keep = false;  // the attributes and the optional kinds
    AttributePlan plan;
    std::size_t firstLine[kKinds + 1] = {};  // where each kind's lines begin in a copy
    // Where each item's lines begin within its kind, for the kinds whose items differ in
    // lines; only for a layout that is asked for runs starting anywhere.
    std::vector<std::size_t> itemStart[kKinds];
    std::size_t perCopy = 0;

    CopyLayout(const Figure& f, bool anyStart, bool keepAttributes)
        : figure(f), keep(keepAttributes) {
        std::size_t at = 0;
        ElementKinds::each([&](auto kind) {
            using Kind = decltype(kind);
            static_assert(Kind::kLinesEach <= 1, "an item of fixed lines writes one");
            constexpr std::size_t k = ElementKinds::index<Kind>();
            firstLine[k] = at;
            if (Kind::kOptional && !keep) return;
            const auto& list = Kind::list(f);
            if constexpr (Kind::kLinesEach == 1) {
                at += list.size();
            } else {
                if (anyStart) itemStart[k].reserve(list.size());
                for (const typename Kind::Item& item : list) {
                    if (anyStart) itemStart[k].push_back(at - firstLine[k]);
                    at += Kind::lines(item);
                }
            }
        });
        firstLine[kKinds] = at;
        perCopy = at;
    }

    // The attribute lines to write, when they are kept: only for a layout that writes.
    void planAttributes() {
        if (keep && figure.attributes.any()) makePlan();
    }

    // Two passes over the elements of a copy: the first copy's, from the header's settings,
    // and every later copy's, from where the one before left the host.
    void makePlan() {
        const Attributes& a = figure.attributes;
        const AttributeState& header = a.states[a.header];
        AttributeState host = header;
        std::string lines;
        for (int pass = 0; pass < 2; ++pass) {
            std::size_t at = 0;  // index in plan.prefixes, in the second pass
            uint32_t previous = kUnknownLine;
            ElementKinds::each([&](auto kind) {
                using Kind = decltype(kind);
                constexpr std::size_t k = ElementKinds::index<Kind>();
                if (Kind::kOptional && !keep) return;
                const std::vector<StateRun>& runs = a.runs[k];
                std::size_t run = 0, line = firstLine[k];
                uint32_t state = 0;
                const auto& list = Kind::list(figure);
                for (std::size_t i = 0; i < list.size(); line += Kind::lines(list[i]), ++i) {
                    while (run < runs.size() && runs[run].first <= i) state = runs[run++].state;
                    // The host already has all an element's state that the one before had.
                    if (state == previous) continue;
                    previous = state;
                    changeTo(a, a.states[state], host, lines);
                    const std::size_t offset = plan.bytes.size();
                    const uint32_t length = static_cast<uint32_t>(lines.size());
                    plan.bytes += lines;
                    if (pass == 0) {
                        if (length > 0) plan.prefixes.push_back({line, offset, 0, length, 0});
                        continue;
                    }
                    while (at < plan.prefixes.size() && plan.prefixes[at].line < line) ++at;
                    if (at < plan.prefixes.size() && plan.prefixes[at].line == line) {
                        plan.prefixes[at].later = offset;
                        plan.prefixes[at].laterLength = length;
                    } else if (length > 0) {
                        plan.prefixes.insert(
                            plan.prefixes.begin() + static_cast<std::ptrdiff_t>(at),
                            {line, 0, offset, 0, length});
                    }
                }
            });
        }
        for (int k = 0; k < kAttributeKeys; ++k)
            if (header.line[k] != kUnknownLine && host.line[k] != header.line[k]) {
                plan.restore += a.lines[header.line[k]];
                plan.restore += "\r\n";
            }
    }

    // The lines of the attributes, kept or not, after the last copy.
    void finish(OutputBuffer& out, int copies) const {
        if (copies > 0) putBytes(out, plan.restore);
    }

    // Writes lines [from, to) of the copy with matrix m and step (from > 0 only for a layout
    // made with anyStart); false at a number that is not finite.
    // Where the attribute lines of a run of lines stand: the next prefix and its line.
    struct Cursor {
        const AttributePlan& plan;
        bool first;  // the first copy
        std::size_t at;
        std::size_t line;

        Cursor(const AttributePlan& p, bool firstCopy, std::size_t from)
            : plan(p), first(firstCopy), at(p.after(from)) {
            line = at < plan.prefixes.size() ? plan.prefixes[at].line : SIZE_MAX;
        }
        // Before the element whose first line is l.
        void put(OutputBuffer& out, std::size_t l) {
            if (l != line) return;
            const AttributePlan::Prefix& prefix = plan.prefixes[at++];
            const std::size_t length = first ? prefix.firstLength : prefix.laterLength;
            if (length > 0 && out.formats()) {
                std::memcpy(out.space(length),
                            plan.bytes.data() + (first ? prefix.first : prefix.later), length);
                out.commit(length);
            }
            line = at < plan.prefixes.size() ? plan.prefixes[at].line : SIZE_MAX;
        }
    };

    bool put(OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
             std::size_t to) const {
        Cursor cursor(plan, step.k == 1, from);
        return !ElementKinds::any(
            [&](auto kind) { return !putKind(kind, out, m, step, from, to, cursor); });
    }

    template <class Kind>
    bool putKind(Kind, OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t from,
                 std::size_t to, Cursor& cursor) const {
        constexpr std::size_t k = ElementKinds::index<Kind>();
        const std::size_t begin = firstLine[k], end = firstLine[k + 1];
        if (from >= end || to <= begin) return true;
        from = from > begin ? from - begin : 0;
        to = (to < end ? to : end) - begin;
        const auto& list = Kind::list(figure);
        if constexpr (Kind::kLinesEach == 1) {
            for (std::size_t i = from; i < to; ++i) {
                cursor.put(out, begin + i);
                if (!putItem(out, m, step, list[i])) return false;
            }
        } else {
            std::size_t i = 0, start = 0;
            if (from > 0) {
                const std::vector<std::size_t>& starts = itemStart[k];
                i = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), from) -
                                             starts.begin()) -
                    1;
                start = starts[i];
            }
            for (; start < to; ++i) {
                const std::size_t n = Kind::lines(list[i]);
                if (from <= start) cursor.put(out, begin + start);
                if (!putItemLines(out, m, step, list[i], from > start ? from - start : 0,
                                  to - start < n ? to - start : n))
                    return false;
                start += n;
            }
        }
        return true;
    }
};

WriteError emitCopiesInOrder(const CopyLayout& layout, CopyArray& copies,
                             const CopyParameters& params, OutputBuffer& out) {
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        copies.buildCopyMatrix(params, step);
        if (!layout.put(out, copies.matrix, step, 0, layout.perCopy))
            return WriteError::notRepresentable;
        if (out.failed) return WriteError::writeFailed;
    }
    layout.finish(out, params.copies);
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

// Lines per part of a parallel write: large enough that starting threads costs little, small
// enough that the parts' buffers stay small whatever the figure holds, a polyline of millions
// of segments included.
constexpr std::size_t kLinesPerPart = 1 << 13;
// Room for a part of usual lines from the start: a seven-number circle takes about 80 bytes.
constexpr std::size_t kUsualLineBytes = 96;

// One part: a run of lines formatted into a buffer of its own.
struct WritePart {
    OutputBuffer text{nullptr, true};
    std::size_t first = 0, last = 0;
    bool representable = true;
    int stopCopy = 0;  // the copy it was writing when it stopped at a bad number
};

// The copies' lines are cut into parts; each round the worker threads format one part each
// into its own buffer, and the buffers go out in order. The bytes are those of one pass.
WriteError emitCopiesInParts(const CopyLayout& layout, CopyArray& copies,
                             const CopyParameters& params, OutputBuffer& out, int threads) {
    std::vector<CopyStep> stepOf(static_cast<std::size_t>(params.copies));
    std::vector<Matrix3> matrixOf(stepOf.size());
    {
        CopySteps steps(params);
        for (std::size_t k = 0; k < stepOf.size(); ++k) {
            stepOf[k] = steps.next();
            copies.buildCopyMatrix(params, stepOf[k]);
            matrixOf[k] = copies.matrix;
        }
    }
    const std::size_t per = layout.perCopy;
    const std::size_t total = per * stepOf.size();
    std::vector<WritePart> parts(static_cast<std::size_t>(threads));
    for (WritePart& part : parts) part.text.data.resize(kLinesPerPart * kUsualLineBytes);
    for (std::size_t next = 0; next < total;) {
        std::size_t used = 0;
        for (; used < parts.size() && next < total; ++used) {
            WritePart& part = parts[used];
            part.first = next;
            part.last = total - next < kLinesPerPart ? total : next + kLinesPerPart;
            next = part.last;
        }
        runParts(static_cast<int>(used), [&](int index) {
            WritePart& part = parts[static_cast<std::size_t>(index)];
            part.text.used = 0;
            part.representable = true;
            for (std::size_t k = part.first / per; k * per < part.last; ++k) {
                const std::size_t from = part.first > k * per ? part.first - k * per : 0;
                const std::size_t to = part.last - k * per < per ? part.last - k * per : per;
                if (!layout.put(part.text, matrixOf[k], stepOf[k], from, to)) {
                    part.representable = false;
                    part.stopCopy = static_cast<int>(k);
                    return;
                }
            }
        });
        for (std::size_t i = 0; i < used; ++i) {
            const WritePart& part = parts[i];
            for (std::size_t done = 0; done < part.text.used;) {
                std::size_t n = part.text.used - done;
                if (n > out.data.size()) n = out.data.size();
                std::memcpy(out.space(n), part.text.data.data() + done, n);
                out.commit(n);
                done += n;
            }
            if (!part.representable) {
                copies.matrix = matrixOf[static_cast<std::size_t>(part.stopCopy)];
                return WriteError::notRepresentable;
            }
        }
        if (out.failed) return WriteError::writeFailed;
    }
    layout.finish(out, params.copies);
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

std::size_t copiesOf(const CopyParameters& params) {
    return static_cast<std::size_t>(params.copies > 0 ? params.copies : 0);
}

}  // namespace

WriteError emitCopies(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                      OutputBuffer& out) {
    const int threads = workerThreads();
    // Checking alone is quick; small writes are not worth the threads.
    const bool keep = params.keepAttributes;
    CopyLayout whole(figure, false, keep);
    if (threads < 2 || !out.file || whole.perCopy * copiesOf(params) < 2 * kLinesPerPart) {
        whole.planAttributes();
        return emitCopiesInOrder(whole, copies, params, out);
    }
    CopyLayout layout(figure, true, keep);
    layout.planAttributes();
    return emitCopiesInParts(layout, copies, params, out, threads);
}

namespace {

int fail(WriteError reason, WriteError* error) {
    if (error) *error = reason;
    return 0;
}

}  // namespace

int writeResult(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                const char* path, WriteError* error) {
    switch (exchangeFileState(path)) {
        case FileState::readOnly:
            return fail(WriteError::readOnly, error);
        case FileState::notAFile:
            return fail(WriteError::notAFile, error);
        case FileState::missing:
        case FileState::writable:
            break;
    }
    std::string tempPath;
    std::FILE* temp = createTempBeside(path, tempPath);
    if (!temp) return fail(WriteError::cannotCreate, error);
    WriteError result;
    {
        OutputBuffer out(temp);
        result = emitCopies(figure, copies, params, out);
    }
    if (!commitAndClose(temp) && result == WriteError::none) result = WriteError::writeFailed;
    if (result == WriteError::none && !replaceFile(tempPath.c_str(), path))
        result = WriteError::cannotReplace;
    if (result != WriteError::none) {
        removeFile(tempPath.c_str());
        return fail(result, error);
    }
    if (error) *error = WriteError::none;
    return 1;
}

namespace {

// Results of at most this many lines are formatted once, into memory, and then written whole.
constexpr std::size_t kLinesFormattedOnce = 1 << 12;

}  // namespace

int writeResultToStream(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                        std::FILE* stream, WriteError* error) {
    const std::size_t lines =
        CopyLayout(figure, false, params.keepAttributes).perCopy * copiesOf(params);
    WriteError result;
    if (lines <= kLinesFormattedOnce) {
        OutputBuffer text(nullptr, true);
        result = emitCopies(figure, copies, params, text);
        if (result == WriteError::none &&
            (std::fwrite(text.data.data(), 1, text.used, stream) != text.used ||
             std::fflush(stream) != 0))
            result = WriteError::writeFailed;
        if (result != WriteError::none) return fail(result, error);
        if (error) *error = WriteError::none;
        return 1;
    }
    // Larger ones are checked completely first and formatted again on the way out.
    OutputBuffer check(nullptr);
    result = emitCopies(figure, copies, params, check);
    if (result == WriteError::none) {
        OutputBuffer out(stream);
        result = emitCopies(figure, copies, params, out);
        if (result == WriteError::none && std::fflush(stream) != 0)
            result = WriteError::writeFailed;
    }
    if (result != WriteError::none) return fail(result, error);
    if (error) *error = WriteError::none;
    return 1;
}
