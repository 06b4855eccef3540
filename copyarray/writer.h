#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

#include "copyarray/copy_array.h"
#include "figure/figure.h"

// Writing copies 1..n of the figure back into the exchange file for the host.

enum class WriteError {
    none,
    readOnly,          // the exchange file is marked read-only
    notAFile,          // a directory (or the like) stands at the path
    cannotCreate,      // no temporary file could be made beside it
    writeFailed,       // writing, flushing or closing failed (a full disk, say)
    cannotReplace,     // the finished file could not take the old one's place
    notRepresentable,  // a number to be written is not finite
};

// One line of English naming the cause, for the batch tool.
const char* describeWriteError(WriteError error);

// Degrees per radian, as the writer has always converted.
constexpr double kWriterDegreesPerRadian = 57.29577951308239;
// Seven-number ratios are written at least this flat.
constexpr double kMinWrittenRatio = 0.001;

// Bytes whose new room is left as it is: everything is written before it is read, and zeroing
// the 64 KiB of every write costs more than a small write itself.
struct TextBuffer {
    void resize(std::size_t n);  // keeps the bytes that fit
    char* data() { return bytes.get(); }
    const char* data() const { return bytes.get(); }
    std::size_t size() const { return length; }

  private:
    std::unique_ptr<char[]> bytes;
    std::size_t length = 0;
};

// Output through a fixed buffer to a stream; without a stream the lines are only checked,
// unless keepText asks for them to be kept in data, which then grows as needed.
struct OutputBuffer {
    explicit OutputBuffer(std::FILE* target, bool keepText = false);
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    char* space(std::size_t bytes);  // room for at least bytes more
    void commit(std::size_t bytes) { used += bytes; }
    bool flush();
    bool formats() const { return file || kept; }

    std::FILE* file;
    TextBuffer data;
    std::size_t used = 0;
    bool failed = false;
    bool kept = false;
};

// Re-expresses the arc after scaling (x, y) -> (sx x, sy y) about its centre: new radius,
// ratio, tilt and both angles shifted by the parameter shift. A zero radius gets ratio 1.
void scaleArc(CircleItem& arc, double sx, double sy);

// Writes copies 1..params.copies: per copy the segments, the polylines, the circles and arcs,
// then the points. Returns WriteError::none, notRepresentable (stops at the first number that
// is not finite) or writeFailed.
WriteError emitCopies(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                      OutputBuffer& out);

// Replaces the file at path with the copies, atomically: a temporary
// file beside it, then one replace step. On any failure the file at path stays exactly as it
// was, the temporary file is removed, *error (if given) says why, and the result is 0.
int writeResult(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                const char* path, WriteError* error = nullptr);

// The same to an open stream (standard output): the copies are checked completely before the
// first byte goes out, so a number that is not finite writes nothing.
int writeResultToStream(const Figure& figure, CopyArray& copies, const CopyParameters& params,
                        std::FILE* stream, WriteError* error = nullptr);
