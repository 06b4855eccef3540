#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a value box reads: arithmetic over the number reader's numbers, typed in ASCII or in
// the full-width forms a Japanese input method gives.

// Whether c begins a two-byte Shift-JIS character.
bool isShiftJisLead(unsigned char c);

// Rewrites the Shift-JIS byte pairs of the full-width digits, point, signs, operators,
// parentheses and space (and the minus sign, which code page 932 shares with the full-width
// hyphen-minus) as their ASCII forms, and what the input method's kana mode gives for the keys
// - . / (ー 。 ・) as those keys; every other byte stays as it is, a pair as a pair.
// out needs room for last - first bytes; returns the bytes written. No terminator.
std::size_t normaliseFullWidth(const char* first, const char* last, char* out);

// Reads the whole of [first, last) as numbers, + - * /, parentheses, unary signs and white
// space, with * and / before + and -, left to right, in doubles. False, value untouched, when
// the text is not such an expression as a whole. The result may be infinite or NaN.
bool evaluateExpression(const char* first, const char* last, double& value);

// How much of a typed text its value took.
enum class TypedRead {
    whole,    // a complete expression (a number is one)
    blank,    // nothing but white space: 0
    partial,  // the number at its start, or 0 where none starts it: the rest was not read
};

// A typed value: full-width forms count as ASCII; a complete expression gives its value, any
// other text the number reader's (its longest number at the start). May be infinite or NaN.
double typedValue(const char* text);
double typedValue(const char* text, TypedRead& read);

// The number reader's alone (a box of digits only), and how much of the text it took.
double numberValue(const char* text, TypedRead& read);

// The Shift-JIS pairs of the forms normaliseFullWidth knows (and the full-width comma), in place
// of their UTF-8: what a box holds for the text a UTF-8 command line carries. Every other byte
// stays as it is.
std::string fullWidthFromUtf8(std::string_view text);

// The bytes of text[0, length) that fit `limit` without cutting a double-byte character in
// two; a first byte whose second is missing is left out too.
std::size_t wholeCharacters(const char* text, std::size_t length, std::size_t limit);
