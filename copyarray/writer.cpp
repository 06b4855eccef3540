#include "copyarray/writer.h"

#include <cmath>
#include <cstring>
#include <string>

#include "figure/decimal.h"
#include "figure/exchange_io.h"

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

OutputBuffer::OutputBuffer(std::FILE* target) : file(target) {
    if (file) data.resize(1 << 16);
}

OutputBuffer::~OutputBuffer() = default;

char* OutputBuffer::space(std::size_t bytes) {
    if (used + bytes > data.size()) {
        flush();
        if (bytes > data.size()) data.resize(bytes);
    }
    return data.data() + used;
}

bool OutputBuffer::flush() {
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
    if (!out.file) return true;
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
    if (!out.file) return;
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

WriteError emitCopies(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                      OutputBuffer& out) {
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        copies.buildCopyMatrix(params, step);
        const Matrix3& m = copies.matrix;
        for (const LineItem& s : figure.lines)
            if (!putSegment(out, m, s)) return WriteError::notRepresentable;
        for (const PolylineItem& polyline : figure.polylines) {
            putText(out, "pl\r\n");
            for (const LineItem& s : polyline.segments)
                if (!putSegment(out, m, s)) return WriteError::notRepresentable;
            putText(out, "#\r\n");
        }
        for (const CircleItem& c : figure.circles)
            if (!putCircle(out, m, step, c)) return WriteError::notRepresentable;
        for (const PointItem& p : figure.points) {
            const double v[2] = {m.transformX(p.x, p.y), m.transformY(p.x, p.y)};
            if (!putLine(out, "pt ", v, 2)) return WriteError::notRepresentable;
        }
        if (out.failed) return WriteError::writeFailed;
    }
    return out.flush() ? WriteError::none : WriteError::writeFailed;
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

int writeResultToStream(const Figure& figure, CopyArray& copies, const CopyInputs& inputs,
                        std::FILE* stream, WriteError* error) {
    const CopyParameters params = evaluateCopyParameters(inputs);
    OutputBuffer check(nullptr);
    WriteError result = emitCopies(figure, copies, params, check);
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
