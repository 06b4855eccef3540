#include "copyarray/writer.h"

#include <cstring>
#include <string>
#include <vector>

#include "copyarray/copy_layout.h"
#include "figure/exchange_io.h"
#include "figure/matrix3.h"
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

namespace {

WriteError emitCopiesInOrder(const CopyLayout& layout, const CopyArray& copies,
                             const CopyParameters& params, OutputBuffer& out) {
    CopySteps steps(params);
    for (int k = 1; k <= params.copies; ++k) {
        const CopyStep step = steps.next();
        if (!layout.put(out, copies.copyMatrix(params, step), step, 0, layout.perCopy))
            return WriteError::notRepresentable;
        if (out.failed) return WriteError::writeFailed;
    }
    layout.finish(out, params.copies);
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

// Lines per part of a parallel write: large enough that starting threads costs little, small
// enough that the parts' buffers stay small whatever the figure holds, a polyline of millions
// of segments included. A part ends sooner where its lines carry long strings: its buffer stays
// near kPartBytes, or one line's size.
constexpr std::size_t kLinesPerPart = 1 << 13;
constexpr std::size_t kPartBytes = std::size_t{1} << 18;

// Where the part that begins at line `first` ends: as many lines as fit kPartBytes, at least one.
std::size_t partEnd(const CopyLayout& layout, std::size_t first, std::size_t total) {
    std::size_t good = first + 1,
                bad = total - first < kLinesPerPart ? total : first + kLinesPerPart;
    if (layout.estimatedBytes(first, bad) <= kPartBytes) return bad;
    while (bad - good > 1) {
        const std::size_t mid = good + (bad - good) / 2;
        (layout.estimatedBytes(first, mid) <= kPartBytes ? good : bad) = mid;
    }
    return good;
}

// One part: a run of lines formatted into a buffer of its own.
struct WritePart {
    OutputBuffer text{nullptr, true};
    std::size_t first = 0, last = 0;
    bool representable = true;
};

// The copies' lines are cut into parts; each round the worker threads format one part each
// into its own buffer, and the buffers go out in order. The bytes are those of one pass.
WriteError emitCopiesInParts(const CopyLayout& layout, const CopyArray& copies,
                             const CopyParameters& params, OutputBuffer& out, int threads) {
    std::vector<CopyStep> stepOf(static_cast<std::size_t>(params.copies));
    std::vector<Matrix3> matrixOf(stepOf.size());
    {
        CopySteps steps(params);
        for (std::size_t k = 0; k < stepOf.size(); ++k) {
            stepOf[k] = steps.next();
            matrixOf[k] = copies.copyMatrix(params, stepOf[k]);
        }
    }
    const std::size_t per = layout.perCopy;
    const std::size_t total = per * stepOf.size();
    std::vector<WritePart> parts(static_cast<std::size_t>(threads));
    for (WritePart& part : parts) part.text.data.resize(kPartBytes);
    for (std::size_t next = 0; next < total;) {
        std::size_t used = 0;
        for (; used < parts.size() && next < total; ++used) {
            WritePart& part = parts[used];
            part.first = next;
            part.last = partEnd(layout, next, total);
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
            if (!part.representable) return WriteError::notRepresentable;
        }
        if (out.failed) return WriteError::writeFailed;
    }
    layout.finish(out, params.copies);
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

std::size_t copiesOf(const CopyParameters& params) {
    return static_cast<std::size_t>(params.copies > 0 ? params.copies : 0);
}

bool fail(WriteError reason, WriteError* error) {
    if (error) *error = reason;
    return false;
}

bool succeed(WriteError* error) {
    if (error) *error = WriteError::none;
    return true;
}

}  // namespace

WriteError emitCopies(const Figure& figure, const CopyArray& copies, const CopyParameters& params,
                      OutputBuffer& out, int threads) {
    const int workers = workerThreads(threads);
    // Checking alone is quick; small writes are not worth the threads.
    const bool keep = params.keepAttributes;
    CopyLayout whole(figure, false, keep);
    if (workers < 2 || !out.file || whole.perCopy * copiesOf(params) < 2 * kLinesPerPart) {
        whole.planAttributes();
        return emitCopiesInOrder(whole, copies, params, out);
    }
    CopyLayout layout(figure, true, keep);
    layout.planAttributes();
    return emitCopiesInParts(layout, copies, params, out, workers);
}

bool writeResult(const Figure& figure, const CopyArray& copies, const CopyParameters& params,
                 const char* path, WriteError* error, int threads) {
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
        result = emitCopies(figure, copies, params, out, threads);
    }
    if (!commitAndClose(temp) && result == WriteError::none) result = WriteError::writeFailed;
    if (result == WriteError::none && !replaceFile(tempPath.c_str(), path))
        result = WriteError::cannotReplace;
    if (result != WriteError::none) {
        removeFile(tempPath.c_str());
        return fail(result, error);
    }
    return succeed(error);
}

namespace {

// Results of about this many bytes at most are formatted once, into memory, and then written
// whole; larger ones are checked first and formatted again on the way out.
constexpr std::size_t kBytesFormattedOnce = std::size_t{1} << 20;

}  // namespace

bool writeResultToStream(const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params, std::FILE* stream, WriteError* error,
                         int threads) {
    const CopyLayout layout(figure, false, params.keepAttributes);
    WriteError result;
    if (layout.estimatedBytes(0, layout.perCopy * copiesOf(params)) <= kBytesFormattedOnce) {
        OutputBuffer text(nullptr, true);
        result = emitCopies(figure, copies, params, text, threads);
        if (result == WriteError::none &&
            (std::fwrite(text.data.data(), 1, text.used, stream) != text.used ||
             std::fflush(stream) != 0))
            result = WriteError::writeFailed;
        return result == WriteError::none ? succeed(error) : fail(result, error);
    }
    OutputBuffer check(nullptr);
    result = emitCopies(figure, copies, params, check, threads);
    if (result == WriteError::none) {
        OutputBuffer out(stream);
        result = emitCopies(figure, copies, params, out, threads);
        if (result == WriteError::none && std::fflush(stream) != 0)
            result = WriteError::writeFailed;
    }
    return result == WriteError::none ? succeed(error) : fail(result, error);
}
