#pragma once

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "figure/decimal.h"

// The exchange file's lines as bytes: a buffer in front of a stream, and the shapes of a line.

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
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Room for at least bytes more. Inline where it fits: every line asks.
    char* space(std::size_t bytes) {
        return used + bytes <= data.size() ? data.data() + used : makeSpace(bytes);
    }
    void commit(std::size_t bytes) { used += bytes; }
    bool flush();
    bool formats() const { return file || kept; }

    std::FILE* file;
    TextBuffer data;
    std::size_t used = 0;
    bool failed = false;
    bool kept = false;

  private:
    char* makeSpace(std::size_t bytes);
};

// One line: prefix, the numbers separated by single spaces, then `tail` (when not empty; after
// a space unless spaced is false) and CR LF. False when a number is not finite; nothing is
// written then. Inline, with the prefix's length known: a line costs little more than its
// numbers.
template <std::size_t N>
__attribute__((always_inline)) inline bool putLine(OutputBuffer& out, const char (&prefix)[N],
                                                   const double* values, int count,
                                                   std::string_view tail = {}, bool spaced = true) {
    constexpr std::size_t prefixLength = N - 1;
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return false;
    if (!out.formats()) return true;
    // The longest the line can be, so each number is written without asking again.
    char* const start = out.space(
        prefixLength + static_cast<std::size_t>(count) * (kMaxLfChars + 1) + 1 + tail.size() + 2);
    char* p = start;
    std::memcpy(p, prefix, prefixLength);
    p += prefixLength;
    // A space after every number, the last taken back: no test per number.
#pragma GCC unroll 8
    for (int i = 0; i < count; ++i) {
        p += formatLfInline(values[i], p);
        *p++ = ' ';
    }
    if (count > 0) --p;
    if (!tail.empty()) {
        if (spaced) *p++ = ' ';
        std::memcpy(p, tail.data(), tail.size());
        p += tail.size();
    }
    *p++ = '\r';
    *p++ = '\n';
    out.commit(static_cast<std::size_t>(p - start));
    return true;
}

// A line of its tag alone.
void putTag(OutputBuffer& out, std::string_view tag);

// Bytes as they are.
void putBytes(OutputBuffer& out, std::string_view bytes);
