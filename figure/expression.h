#pragma once

#include <cstddef>

// What a value box reads: arithmetic over the number reader's numbers, typed in ASCII or in
// the full-width forms a Japanese input method gives.

// Rewrites the Shift-JIS byte pairs of the full-width digits, point, signs, operators,
// parentheses and space (and the minus sign, which code page 932 shares with the full-width
// hyphen-minus) as their ASCII forms; every other byte stays as it is, a pair as a pair.
// out needs room for last - first bytes; returns the bytes written. No terminator.
std::size_t normaliseFullWidth(const char* first, const char* last, char* out);

// Reads the whole of [first, last) as numbers, + - * /, parentheses, unary signs and white
// space, with * and / before + and -, left to right, in doubles. False, value untouched, when
// the text is not such an expression as a whole. The result may be infinite or NaN.
bool evaluateExpression(const char* first, const char* last, double& value);

// A typed value: full-width forms count as ASCII; a complete expression gives its value, any
// other text the number reader's (its longest number at the start). May be infinite or NaN.
double typedValue(const char* text);
