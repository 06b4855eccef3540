#pragma once

#include <cstddef>
#include <string_view>

#include "figure/figure.h"

// One exchange-file line into one element: the fields and their numbers. The lines come as the
// line cutting delivers them (figure/reader.h), line break included.

constexpr int kMaxFields = 8;  // a solid's four points

// Splits a line at single spaces. The first separator is taken at firstSeparator without
// looking at the character there; each further one is the next space. Returns the number of
// separators (kMaxFields + 1 at most: more are not counted) and converts up to kMaxFields
// fields into values; the last field runs to the end of the line, line break included.
// `readable`, where given, is where the bytes after the line that may be read end (the rest of
// the buffer the line stands in): the numbers are read sixteen bytes at a time up to it.
int splitFields(std::string_view line, std::size_t firstSeparator, double values[kMaxFields],
                const char* readable = nullptr);

// Each returns true and fills the item when the line has the right number of finite fields
// (and, for circles, a finite outline of at most kMaxOutlineSegments segments), else
// false with the item untouched.
bool parseSegmentLine(std::string_view line, LineItem& item, const char* readable = nullptr);
bool parsePointLine(std::string_view line, PointItem& item, const char* readable = nullptr);
bool parseCircleLine(std::string_view line, CircleItem& item);

// The seven numbers of a circle line, without looking at its outline.
bool parseCircleNumbers(std::string_view line, CircleItem& item, const char* readable = nullptr);

// A text line without its line break: `TAG x y dx dy "string`, TAG any of the text kinds. True
// with the item filled when the four numbers and the end point are finite and a space and a
// quote follow them.
bool parseTextLine(std::string_view line, TextItem& item);

// `sl` and four, six or eight finite numbers.
bool parseSolidLine(std::string_view line, SolidItem& item);

// A pt line of more than two fields whose first two are finite: a marker, the rest of its line
// kept (without its line break).
bool parseMarkerLine(std::string_view line, MarkerItem& item);

// A block reference's head without its line break: `BL x y "name`, x and y finite.
bool parseBlockHead(std::string_view line, GroupItem& item);
