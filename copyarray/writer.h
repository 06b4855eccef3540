#pragma once

#include <cstdio>

#include "copyarray/copy_array.h"
#include "copyarray/line_output.h"
#include "figure/figure.h"

// Writing copies 1..n of the figure back into the exchange file for the host. `threads` is the
// setting of workerThreads (0: one per core); the bytes are the same for any number.

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

// Writes copies 1..params.copies: per copy the segments, the polylines, the circles and arcs,
// then the points (and, with the attributes kept, each element's attribute lines and the
// texts). Returns WriteError::none, notRepresentable (stops at the first number that is not
// finite) or writeFailed.
WriteError emitCopies(const Figure& figure, const CopyArray& copies, const CopyParameters& params,
                      OutputBuffer& out, int threads = 0);

// Replaces the file at path with the copies, atomically: a temporary file beside it, then one
// replace step. On any failure the file at path stays exactly as it was, the temporary file is
// removed, *error (if given) says why, and the result is false.
bool writeResult(const Figure& figure, const CopyArray& copies, const CopyParameters& params,
                 const char* path, WriteError* error = nullptr, int threads = 0);

// The same to an open stream (standard output): the copies are checked completely before the
// first byte goes out, so a number that is not finite writes nothing.
bool writeResultToStream(const Figure& figure, const CopyArray& copies,
                         const CopyParameters& params, std::FILE* stream,
                         WriteError* error = nullptr, int threads = 0);
