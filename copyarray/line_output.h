#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

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

// One line: prefix, the numbers separated by single spaces, then `tail` (when not empty; after
// a space unless spaced is false) and CR LF. False when a number is not finite; nothing is
// written then.
bool putLine(OutputBuffer& out, const char* prefix, const double* values, int count,
             std::string_view tail = {}, bool spaced = true);

// A line of its tag alone.
void putTag(OutputBuffer& out, std::string_view tag);

// Bytes as they are.
void putBytes(OutputBuffer& out, std::string_view bytes);
