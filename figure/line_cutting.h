#pragma once

#include <cstddef>

struct RecordReader;

// The exchange file is cut at '\n' into pieces of at most this many bytes, line break
// included, as a 256-byte line buffer reads it: a longer line arrives as several pieces. Every
// platform thus reads the same bytes the same way.
constexpr std::size_t kMaxPieceBytes = 255;

// Reads the pieces of [p, end) up to the last one that has no line break and is shorter than
// a piece; returns where that one starts (end when there is none).
const char* readPieces(const char* p, const char* end, RecordReader& reader);
