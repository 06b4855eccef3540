#include "copyarray/line_output.h"

#include <cmath>
#include <cstring>

#include "figure/decimal.h"

void TextBuffer::resize(std::size_t n) {
    std::unique_ptr<char[]> grown(new char[n]);
    if (length > 0) std::memcpy(grown.get(), bytes.get(), length < n ? length : n);
    bytes = std::move(grown);
    length = n;
}

OutputBuffer::OutputBuffer(std::FILE* target, bool keepText) : file(target), kept(keepText) {
    if (file || kept) data.resize(1 << 16);
}

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

bool putLine(OutputBuffer& out, const char* prefix, const double* values, int count,
             std::string_view tail, bool spaced) {
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return false;
    if (!out.formats()) return true;
    const std::size_t prefixLength = std::strlen(prefix);
    char* const start = out.space(prefixLength + count * (kMaxLfChars + 1) + 1 + tail.size() + 2);
    char* p = start;
    std::memcpy(p, prefix, prefixLength);
    p += prefixLength;
    for (int i = 0; i < count; ++i) {
        if (i > 0) *p++ = ' ';
        p += formatLf(values[i], p);
    }
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

void putTag(OutputBuffer& out, std::string_view tag) {
    if (!out.formats()) return;
    char* const p = out.space(tag.size() + 2);
    std::memcpy(p, tag.data(), tag.size());
    p[tag.size()] = '\r';
    p[tag.size() + 1] = '\n';
    out.commit(tag.size() + 2);
}

void putBytes(OutputBuffer& out, std::string_view bytes) {
    if (!out.formats() || bytes.empty()) return;
    std::memcpy(out.space(bytes.size()), bytes.data(), bytes.size());
    out.commit(bytes.size());
}
