#include "copyarray/writer.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "copyarray/copy_layout.h"
#include "figure/exchange_io.h"
#include "figure/matrix3.h"
#include "figure/worker_pool.h"
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

WriteError emitCopiesInOrder(CopyLayout& layout, const CopyArray& copies,
                             const CopyParameters& params, OutputBuffer& out) {
    layout.planArcs(params);
    layout.scaleArcs(0, layout.arcs.size());
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

// Lines per part of a parallel write: large enough that handing out a part costs little, small
// enough that the parts' buffers stay small whatever the figure holds, a polyline of millions
// of segments included. A part ends sooner where its lines carry long strings: its buffer stays
// near kPartBytes, or one line's size.
constexpr std::size_t kLinesPerPart = 1 << 13;
constexpr std::size_t kPartBytes = std::size_t{1} << 18;
// Circles scaled at a time when the arcs are scaled once for the run.
constexpr std::size_t kArcsPerTake = 1 << 12;

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

// The copies' steps and matrices, made once for the threads to share.
struct CopyRun {
    CopyRun(const CopyLayout& l, const CopyArray& copies, const CopyParameters& params)
        : layout(l), stepOf(static_cast<std::size_t>(params.copies)), matrixOf(stepOf.size()) {
        CopySteps steps(params);
        for (std::size_t k = 0; k < stepOf.size(); ++k) {
            stepOf[k] = steps.next();
            matrixOf[k] = copies.copyMatrix(params, stepOf[k]);
        }
        total = layout.perCopy * stepOf.size();
    }

    // Lines [first, last) of all copies; false at a number that is not finite.
    bool put(OutputBuffer& out, std::size_t first, std::size_t last) const {
        const std::size_t per = layout.perCopy;
        for (std::size_t k = first / per; k * per < last; ++k) {
            const std::size_t from = first > k * per ? first - k * per : 0;
            const std::size_t to = last - k * per < per ? last - k * per : per;
            if (!layout.put(out, matrixOf[k], stepOf[k], from, to)) return false;
        }
        return true;
    }

    const CopyLayout& layout;
    std::vector<CopyStep> stepOf;
    std::vector<Matrix3> matrixOf;
    std::size_t total = 0;  // lines
};

// The arcs scaled once for the run, where the copies' scales allow it, by the pool and the
// caller together; the caller first does `meanwhile` (what needs no arcs).
template <class Meanwhile>
void scaleArcs(CopyLayout& layout, const CopyParameters& params, WorkerPool& pool,
               const Meanwhile& meanwhile) {
    layout.planArcs(params);
    if (layout.arcs.empty()) {
        meanwhile();
        return;
    }
    std::atomic<std::size_t> next{0};
    const auto scale = [&](int) {
        const std::size_t count = layout.arcs.size();
        for (std::size_t i; (i = next.fetch_add(kArcsPerTake)) < count;)
            layout.scaleArcs(i, count - i < kArcsPerTake ? count : i + kArcsPerTake);
    };
    pool.start(scale);
    meanwhile();
    scale(0);
    pool.wait();
}

// One part: a run of lines formatted into a buffer of its own. A cache line of its own too:
// its thread counts every byte it formats.
struct alignas(64) WritePart {
    OutputBuffer text{nullptr, true};
    std::size_t first = 0, last = 0;
    bool representable = true;
    bool formatted = false;  // waiting to be written
};

// The copies' lines on their way out, cut into parts. Every thread takes the next part while a
// buffer is free and formats it; the thread whose part is the next to go out writes it, straight
// from its buffer, and then every part after it that is formatted, while the others format on.
// Everything from `lock` on is shared under it; a part's buffer belongs to its thread until it
// is formatted, then to the one thread that writes.
struct PartFlow {
    PartFlow(const CopyRun& r, std::FILE* f) : run(r), file(f) {}

    const CopyRun& run;
    std::FILE* const file;
    std::vector<WritePart> parts;  // part n uses parts[n % parts.size()]
    WorkerLock lock;
    WorkerSignal freed;  // a thread waits for a free buffer
    std::size_t nextLine = 0;
    std::size_t taken = 0, written = 0;  // parts
    bool writing = false;                // a thread is writing parts out
    WriteError result = WriteError::none;

    bool over() const { return result != WriteError::none || nextLine == run.total; }

    // Every thread's job, until every part is taken or the writing stopped.
    void work() {
        std::unique_lock<WorkerLock> hold(lock);
        for (;;) {
            freed.waitUntil(lock, [&] { return over() || taken - written < parts.size(); });
            if (over()) return;
            const std::size_t n = taken++;
            WritePart& part = parts[n % parts.size()];
            part.first = nextLine;
            part.last = partEnd(run.layout, nextLine, run.total);
            nextLine = part.last;
            if (over()) freed.wakeAll();  // the last part: the threads waiting may end
            hold.unlock();
            part.text.used = 0;
            part.representable = run.put(part.text, part.first, part.last);
            hold.lock();
            part.formatted = true;
            if (writing || n != written) continue;  // the parts before it go out first
            writing = true;
            while (result == WriteError::none && parts[written % parts.size()].formatted) {
                WritePart& next = parts[written % parts.size()];
                hold.unlock();
                const WriteError outcome = write(next);
                hold.lock();
                next.formatted = false;
                ++written;
                result = outcome;
                freed.wakeAll();
            }
            writing = false;
        }
    }

    // The part's bytes, and where the writing ends with it.
    WriteError write(const WritePart& part) const {
        const std::size_t bytes = part.text.used;
        if (bytes > 0 && std::fwrite(part.text.data.data(), 1, bytes, file) != bytes)
            return WriteError::writeFailed;
        return part.representable ? WriteError::none : WriteError::notRepresentable;
    }
};

// The copies' lines in parts, formatted by the pool's workers and the caller, each part written
// as soon as those before it are. The bytes are those of one pass, and so is where a number
// that is not finite stops the writing.
WriteError emitCopiesInParts(CopyLayout& layout, const CopyArray& copies,
                             const CopyParameters& params, OutputBuffer& out, WorkerPool& pool) {
    // The attribute plan, a walk over the whole figure, while the pool scales the arcs.
    scaleArcs(layout, params, pool, [&] { layout.planAttributes(); });
    const CopyRun run(layout, copies, params);
    PartFlow flow(run, out.file);
    // A buffer a thread and two more, so a thread that finished its part before the one ahead
    // of it rarely waits; memory stays near one buffer a thread.
    flow.parts = std::vector<WritePart>(static_cast<std::size_t>(pool.size() + 1) + 2);
    for (WritePart& part : flow.parts) part.text.data.resize(kPartBytes);
    if (!out.flush()) return WriteError::writeFailed;
    const auto work = [&](int) { flow.work(); };
    pool.start(work);
    work(0);
    pool.wait();
    if (flow.result == WriteError::writeFailed) out.failed = true;
    if (flow.result != WriteError::none) return flow.result;
    layout.finish(out, params.copies);
    return out.flush() ? WriteError::none : WriteError::writeFailed;
}

// Checking alone, by the pool and the caller together: runs of lines in any order, until one
// meets a number that is not finite. Nothing is written, so the order does not matter.
WriteError checkCopiesInParts(CopyLayout& layout, const CopyArray& copies,
                              const CopyParameters& params, WorkerPool& pool) {
    scaleArcs(layout, params, pool, [] {});
    const CopyRun run(layout, copies, params);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> refused{false};
    const auto check = [&](int) {
        OutputBuffer none(nullptr);
        for (std::size_t first; !refused && (first = next.fetch_add(kLinesPerPart)) < run.total;) {
            const std::size_t last =
                run.total - first < kLinesPerPart ? run.total : first + kLinesPerPart;
            if (!run.put(none, first, last)) refused = true;
        }
    };
    pool.start(check);
    check(0);
    pool.wait();
    return refused ? WriteError::notRepresentable : WriteError::none;
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
    const bool keep = params.keepAttributes;
    // Text kept in memory is written in one pass, and so are small writes, which are not worth
    // the threads.
    const bool parted = workers >= 2 && (out.file || !out.formats());
    CopyLayout layout(figure, parted, keep);
    if (parted && layout.perCopy * copiesOf(params) >= 2 * kLinesPerPart) {
        WorkerPool pool(workers - 1);  // and the caller
        if (pool.size() > 0) {
            if (!out.formats()) return checkCopiesInParts(layout, copies, params, pool);
            return emitCopiesInParts(layout, copies, params, out, pool);
        }
    }
    // A check writes no attribute line, and they hold no number to check.
    if (out.formats()) layout.planAttributes();
    return emitCopiesInOrder(layout, copies, params, out);
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
