#include "figure/decimal.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double parseDecimal(const char* first, const char* last, const char** end) {
    const char* p = first;
    while (p != last && isSpace(*p)) ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* mantissa = p;
    // Decimal exponent of the first significant digit, to tell overflow from underflow.
    long long leadExponent = 0;
    bool seenNonZero = false;
    long long digits = 0;
    while (p != last && isDigit(*p)) {
        if (seenNonZero) {
            ++leadExponent;
        } else if (*p != '0') {
            seenNonZero = true;
        }
        ++digits;
        ++p;
    }
    if (p != last && *p == '.') {
        const char* afterPoint = p + 1;
        const char* q = afterPoint;
        while (q != last && isDigit(*q)) {
            if (!seenNonZero) {
                --leadExponent;
                if (*q != '0') seenNonZero = true;
            }
            ++digits;
            ++q;
        }
        if (digits > 0) p = q;
    }
    if (digits == 0) {
        if (end) *end = first;
        return 0.0;
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool expNegative = false;
        if (q != last && (*q == '+' || *q == '-')) {
            expNegative = *q == '-';
            ++q;
        }
        if (q != last && isDigit(*q)) {
            long long exponent = 0;
            while (q != last && isDigit(*q)) {
                if (exponent < 1000000000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            leadExponent += expNegative ? -exponent : exponent;
            p = q;
        }
    }
    if (end) *end = p;

    double value = 0.0;
    const std::from_chars_result r = std::from_chars(mantissa, p, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        value = (seenNonZero && leadExponent >= 0) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (r.ec != std::errc() || r.ptr != p) {
        value = 0.0;  // cannot happen for the validated prefix
    }
    return negative ? -value : value;
}

double parseDecimal(const char* text) { return parseDecimal(text, text + std::strlen(text)); }

std::size_t formatLf(double v, char* out) {
    if (std::isnan(v)) {
        std::memcpy(out, "nan", 3);
        return 3;
    }
    const std::to_chars_result r = std::to_chars(out, out + kMaxLfChars, v, std::chars_format::fixed, 6);
    return static_cast<std::size_t>(r.ptr - out);
}
