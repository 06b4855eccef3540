#pragma once

#include <cstddef>

#include "copyarray/copy_array.h"
#include "copyarray/line_output.h"
#include "copyarray/scale_arc.h"
#include "figure/figure.h"
#include "figure/matrix3.h"

// The lines of one element in one copy, one overload per element kind: the copy's matrix m and
// its compounded values step. False at a number that is not finite.

// Degrees per radian, exactly this value: the written digits depend on it.
constexpr double kWriterDegreesPerRadian = 57.29577951308239;
// Seven-number ratios are written at least this flat.
constexpr double kMinWrittenRatio = 0.001;

// The kinds of one line per item.
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const LineItem& s);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const PointItem& p);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const TextItem& t);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const SolidItem& s);
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const MarkerItem& p);
// A circle or arc whose scaling for the step is known already: arc is scaledArc's for the
// step's scales (its radius alone where radiusAlone says the line takes no more).
bool putItem(OutputBuffer& out, const Matrix3& m, const CopyStep& step, const CircleItem& c,
             const ScaledArc& arc);

// A group's head: `msg`, or a block reference's `BL x y "name` at its moved insertion point.
bool putDimensionHead(OutputBuffer& out);
bool putBlockHead(OutputBuffer& out, const Matrix3& m, const GroupItem& block);

// Whether a block reference can go into the copy: one that only moves the figure (a block
// reference here carries no turn and no scale).
bool movesOnly(const CopyStep& step);

// Where a text is written in a copy: its start, and its direction with the length it has.
struct TextPlacement {
    double x, y, dx, dy;
};
// The start point follows the copy; the direction is that of the copy's image of (dx, dy), or
// (dx, dy) turned by the copy's angle where a zero scale leaves no image. On a mirrored copy the
// text stays readable: of it and the same text written from its end backwards, the one whose
// direction points more to the right (larger x, then larger y).
TextPlacement textPlacement(const Matrix3& m, const CopyStep& step, const TextItem& t);
