#include "figure/expression.h"

#include <cstring>
#include <string>

#include "figure/decimal.h"

bool isShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

namespace {

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
    // The kana mode's forms of the keys - . and /.
    {0x81, 0x5B, '-'},  // ー
    {0x81, 0x42, '.'},  // 。
    {0x81, 0x45, '/'},  // ・
};

// What a UTF-8 command line carries for the forms above, the full-width comma (read in part,
// as in a box) and the digits' run, 0xFF10 to 0xFF19 as 82 4F to 82 58.
struct Utf8Form {
    char32_t code;
    unsigned char lead;
    unsigned char trail;
};

constexpr Utf8Form kUtf8Forms[] = {
    {0x3000, 0x81, 0x40}, {0xFF0E, 0x81, 0x44}, {0xFF0B, 0x81, 0x7B}, {0xFF0D, 0x81, 0x7C},
    {0x2212, 0x81, 0x7C}, {0x00D7, 0x81, 0x7E}, {0x00F7, 0x81, 0x80}, {0xFF0A, 0x81, 0x96},
    {0xFF0F, 0x81, 0x5E}, {0xFF08, 0x81, 0x69}, {0xFF09, 0x81, 0x6A}, {0x30FC, 0x81, 0x5B},
    {0x3002, 0x81, 0x42}, {0x30FB, 0x81, 0x45}, {0xFF0C, 0x81, 0x43},
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
    TypedRead read;
    return typedValue(text, read);
}

namespace {

bool blank(const char* first, const char* last) {
    while (first != last && isSpace(*first)) ++first;
    return first == last;
}

}  // namespace

double typedValue(const char* text, TypedRead& read) {
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
    if (evaluateExpression(first, last, value)) {
        read = TypedRead::whole;
        return value;
    }
    read = blank(first, last) ? TypedRead::blank : TypedRead::partial;
    return parseDecimal(first, last);
}

double numberValue(const char* text, TypedRead& read) {
    const char* const last = text + std::strlen(text);
    const char* end = text;
    const double value = parseDecimal(text, last, &end);
    if (end == text)
        read = blank(text, last) ? TypedRead::blank : TypedRead::partial;
    else
        read = blank(end, last) ? TypedRead::whole : TypedRead::partial;
    return value;
}

std::string fullWidthFromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // The forms take two or three bytes: 110xxxxx 10xxxxxx or 1110xxxx 10xxxxxx 10xxxxxx.
        const std::size_t size = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 1;
        char32_t code = 0;
        bool sequence = size > 1 && i + size <= text.size();
        if (sequence) {
            code = c & (size == 2 ? 0x1F : 0x0F);
            for (std::size_t k = 1; k < size; ++k) {
                const unsigned char t = static_cast<unsigned char>(text[i + k]);
                sequence = sequence && (t & 0xC0) == 0x80;
                code = (code << 6) | (t & 0x3F);
            }
        }
        const Utf8Form* form = nullptr;
        if (sequence) {
            for (const Utf8Form& f : kUtf8Forms)
                if (f.code == code) form = &f;
        }
        if (sequence && code >= 0xFF10 && code <= 0xFF19) {
            out += '\x82';
            out += static_cast<char>(0x4F + (code - 0xFF10));
        } else if (form) {
            out += static_cast<char>(form->lead);
            out += static_cast<char>(form->trail);
        } else {
            out.append(text.substr(i, sequence ? size : 1));
        }
        i += sequence ? size : 1;
    }
    return out;
}

std::size_t wholeCharacters(const char* text, std::size_t length, std::size_t limit) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < length;) {
        const std::size_t size = isShiftJisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + size > length || i + size > limit) break;
        i += size;
        kept = i;
    }
    return kept;
}
