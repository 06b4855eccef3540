#pragma once

#include <cstddef>

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
// Writes no terminator; returns the number of characters. Non-finite values give "inf",
// "-inf" or "nan", which the exchange-file writer never lets through.
std::size_t formatLf(double v, char* out);
