#include "figure/expression.h"

#include <cstring>
#include <string>

#include "figure/decimal.h"

namespace {

bool isShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A Shift-JIS pair and the ASCII it counts as; the digits, 82 4F to 82 58, are a run.
struct FullWidthForm {
    unsigned char lead;
    unsigned char trail;
    char ascii;
};

constexpr FullWidthForm kFullWidthForms[] = {
    {0x81, 0x40, ' '},  // ideographic space
    {0x81, 0x44, '.'},  // ．
    {0x81, 0x7B, '+'},  // ＋
    {0x81, 0x7C, '-'},  // － and −
    {0x81, 0x7E, '*'},  // ×
    {0x81, 0x80, '/'},  // ÷
    {0x81, 0x96, '*'},  // ＊
    {0x81, 0x5E, '/'},  // ／
    {0x81, 0x69, '('},  // （
    {0x81, 0x6A, ')'},  // ）
};

char asciiForm(unsigned char lead, unsigned char trail) {
    if (lead == 0x82 && trail >= 0x4F && trail <= 0x58)
        return static_cast<char>('0' + trail - 0x4F);
    for (const FullWidthForm& f : kFullWidthForms)
        if (f.lead == lead && f.trail == trail) return f.ascii;
    return '\0';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Deeper nesting than a box of 127 characters can hold is not an expression; the limit keeps
// the recursion's stack small whatever a caller passes.
constexpr int kMaxDepth = 200;

// Recursive descent: sum = product {(+|-) product}, product = factor {(*|/) factor},
// factor = (+|-) factor | number | "(" sum ")".
struct ExpressionReader {
    const char* p;
    const char* last;
    int depth = 0;
    bool failed = false;

    void skipSpaces() {
        while (p != last && isSpace(*p)) ++p;
    }

    bool take(char c) {
        skipSpaces();
        if (p == last || *p != c) return false;
        ++p;
        return true;
    }

    double sum() {
        double value = product();
        while (!failed) {
            if (take('+')) {
                value = value + product();
            } else if (take('-')) {
                value = value - product();
            } else {
                break;
            }
        }
        return value;
    }

    double product() {
        double value = factor();
        while (!failed) {
            if (take('*')) {
                value = value * factor();
            } else if (take('/')) {
                value = value / factor();
            } else {
                break;
            }
        }
        return value;
    }

    double factor() {
        if (failed || ++depth > kMaxDepth) {
            failed = true;
            return 0.0;
        }
        double value = 0.0;
        if (take('-')) {
            value = -factor();
        } else if (take('+')) {
            value = factor();
        } else if (take('(')) {
            value = sum();
            if (!take(')')) failed = true;
        } else if (p != last && ((*p >= '0' && *p <= '9') || *p == '.')) {
            // Only at a digit or point: the reader's own sign and white space are ours.
            const char* end = p;
            value = parseDecimal(p, last, &end);
            if (end == p) failed = true;
            p = end;
        } else {
            failed = true;
        }
        --depth;
        return value;
    }
};

}  // namespace

std::size_t normaliseFullWidth(const char* first, const char* last, char* out) {
    char* o = out;
    for (const char* p = first; p != last; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!isShiftJisLead(c) || last - p < 2) {
            *o++ = *p;
            continue;
        }
        const char ascii = asciiForm(c, static_cast<unsigned char>(p[1]));
        if (ascii != '\0') {
            *o++ = ascii;
        } else {
            *o++ = p[0];
            *o++ = p[1];
        }
        ++p;
    }
    return static_cast<std::size_t>(o - out);
}

bool evaluateExpression(const char* first, const char* last, double& value) {
    ExpressionReader reader{first, last};
    const double v = reader.sum();
    reader.skipSpaces();
    if (reader.failed || reader.p != last) return false;
    value = v;
    return true;
}

double typedValue(const char* text) {
    const std::size_t n = std::strlen(text);
    const char* first = text;
    std::string normalised;
    for (std::size_t i = 0; i < n; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            normalised.resize(n);
            normalised.resize(normaliseFullWidth(text, text + n, normalised.data()));
            first = normalised.data();
            break;
        }
    }
    const char* const last = first + (first == text ? n : normalised.size());
    double value;
    if (evaluateExpression(first, last, value)) return value;
    return parseDecimal(first, last);
}
