#include "figure/reader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "figure/decimal.h"
#include "figure/exchange_io.h"
#include "figure/matrix3.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int splitFields(std::string_view line, std::size_t firstSeparator, double values[kMaxFields]) {
    const char* const text = line.data();
    const char* const end = text + line.size();
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
            value = parseDecimal(field, next ? next : end, end, nullptr);
        } else {
            const char* stop = field;
            value = parseDecimal(field, end, end, &stop);
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

namespace {

bool allFinite(const double* values, int count) {
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(values[k])) return false;
    return true;
}

}  // namespace

int parseSegmentLine(std::string_view line, LineItem& item) {
    double v[kMaxFields];
    if (splitFields(line, 0, v) != 4 || !allFinite(v, 4)) return 0;
    item = LineItem(v[0], v[1], v[2], v[3]);
    return 1;
}

int parsePointLine(std::string_view line, PointItem& item) {
    double v[kMaxFields];
    if (splitFields(line, 2, v) != 2 || !allFinite(v, 2)) return 0;
    item.x = v[0];
    item.y = v[1];
    return 1;
}

int parseCircleLine(std::string_view line, CircleItem& item) {
    double v[kMaxFields];
    const int count = splitFields(line, 2, v);
    if ((count != 3 && count != 7) || !allFinite(v, count)) return 0;
    CircleItem c;
    c.cx = v[0];
    c.cy = v[1];
    c.radius = v[2];
    if (count == 3) {
        c.startAngle = 0.0;
        c.endAngle = 0.0;
        c.ratio = 1.0;
        c.tilt = 0.0;
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
    if (!buildOutline(c)) return 0;
    item = std::move(c);
    return 1;
}

namespace {

// cos and sin of the 41 sampling angles of a full circle, computed once.
struct CircleSteps {
    double cosine[41];
    double sine[41];
    CircleSteps() {
        for (int i = 0; i <= 40; ++i) {
            const double theta = i * kReaderCircleStep;
            cosine[i] = std::cos(theta);
            sine[i] = std::sin(theta);
        }
    }
};

// Below this no product of the outline formula can overflow, so the short form below gives
// the same bits as multiplying the five matrices.
constexpr double kModerate = 1e150;

bool moderate(const CircleItem& c) {
    return std::fabs(c.cx) < kModerate && std::fabs(c.cy) < kModerate &&
           std::fabs(c.radius) < kModerate && std::fabs(c.ratio) < kModerate;
}

// The image of the origin under translate(radius, 0), rotate(-theta), scaleAxes(1, ratio),
// rotate(-tilt), translate(cx, cy). The matrix products reduce to these terms: the others
// multiply by an exact 0 or 1, which changes no bit of a finite non-zero result (at most the
// sign of a zero, which nothing can see).
Point2 outlinePoint(const CircleItem& c, double theta, double tiltCos, double tiltSin) {
    const double a = c.radius * std::cos(-theta);
    const double b = (c.radius * -std::sin(-theta)) * c.ratio;
    return {(a * tiltCos + b * tiltSin) + c.cx, (a * -tiltSin + b * tiltCos) + c.cy};
}

Point2 outlinePointByMatrices(const CircleItem& c, double theta) {
    Matrix3 m;
    m.translate(c.radius, 0.0);
    m.rotate(-theta);
    m.scaleAxes(1.0, c.ratio);
    m.rotate(-c.tilt);
    m.translate(c.cx, c.cy);
    return m.transformPoint(0.0, 0.0);
}

}  // namespace

int buildOutline(CircleItem& item) {
    std::vector<Point2> outline;
    const double sweep = item.endAngle - item.startAngle;
    if (sweep == 0.0) {
        static const CircleSteps steps;
        outline.resize(41);
        for (int i = 0; i <= 40; ++i)
            outline[i] = {item.cx + item.radius * steps.cosine[i],
                          item.cy + item.radius * steps.sine[i]};
    } else {
        const double segments = std::fabs(sweep * kReaderSegmentsPerRadian);
        if (!(segments < kMaxOutlineSegments + 1)) return 0;  // also rejects NaN
        int n = static_cast<int>(segments);
        if (n < 20) n = 20;
        outline.resize(static_cast<std::size_t>(n) + 1);
        const double step = sweep / n;
        const bool fast = moderate(item);
        const double tiltCos = std::cos(-item.tilt);
        const double tiltSin = std::sin(-item.tilt);
        for (int i = 0; i <= n; ++i) {
            const double theta = item.startAngle + step * i;
            outline[i] = fast ? outlinePoint(item, theta, tiltCos, tiltSin)
                              : outlinePointByMatrices(item, theta);
        }
    }
    for (const Point2& p : outline)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return 0;
    item.outline = std::move(outline);
    return 1;
}

void readLine(std::string_view line, Figure& figure) {
    // A piece is a C string to the original reader: a NUL byte ends it.
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    if (line.empty()) return;
    const char c0 = line[0];
    const char c1 = line.size() > 1 ? line[1] : '\0';
    if (c0 == ' ') {
        LineItem item;
        if (parseSegmentLine(line, item)) figure.appendSegment(item);
    } else if (c0 == 'c' && c1 == 'i') {
        CircleItem item;
        if (parseCircleLine(line, item)) figure.appendCircle(std::move(item));
    } else if (c0 == 'p' && c1 == 't') {
        PointItem item;
        if (parsePointLine(line, item)) figure.appendPoint(item);
    } else if (c0 == 'p' && c1 == 'l') {
        figure.openPolyline();
    } else if (c0 == '#') {
        figure.closePolyline();
    }
}

void FigureReader::feed(const char* data, std::size_t size) {
    const char* p = data;
    const char* const end = data + size;
    if (carryLength > 0) {
        // Complete the piece begun in the previous chunk.
        while (p != end && carryLength < kMaxPieceBytes) {
            const char c = *p++;
            carry[carryLength++] = c;
            if (c == '\n') break;
        }
        const bool complete = carry[carryLength - 1] == '\n' || carryLength == kMaxPieceBytes;
        if (!complete) return;
        readLine(std::string_view(carry, carryLength), figure);
        carryLength = 0;
    }
    while (p != end) {
        const std::size_t available = static_cast<std::size_t>(end - p);
        const std::size_t limit = available < kMaxPieceBytes ? available : kMaxPieceBytes;
        const void* newline = std::memchr(p, '\n', limit);
        if (newline) {
            const char* next = static_cast<const char*>(newline) + 1;
            readLine(std::string_view(p, static_cast<std::size_t>(next - p)), figure);
            p = next;
        } else if (limit == kMaxPieceBytes) {
            readLine(std::string_view(p, kMaxPieceBytes), figure);
            p += kMaxPieceBytes;
        } else {
            std::memcpy(carry, p, available);
            carryLength = available;
            return;
        }
    }
}

void FigureReader::finish() {
    if (carryLength > 0) readLine(std::string_view(carry, carryLength), figure);
    carryLength = 0;
}

void loadFigureFromMemory(const char* data, std::size_t size, Figure& figure) {
    FigureReader reader(figure);
    reader.feed(data, size);
    reader.finish();
}

int loadFigure(const char* path, Figure& figure) {
    std::FILE* file = openForReading(path);
    if (!file) return 0;
    FigureReader reader(figure);
    std::vector<char> chunk(1 << 20);
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
        if (got > 0) reader.feed(chunk.data(), got);
        if (got < chunk.size()) break;  // end of file or a read error: keep what was read
    }
    reader.finish();
    std::fclose(file);
    return 1;
}
