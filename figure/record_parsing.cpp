#include "figure/record_parsing.h"

#include <cmath>
#include <cstring>

#include "figure/decimal.h"
#include "figure/outline.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool allFinite(const double* values, int count) {
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(values[k])) return false;
    return true;
}

}  // namespace

int splitFields(std::string_view line, std::size_t firstSeparator, double values[kMaxFields],
                const char* readable) {
    const char* const text = line.data();
    const char* const end = text + line.size();
    if (!readable || readable < end) readable = end;
    int count = 1;
    // One pass: each field's number is read where the field starts, and the next separator
    // is normally the character right after it. A number holds no space, so it cannot run
    // into the next field, unless the field starts with white space, which the number
    // reader would skip: such a field is read within its bounds.
    const char* field = firstSeparator + 1 <= line.size() ? text + firstSeparator + 1 : end;
    for (;;) {
        const char* next;
        double value = 0.0;
        if (field == end) {
            next = nullptr;
        } else if (isBlank(*field)) {
            next = static_cast<const char*>(
                std::memchr(field, ' ', static_cast<std::size_t>(end - field)));
            value = parseDecimal(field, next ? next : end, readable, nullptr);
        } else {
            const char* stop = field;
            value = parseDecimal(field, end, readable, &stop);
            next = stop != end && *stop == ' '
                       ? stop
                       : static_cast<const char*>(
                             std::memchr(stop, ' ', static_cast<std::size_t>(end - stop)));
        }
        if (count <= kMaxFields) values[count - 1] = value;
        if (!next) return count;
        if (count == kMaxFields + 1) return count + 1;  // too many for any line kind
        ++count;
        field = next + 1;
    }
}

bool parseSegmentLine(std::string_view line, LineItem& item, const char* readable) {
    double v[kMaxFields];
    if (splitFields(line, 0, v, readable) != 4 || !allFinite(v, 4)) return false;
    item = LineItem(v[0], v[1], v[2], v[3]);
    return true;
}

bool parsePointLine(std::string_view line, PointItem& item, const char* readable) {
    double v[kMaxFields];
    if (splitFields(line, 2, v, readable) != 2 || !allFinite(v, 2)) return false;
    item.x = v[0];
    item.y = v[1];
    return true;
}

bool parseCircleNumbers(std::string_view line, CircleItem& item, const char* readable) {
    double v[kMaxFields];
    const int count = splitFields(line, 2, v, readable);
    if ((count != 3 && count != 7) || !allFinite(v, count)) return false;
    CircleItem c;
    c.cx = v[0];
    c.cy = v[1];
    c.radius = v[2];
    if (count == 3) {
        c.ratio = 1.0;
    } else {
        c.startAngle = v[3] * kReaderDegree;
        c.endAngle = v[4] * kReaderDegree;
        if (c.endAngle == c.startAngle) {
            c.startAngle = 0.0;
            c.endAngle = kReaderFullTurn;
        }
        if (c.startAngle > c.endAngle) {
            c.startAngle -= kReaderFullTurn;
            // Start 360, end 0 would become 0 and 0 here, which the writer takes for a
            // three-number circle, losing ratio and tilt: keep it a full seven-number turn.
            if (c.startAngle == c.endAngle) {
                c.startAngle = 0.0;
                c.endAngle = kReaderFullTurn;
            }
        }
        c.ratio = v[5];
        c.tilt = v[6] * kReaderDegree;
    }
    item = c;
    return true;
}

bool parseCircleLine(std::string_view line, CircleItem& item) {
    CircleItem c;
    Point2 outline[kMaxOutlinePoints];
    if (!parseCircleNumbers(line, c) || !sampleOutline(c, outline)) return false;
    item = c;
    return true;
}

namespace {

// Numbers, a space and a quote, then the string to the line's end: the fields before the quote
// into v, where there must be `fields` of them, finite.
bool splitBeforeString(std::string_view line, int fields, double v[kMaxFields],
                       std::size_t& quote) {
    quote = line.find('"');
    if (quote == std::string_view::npos || quote < 4 || line[quote - 1] != ' ') return false;
    return splitFields(line.substr(0, quote - 1), 2, v) == fields && allFinite(v, fields);
}

}  // namespace

bool parseTextLine(std::string_view line, TextItem& item) {
    double v[kMaxFields];
    std::size_t quote;
    if (!splitBeforeString(line, 4, v, quote)) return false;
    if (!std::isfinite(v[0] + v[2]) || !std::isfinite(v[1] + v[3])) return false;
    item.x = v[0];
    item.y = v[1];
    item.dx = v[2];
    item.dy = v[3];
    item.string.assign(line.data() + quote, line.size() - quote);
    item.tag[0] = line[0];
    item.tag[1] = line[1];
    return true;
}

bool parseSolidLine(std::string_view line, SolidItem& item) {
    double v[kMaxFields];
    const int count = splitFields(line, 2, v);
    if ((count != 4 && count != 6 && count != 8) || !allFinite(v, count)) return false;
    item.count = count / 2;
    for (int i = 0; i < item.count; ++i) item.corner[i] = {v[2 * i], v[2 * i + 1]};
    return true;
}

bool parseMarkerLine(std::string_view line, MarkerItem& item) {
    double v[kMaxFields];
    if (splitFields(line, 2, v) <= 2 || !allFinite(v, 2)) return false;
    // The rest starts at the separator after y: the second space after the first separator.
    const std::size_t afterX = line.find(' ', 3);
    const std::size_t afterY = line.find(' ', afterX + 1);
    // The host writes a marker's fields as text of one line: a control character means bytes
    // of something else.
    const std::string_view rest = line.substr(afterY);
    for (char c : rest)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    item.x = v[0];
    item.y = v[1];
    item.rest.assign(rest);
    return true;
}

bool parseBlockHead(std::string_view line, GroupItem& item) {
    double v[kMaxFields];
    std::size_t quote;
    if (!splitBeforeString(line, 2, v, quote)) return false;
    item.x = v[0];
    item.y = v[1];
    item.name.assign(line.data() + quote, line.size() - quote);
    return true;
}
