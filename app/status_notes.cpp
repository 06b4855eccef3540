#include "app/status_notes.h"

#include <charconv>
#include <cstdio>

#include "app/panel_values.h"
#include "app/texts.h"

namespace {

template <class T>
void append(std::string& s, T value) {
    char digits[24];
    s.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The number a text was read as, with the digits it needs.
std::string readAs(double value) {
    char shown[kRowTextSize];
    formatConverted(value, 0, shown);
    return shown;
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
            if (!part.empty()) part += text::kListJoin;
            const char* name = nullptr;
            for (const text::RecordName& r : text::kRecordNames)
                if (left.tag == r.tag) name = r.name;
            part += name ? name : left.tag;
            append(part, left.count);
            part += text::kLeftOutCount;
        }
        if (part.empty()) continue;
        if (!note.empty()) note += text::kListJoin;
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
    line += text::kOutputAfter;
    if (output.bytes >= OutputSize::kAnnounced)
        line += text::kOutputSizeBefore + sizeText(output.bytes) + text::kOutputSizeAfter;
    return line;
}

std::string sizeText(double bytes) {
    char digits[32];
    const double mb = bytes / (1024.0 * 1024.0);
    if (mb < 1000.0)
        std::snprintf(digits, sizeof digits, "%.0f MB", mb);
    else
        std::snprintf(digits, sizeof digits, "%.1f GB", mb / 1024.0);
    return digits;
}

std::string outputReadout(const ParameterModel& model) {
    const int row = model.rowNotFinite();
    if (row < 0) return outputReadout(model.output, model.writable);
    return std::string(text::kOutputRowNotFiniteBefore) + text::kRowLabels[row] +
           text::kOutputRowNotFiniteAfter;
}

std::string valueNote(const ParameterModel& model) {
    std::string notFinite, partial;
    for (int r = 0; r < kRowCount; ++r) {
        const RowReading& reading = model.reading[r];
        if (reading.how == RowRead::notFinite) {
            if (!notFinite.empty()) notFinite += text::kListJoin;
            notFinite += text::kRowLabels[r];
        } else if (reading.how == RowRead::partial) {
            if (!partial.empty()) partial += text::kListJoin;
            partial +=
                std::string(text::kRowLabels[r]) + text::kReadInPartAs + readAs(reading.value);
        }
    }
    std::string note;
    auto add = [&](const std::string& part) {
        if (!note.empty() && !part.empty()) note += "  ";
        note += part;
    };
    if (!notFinite.empty()) add(notFinite + text::kNotFiniteAfter);
    if (!partial.empty()) add(partial + text::kReadInPartAfter);
    const int idle = model.rowTypedAtZero();
    if (idle >= 0) add(std::string(text::kRowLabels[idle]) + text::kSliderAtZeroAfter);
    return note;
}
