#include "copyarray/writer.h"

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "figure/decimal.h"
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

void putText(OutputBuffer& out, const char* text) {
    if (!out.formats()) return;
    const std::size_t n = std::strlen(text);
    std::memcpy(out.space(n), text, n);
    out.commit(n);
}

bool putSegment(OutputBuffer& out, const Matrix3& m, const LineItem& s) {
    const double v[4] = {m.transformX(s.x1, s.y1), m.transformY(s.x1, s.y1),
                         m.transformX(s.x2, s.y2), m.transformY(s.x2, s.y2)};
    return putLine(out, " ", v, 4);
}

bool putCircle(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c) {
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
            return putLine(out, "ci ", v, 3);
        }
        // Unequal scales make the circle an ellipse: write what the preview shows.
        const double v[7] = {x, y, arc.radius, 0.0, 360.0, ratio, tilt};
        return putLine(out, "ci ", v, 7);
    }
    const double v[7] = {
        x,     y,   arc.radius, start * kWriterDegreesPerRadian, end * kWriterDegreesPerRadian,
        ratio, tilt};
    return putLine(out, "ci ", v, 7);
}

}  // namespace

namespace {

// What one copy writes, in the order the file holds it: segments, polylines, circles, points.
// An item is one of those (a polyline with all its segments); items number from 0 across
// all copies, copy after copy.
struct CopyLayout {
    const Figure& figure;
    std::size_t lines, polylines, circles, points, perCopy;
    explicit CopyLayout(const Figure& f)
        : figure(f),
          lines(f.lines.size()),
          polylines(f.polylines.size()),
          circles(f.circles.size()),
          points(f.points.size()),
          perCopy(lines + polylines + circles + points) {}

    // Writes item i of the copy with matrix m and step; false at a number that is not finite.
    bool put(OutputBuffer& out, const Matrix3& m, const CopyStep& step, std::size_t i) const {
        if (i < lines) return putSegment(out, m, figure.lines[i]);
        i -= lines;
        if (i < polylines) {
            putText(out, "pl\r\n");
            for (const LineItem& s : figure.polylines[i].segments)
                if (!putSegment(out, m, s)) return false;
            putText(out, "#\r\n");
            return true;
        }
        i -= polylines;
        if (i < circles) return putCircle(out, m, step, figure.circles[i]);
        const PointItem& p = figure.points[i - circles];
        const double v[2] = {m.transformX(p.x, p.y), m.transformY(p.x, p.y)};
        return putLine(out, "pt ", v, 2);
    }

    // Where a part that starts at item g and holds about budget lines ends (a polyline
    // counts its segments).
    std::size_t partEnd(std::size_t g, std::size_t total, std::size_t budget) const {
        while (budget > 0 && g < total) {
            const std::size_t i = g % perCopy;
            if (i >= lines && i < lines + polylines) {
                const std::size_t weight = 1 + figure.polylines[i - lines].segments.size();
                budget = weight >= budget ? 0 : budget - weight;
                ++g;
                continue;
            }
            std::size_t n = (i < lines ? lines : perCopy) - i;
            if (n > budget) n = budget;
            if (n > total - g) n = total - g;
            g += n;
            budget -= n;
        }
        return g;
    }
};

WriteError emitCopiesInOrder(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                             OutputBuffer& out) {
    const CopyLayout layout(figure);
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        copies.buildCopyMatrix(params, step);
        for (std::size_t i = 0; i < layout.perCopy; ++i)
            if (!layout.put(out, copies.matrix, step, i)) return WriteError::notRepresentable;
        if (out.failed) return WriteError::writeFailed;
    }
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

// Items per part of a parallel write: large enough that starting threads costs little, small
// enough that the parts' buffers stay small.
constexpr std::size_t kItemsPerPart = 1 << 13;
// Room for a part of usual items from the start: a seven-number circle takes about 80 bytes.
constexpr std::size_t kUsualItemBytes = 96;

// One part: a run of items formatted into a buffer of its own.
struct WritePart {
    OutputBuffer text{nullptr, true};
    std::size_t first = 0, last = 0;
    bool representable = true;
    int stopCopy = 0;  // the copy it was writing when it stopped at a bad number
};

// The copies' items are cut into parts; each round the worker threads format one part each
// into its own buffer, and the buffers go out in order. The bytes are those of one pass.
WriteError emitCopiesInParts(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                             OutputBuffer& out, int threads) {
    const CopyLayout layout(figure);
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
    const std::size_t total = layout.perCopy * stepOf.size();
    std::vector<WritePart> parts(static_cast<std::size_t>(threads));
    for (WritePart& part : parts) part.text.data.resize(kItemsPerPart * kUsualItemBytes);
    for (std::size_t next = 0; next < total;) {
        std::size_t used = 0;
        for (; used < parts.size() && next < total; ++used) {
            WritePart& part = parts[used];
            part.first = next;
            part.last = layout.partEnd(next, total, kItemsPerPart);
            next = part.last;
        }
        runParts(static_cast<int>(used), [&](int index) {
            WritePart& part = parts[static_cast<std::size_t>(index)];
            part.text.used = 0;
            part.representable = true;
            for (std::size_t g = part.first; g < part.last; ++g) {
                const std::size_t k = g / layout.perCopy;
                if (!layout.put(part.text, matrixOf[k], stepOf[k], g % layout.perCopy)) {
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
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

}  // namespace

WriteError emitCopies(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                      OutputBuffer& out) {
    const int threads = workerThreads();
    const std::size_t items = (figure.lines.size() + figure.polylines.size() +
                               figure.circles.size() + figure.points.size()) *
                              static_cast<std::size_t>(params.copies > 0 ? params.copies : 0);
    // Checking alone is quick; small writes are not worth the threads.
    if (threads < 2 || !out.file || items < 2 * kItemsPerPart)
        return emitCopiesInOrder(figure, copies, params, out);
    return emitCopiesInParts(figure, copies, params, out, threads);
}

namespace {

int fail(WriteError reason, WriteError* error) {
    if (error) *error = reason;
    return 0;
}

}  // namespace

int writeResult(const Figure& figure, CopyArray& copies, const CopyInputs& inputs, const char* path,
                WriteError* error) {
    const CopyParameters params = evaluateCopyParameters(inputs);
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

std::size_t linesPerCopy(const Figure& figure) {
    std::size_t n = figure.lines.size() + figure.circles.size() + figure.points.size();
    for (const PolylineItem& p : figure.polylines) n += p.segments.size() + 2;
    return n;
}

}  // namespace

int writeResultToStream(const Figure& figure, CopyArray& copies, const CopyInputs& inputs,
                        std::FILE* stream, WriteError* error) {
    const CopyParameters params = evaluateCopyParameters(inputs);
    const std::size_t lines =
        linesPerCopy(figure) * static_cast<std::size_t>(params.copies > 0 ? params.copies : 0);
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
