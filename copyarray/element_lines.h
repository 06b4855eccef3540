#pragma once

#include <cstddef>

#include "copyarray/copy_array.h"
#include "copyarray/line_output.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

// The lines of one element in one copy, one overload per element kind: the copy's matrix m and
// its compounded values step. False at a number that is not finite.

// Degrees per radian, exactly this value: the written digits depend on it.
constexpr double kWriterDegreesPerRadian = 57.29577951308239;
// Seven-number ratios are written at least this flat.
constexpr double kMinWrittenRatio = 0.001;

// The length of (x, y), scaled so that no square overflows: a text's length as written.
double lengthOf(double x, double y);

// The kinds of one line per item.
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const LineItem& s);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const PointItem& p);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const TextItem& t);

// The kinds whose items differ in lines: lines [from, to) of the item.
bool putItemLines(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const PolylineItem& p,
                  std::size_t from, std::size_t to);
