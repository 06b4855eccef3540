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

std::string leftOutNote(const std::vector<LeftOut>& leftOut) {
    std::string note;
    for (LeftOut::Why why : {LeftOut::notKept, LeftOut::turnedCopies, LeftOut::neverCopied}) {
        std::string part;
        for (const LeftOut& left : leftOut) {
            if (left.why != why) continue;
            if (!part.empty()) part += text::kLeftOutBetween;
            const char* name = nullptr;
            for (const text::RecordName& r : text::kRecordNames)
                if (left.tag == r.tag) name = r.name;
            part += name ? name : left.tag;
            append(part, left.count);
            part += text::kLeftOutCount;
        }
        if (part.empty()) continue;
        if (!note.empty()) note += text::kLeftOutBetween;
        note += part;
        note += why == LeftOut::notKept        ? text::kLeftOutNotKept
                : why == LeftOut::turnedCopies ? text::kLeftOutTurned
                                               : text::kLeftOutNever;
    }
    return note;
}

std::string outputReadout(const OutputCount& output, bool writable) {
    if (!writable) return text::kOutputNotWritable;
    std::string line = text::kOutputBefore;
    append(line, output.copies);
    line += text::kOutputMiddle;
    append(line, output.elements);
    return line + text::kOutputAfter;
}
