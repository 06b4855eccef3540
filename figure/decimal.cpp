#include "figure/decimal.h"

#include <emmintrin.h>  // SSE2, part of every x86-64 target

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

namespace {

// Powers of ten that are exact doubles.
constexpr double kExactPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr uint64_t kMaxExactMantissa = uint64_t{1} << 53;
constexpr int kMaxMantissaDigits = 19;  // any 19 digits fit 64 bits

// The long way, for what the short one cannot round exactly: from_chars rounds correctly but
// leaves out-of-range results to the caller.
double slowValue(const char* mantissa, const char* numberEnd, const char* mantissaEnd,
                 long long exponent) {
    double value = 0.0;
    const std::from_chars_result r =
        std::from_chars(mantissa, numberEnd, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Decimal exponent of the first significant digit tells overflow from underflow.
        long long lead = 0;
        bool seen = false, afterPoint = false;
        for (const char* q = mantissa; q != mantissaEnd; ++q) {
            if (*q == '.') {
                afterPoint = true;
            } else if (!afterPoint) {
                if (seen) ++lead;
                if (*q != '0') seen = true;
            } else if (!seen) {
                --lead;
                if (*q != '0') seen = true;
            }
        }
        return seen && lead + exponent >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    if (r.ec != std::errc() || r.ptr != numberEnd) return 0.0;  // cannot happen for a valid prefix
    return value;
}

// 10^k for k digits.
constexpr uint64_t kDigitScale[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
constexpr double kFractionScale[8] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};

// The value of eight digit bytes (0..9), the most significant the lowest byte: four steps of
// multiply-shift, pairs, then fours, then the eight.
inline uint64_t eightDigitValue(uint64_t v) {
    v = (v * 10) + (v >> 8);
    return (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
            (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
           32;
}

// Appends the run of decimal digits at p (stopping at last) to value and count, eight at a
// time where eight bytes may be read (up to readable). Past 19 digits value wraps around and
// only count stays meaningful.
const char* takeDigits(const char* p, const char* last, const char* readable, uint64_t& value,
                       int& count) {
    while (readable - p >= 8) {
        uint64_t chunk;
        std::memcpy(&chunk, p, 8);  // little-endian: the first character is the lowest byte
        const uint64_t t = chunk ^ 0x3030303030303030ull;
        // A byte is a digit when its t is 0..9; a carry out of a non-digit byte only reaches
        // later bytes, which lie beyond the first non-digit anyway.
        const uint64_t nonDigit = ((t + 0x0606060606060606ull) | t) & 0xF0F0F0F0F0F0F0F0ull;
        long run = nonDigit ? __builtin_ctzll(nonDigit) / 8 : 8;
        if (run > last - p) run = last - p;
        if (run == 0) return p;
        // Leading zero digits in front make a run of fewer than eight an eight-digit number.
        value = value * kDigitScale[run] + eightDigitValue(run == 8 ? t : t << (8 * (8 - run)));
        count += static_cast<int>(run);
        p += run;
        if (run < 8) return p;
    }
    while (p != last && isDigit(*p)) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        ++count;
        ++p;
    }
    return p;
}

// The number of leading decimal digits in the eight bytes of chunk, and their value.
struct DigitRun {
    int length;
    uint64_t value;
};

inline DigitRun digitRun(uint64_t chunk) {
    const uint64_t t = chunk ^ 0x3030303030303030ull;
    const uint64_t nonDigit = ((t + 0x0606060606060606ull) | t) & 0xF0F0F0F0F0F0F0F0ull;
    const int length = nonDigit ? __builtin_ctzll(nonDigit) / 8 : 8;
    if (length == 0) return {0, 0};
    return {length, eightDigitValue(length == 8 ? t : t << (8 * (8 - length)))};
}

// The usual shape, [-]ddd.dddddd with at most seven digits on either side and no exponent,
// read in two eight-byte steps. False when the text has another shape or the bytes to look
// at run past readable; the general reader then takes over.
inline bool readUsualNumber(const char* p, const char* last, const char* readable, double& value,
                            const char*& stop) {
    if (readable - p < 8) return false;
    uint64_t chunk;
    std::memcpy(&chunk, p, 8);
    const DigitRun whole = digitRun(chunk);
    if (whole.length == 8 || p + whole.length >= last || p[whole.length] != '.') return false;
    if (readable - (p + whole.length + 1) < 8) return false;
    std::memcpy(&chunk, p + whole.length + 1, 8);
    const DigitRun fraction = digitRun(chunk);
    if (fraction.length == 8 || whole.length + fraction.length == 0) return false;
    const char* after = p + whole.length + 1 + fraction.length;
    if (after > last || (after < last && (*after == 'e' || *after == 'E'))) return false;
    // At most 14 digits: the integer is exact, and so is the one division.
    const double digits =
        static_cast<double>(whole.value * kDigitScale[fraction.length] + fraction.value);
    value = digits / kFractionScale[fraction.length];
    stop = after;
    return true;
}

// The value of the first length (0..7) digits of chunk, the text's first byte the lowest.
inline uint64_t leadingDigits(uint64_t chunk, int length) {
    // Shifted to the top, the digits sit behind leading zeros: an eight-digit number.
    return eightDigitValue(((chunk ^ 0x3030303030303030ull) << (8 * (7 - length))) << 8);
}

// readUsualNumber where sixteen bytes from p may be read: it accepts the same texts and gives
// the same value, but one SSE2 comparison finds both the point and the end, so the end (which
// the next field waits for) does not wait for a second load.
inline bool readUsualNumberWide(const char* p, const char* last, double& value, const char*& stop) {
    const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i t = _mm_sub_epi8(text, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(9)), t);
    const unsigned nonDigit = ~static_cast<unsigned>(_mm_movemask_epi8(digit)) & 0xFFFFu;
    const unsigned beyondPoint = nonDigit & (nonDigit - 1);
    if (beyondPoint == 0) return false;
    const int wholeLength = __builtin_ctz(nonDigit);
    const int fractionLength = __builtin_ctz(beyondPoint) - wholeLength - 1;
    if (wholeLength > 7 || fractionLength > 7 || wholeLength + fractionLength == 0 ||
        p[wholeLength] != '.')
        return false;
    const char* after = p + wholeLength + 1 + fractionLength;
    if (after > last || (after < last && (*after == 'e' || *after == 'E'))) return false;
    uint64_t chunk;
    std::memcpy(&chunk, p, 8);
    const uint64_t whole = leadingDigits(chunk, wholeLength);
    std::memcpy(&chunk, p + wholeLength + 1, 8);
    const double digits = static_cast<double>(whole * kDigitScale[fractionLength] +
                                              leadingDigits(chunk, fractionLength));
    value = digits / kFractionScale[fractionLength];
    stop = after;
    return true;
}

// Every shape of number; kept out of line so that the usual shape saves no registers for it.
__attribute__((noinline)) double parseAnyDecimal(const char* first, const char* last,
                                                 const char* readable, const char** end) {
    const char* p = first;
    while (p != last && isSpace(*p)) ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    {
        double value;
        const char* stop;
        if (readUsualNumber(p, last, readable, value, stop)) {
            if (end) *end = stop;
            return negative ? -value : value;
        }
    }
    const char* const mantissa = p;
    // All digits as one integer while there are at most 19 of them.
    uint64_t digitsValue = 0;
    int digits = 0;
    p = takeDigits(p, last, readable, digitsValue, digits);
    int fractionDigits = 0;
    if (p != last && *p == '.') {
        const char* q = takeDigits(p + 1, last, readable, digitsValue, fractionDigits);
        if (digits + fractionDigits > 0) p = q;
    }
    if (digits + fractionDigits == 0) {
        if (end) *end = first;
        return 0.0;
    }
    const char* const mantissaEnd = p;
    long long exponent = 0;
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool expNegative = false;
        if (q != last && (*q == '+' || *q == '-')) {
            expNegative = *q == '-';
            ++q;
        }
        if (q != last && isDigit(*q)) {
            while (q != last && isDigit(*q)) {
                if (exponent < 1000000000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (expNegative) exponent = -exponent;
            p = q;
        }
    }
    if (end) *end = p;

    double value;
    const long long power = exponent - fractionDigits;
    if (digits + fractionDigits <= kMaxMantissaDigits && digitsValue <= kMaxExactMantissa &&
        power >= -22 && power <= 22) {
        // Both operands are exact, so one IEEE operation rounds correctly.
        const double m = static_cast<double>(digitsValue);
        value = power < 0 ? m / kExactPowers[-power] : m * kExactPowers[power];
    } else {
        value = slowValue(mantissa, p, mantissaEnd, exponent);
    }
    return negative ? -value : value;
}

}  // namespace

double parseDecimal(const char* first, const char* last, const char* readable, const char** end) {
    // A field that starts with white space or '+' never has the usual shape here, and one that
    // fails it is read again from the start, so the result is parseAnyDecimal's in every case.
    const bool negative = first != last && *first == '-';
    const char* const p = first + negative;
    double value;
    const char* stop;
    if (readable - p >= 16 && readUsualNumberWide(p, last, value, stop)) {
        if (end) *end = stop;
        return negative ? -value : value;
    }
    return parseAnyDecimal(first, last, readable, end);
}

double parseDecimal(const char* first, const char* last, const char** end) {
    return parseDecimal(first, last, last, end);
}

double parseDecimal(const char* text) {
    return parseDecimal(text, text + std::strlen(text));
}

// Out of line: its two groups of digits and its call would make every formatLf save registers.
__attribute__((noinline)) std::size_t decimal_detail::formatLfLarge(double v, char* out) {
    constexpr std::uint64_t kWideBits = 0x426D1A94A2000000ull;  // the bits of 1e12
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const std::uint64_t magnitude = bits & ~(std::uint64_t{1} << 63);
    if (magnitude < kWideBits) {
        const FixedSix parts = fixedSix(magnitude);  // 99999999 <= whole < 10^12
        char* p = out;
        *p = '-';
        p += bits >> 63;
        const uint32_t highPart = static_cast<uint32_t>(parts.whole / 100000000);
        const uint64_t low = digitBytes(static_cast<uint32_t>(parts.whole % 100000000));
        if (highPart != 0) {
            const uint64_t high = digitBytes(highPart);
            const int lead = __builtin_ctzll(high) / 8;
            store8(p, (high >> (8 * lead)) + kZeros);
            p += 8 - lead;
        }
        store8(p, low + kZeros);
        p += 8;
        store8(p - 1,
               digitBytes(static_cast<uint32_t>(parts.micro)) + (low >> 56) + kDigitPointDecimals);
        return static_cast<std::size_t>(p + 7 - out);
    }
    if (std::isnan(v)) {
        std::memcpy(out, "nan", 3);
        return 3;
    }
    const std::to_chars_result r =
        std::to_chars(out, out + kMaxLfChars, v, std::chars_format::fixed, 6);
    return static_cast<std::size_t>(r.ptr - out);
}

std::size_t formatLf(double v, char* out) {
    return formatLfInline(v, out);
}
