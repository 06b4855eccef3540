#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The one number reader and the one "%lf" writer of the program, the same on every platform.
// The C libraries disagree (Windows' atof reads "0x10" as 0, glibc's as 16; their printf
// rounding differs for large values), so neither atof/strtod nor printf is used for numbers.

// atof-like: skips leading white space, then takes the longest prefix of the form
// [+-] digits [. digits] [(e|E) [+-] digits], correctly rounded. No hexadecimal, no inf/nan
// words. Text without such a prefix reads as 0. Overflow gives +-infinity, underflow 0 or a
// subnormal. *end (if given) receives the first character not taken.
double parseDecimal(const char* first, const char* last, const char** end = nullptr);

// The same, allowed to read (never to take) bytes up to readable >= last, which lets it look
// at eight digits at once.
double parseDecimal(const char* first, const char* last, const char* readable, const char** end);

// NUL-terminated convenience form.
double parseDecimal(const char* text);

// Longest text formatLf can produce, without the terminator: sign, 309 integer digits,
// point and six decimals.
constexpr std::size_t kMaxLfChars = 1 + 309 + 1 + 6;

// Writes v exactly as glibc's printf does with "%lf" for finite values (fixed, six decimals,
// round-half-even on exact ties, "-0.000000" for negative values that round to zero).
// Writes no terminator and no byte past the text; returns the number of characters.
// Non-finite values give "inf", "-inf" or "nan", which the exchange-file writer never lets
// through.
std::size_t formatLf(double v, char* out);

namespace decimal_detail {

// formatLf for what formatLfInline leaves out: |v| >= 99999999 (with two groups of digits
// below 1e12, with std::to_chars beyond), infinities and NaN.
std::size_t formatLfLarge(double v, char* out);

// The eight decimal digits of x < 10^8 as byte values 0..9, the most significant in the lowest
// byte (the first in memory on a little-endian machine): two, four, then eight digits in
// parallel, each step one multiply-shift per lane dividing by 10000, 100 or 10.
inline std::uint64_t digitBytes(std::uint32_t x) {
    std::uint64_t w = x / 10000u + (static_cast<std::uint64_t>(x % 10000u) << 32);
    // n * 5243 >> 19 is n / 100 for n < 10000, and n * 103 >> 10 is n / 10 for n < 100; no
    // product reaches the next lane.
    const std::uint64_t hundreds = ((w * 5243u) >> 19) & 0x0000007F0000007Full;
    w = (w << 16) - hundreds * ((100u << 16) - 1u);
    const std::uint64_t tens = ((w * 103u) >> 10) & 0x000F000F000F000Full;
    return (w << 8) - tens * ((10u << 8) - 1u);
}

inline void store8(char* out, std::uint64_t bytes) {
    std::memcpy(out, &bytes, sizeof bytes);
}

// The integer part of a magnitude below 1e12 (given as its bits) and its six decimals, rounded
// as printf rounds: to nearest, ties to even. Integers only, so no compiler setting can change
// them.
struct FixedSix {
    std::uint64_t whole, micro;
};

inline FixedSix fixedSix(std::uint64_t magnitude) {
    // magnitude = m * 2^-shift, shift >= 13 below 1e12. For subnormals m is wrong, but their
    // shift is so large that they round to zero all the same.
    const int shift = 1075 - static_cast<int>(magnitude >> 52);
    const std::uint64_t m = (magnitude & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    if (shift < 64) {
        std::uint64_t whole = m >> shift;
        // The fraction as 0.64 bits, exact; times 10^6 its high word holds the six decimals
        // and its low word what is left, compared with one half. Only here can a value lie
        // exactly halfway: that takes an odd multiple of 2^-7.
        constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
        const std::uint64_t fraction = m << (64 - shift);
        const unsigned __int128 product = static_cast<unsigned __int128>(fraction) * 1000000u;
        std::uint64_t micro = static_cast<std::uint64_t>(product >> 64);
        const std::uint64_t rest = static_cast<std::uint64_t>(product);
        micro += (rest > kHalf) | ((rest == kHalf) & micro);
        if (micro == 1000000) {
            ++whole;
            micro = 0;
        }
        return {whole, micro};
    }
    if (shift < 74) {
        // Below 2^-11: m * 10^6 < 2^73, and no value here lies exactly halfway, so rounding
        // to nearest is adding the first bit dropped.
        const unsigned __int128 scaled = static_cast<unsigned __int128>(m) * 1000000u;
        return {0, (static_cast<std::uint64_t>(scaled >> (shift - 1)) + 1) >> 1};
    }
    return {0, 0};  // below 2^-21, less than half a millionth
}

constexpr std::uint64_t kZeros = 0x3030303030303030ull;
// The last integer digit's zero, the point in the place of the two leading zeros of six
// decimals written as eight digits, and the decimals' zeros.
constexpr std::uint64_t kDigitPointDecimals = 0x3030303030302E30ull;

}  // namespace decimal_detail

// formatLf with its usual case (|v| < 99999999) inline, for callers that write numbers in
// bulk. Every target is little-endian x86-64: the lowest byte of a stored word comes first.
__attribute__((always_inline)) inline std::size_t formatLfInline(double v, char* out) {
    using namespace decimal_detail;
    static_assert(sizeof(double) == sizeof(std::uint64_t), "IEEE binary64 expected");
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "digits are stored as words");
    constexpr std::uint64_t kLargeBits = 0x4197D783FC000000ull;  // the bits of 99999999.0
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const std::uint64_t magnitude = bits & ~(std::uint64_t{1} << 63);
    if (magnitude >= kLargeBits) return formatLfLarge(v, out);  // also infinities and NaN
    const FixedSix parts = fixedSix(magnitude);  // whole <= 99999999 even after a carry
    char* p = out;
    *p = '-';  // overwritten by the first digit when v is not negative
    p += bits >> 63;
    const std::uint64_t digits = digitBytes(static_cast<std::uint32_t>(parts.whole));
    // Leading zero digits, leaving at least the last.
    const int lead = __builtin_ctzll(digits | (std::uint64_t{1} << 56)) / 8;
    store8(p, (digits >> (8 * lead)) + kZeros);
    p += 8 - lead;
    // The eight bytes from the last integer digit to the end, so no byte is written past the
    // text.
    store8(p - 1, digitBytes(static_cast<std::uint32_t>(parts.micro)) + (digits >> 56) +
                      kDigitPointDecimals);
    return static_cast<std::size_t>(p + 7 - out);
}
