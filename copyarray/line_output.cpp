#include "copyarray/line_output.h"

#include <cstring>

void TextBuffer::resize(std::size_t n) {
    std::unique_ptr<char[]> grown(new char[n]);
    if (length > 0) std::memcpy(grown.get(), bytes.get(), length < n ? length : n);
    bytes = std::move(grown);
    length = n;
}

OutputBuffer::OutputBuffer(std::FILE* target, bool keepText) : file(target), kept(keepText) {
    if (file || kept) data.resize(1 << 16);
}

char* OutputBuffer::makeSpace(std::size_t bytes) {
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
