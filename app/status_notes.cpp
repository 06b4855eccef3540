#include "app/status_notes.h"

#include <charconv>

#include "app/texts.h"

namespace {

template <class T>
void append(std::string& s, T value) {
    char digits[24];
    s.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

}  // namespace

std::string previewNote(const PreviewResult& preview) {
    std::string note;
    if (preview.clamped) note += text::kCopiesClamped;
    if (preview.drawn < preview.wanted) {
        note += text::kPreviewPartialBefore;
        append(note, preview.drawn);
        note += text::kPreviewPartialAfter;
    }
    return note;
}

std::string textsNote(int64_t texts) {
    if (texts <= 0) return {};
    std::string note = text::kTextsLeftOutBefore;
    append(note, texts);
    return note + text::kTextsLeftOutAfter;
}

std::string outputReadout(const OutputCount& output, bool writable) {
    if (!writable) return text::kOutputNotWritable;
    std::string line = text::kOutputBefore;
    append(line, output.copies);
    line += text::kOutputMiddle;
    append(line, output.elements);
    return line + text::kOutputAfter;
}
