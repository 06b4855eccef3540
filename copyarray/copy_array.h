#pragma once

#include "copyarray/int_pow.h"
#include "figure/matrix3.h"

// The six parameter rows of the panel, top to bottom.
enum ParameterRow {
    kRowMoveX = 0,
    kRowMoveY,
    kRowAngle,
    kRowScaleX,
    kRowScaleY,
    kRowCopies,
    kRowCount
};

constexpr int kRowTextSize = 128;  // 127 characters and the terminator, as a value box holds
constexpr int kMoveFactorMillimetres = 1;
constexpr int kMoveFactorMetres = 1000;
// A ten-decimal pi over 180 (3.1415926538 / 180), not pi/180: the panel's degree, which stored
// rows and the written digits depend on.
constexpr double kDegreeFactor = 0.01745329252111111;
constexpr double kRadianFactor = 1.0;
// Beyond this the copy count is clamped: more copies than this cannot be previewed or
// written in any useful time, and a larger product would not fit an int.
constexpr int kMaxCopies = 100000;

// The raw inputs of one evaluation, as the panel shows them at that moment.
struct CopyInputs {
    char rowText[kRowCount][kRowTextSize] = {};
    int rowSlider[kRowCount] = {};  // 0..100
    int moveUnitFactor[2] = {kMoveFactorMillimetres, kMoveFactorMillimetres};
    double angleUnitFactor = kDegreeFactor;
    // The check box 属性・文字も複写 (zovrel-batch --keep-attributes).
    bool keepAttributes = false;

    void setText(int row, const char* text);  // keeps at most the first 127 characters
};

struct CopyParameters {
    double moveX = 0.0;  // drawing units per copy
    double moveY = 0.0;
    double angle = 0.0;  // radians per copy, clockwise on the canvas
    double scaleX = 0.0;
    double scaleY = 0.0;
    int copies = 0;
    bool copiesClamped = false;  // the typed count asked for more than kMaxCopies
    // Each copy of an element carries the element's attribute lines (layer group, layer,
    // colour, line type and width, text type and font), the copies hold the texts, and the
    // host's write settings are set back after the last copy. Off: the geometry alone.
    bool keepAttributes = false;
};

// A typed value of rows 1 to 5 (arithmetic and full-width forms, see typedValue), with
// anything that is not finite read as 0.
double rowValue(const char* text);

// The copy count's typed value: the number reader's alone, as fits a box of digits only, with
// anything that is not finite read as 0.
double copiesValue(const char* text);

// How a row's text was read, for the marks and notes that say so.
enum class RowRead {
    whole,      // as typed
    blank,      // an empty box: 0
    partial,    // only its start counted (rowValue and copiesValue read it so)
    notFinite,  // overflow or a division by zero: never written, and never taken for 0
};

struct RowReading {
    RowRead how = RowRead::blank;
    double value = 0.0;  // what the text reads as (not finite for notFinite)
};

// Row 1 to 5's arithmetic, the copy count's number alone.
RowReading readRowText(int row, const char* text);

CopyParameters evaluateCopyParameters(const CopyInputs& inputs);

// The compounded values of copy k.
struct CopyStep {
    int k = 0;
    double scaleX = 1.0;  // scaleX^k
    double scaleY = 1.0;
    double turn = 0.0;  // k * angle
};

// Copies 1, 2, ... in turn: each power of the scales costs one step.
struct CopySteps {
    explicit CopySteps(const CopyParameters& params);
    CopyStep next();

    const CopyParameters& params;
    PowerSequence scaleX;
    PowerSequence scaleY;
    int k = 0;
};

// The base point. Copy k is the figure scaled by scale^k and turned by k * angle about it,
// then moved by k * move.
struct CopyArray {
    double baseX = 0.0;
    double baseY = 0.0;

    Matrix3 copyMatrix(const CopyParameters& params, const CopyStep& step) const;
    // The same matrix with the products by exact 0 and 1 left out: equal values, but an exact
    // zero may come out with the other sign. Good for pixels, which cannot tell, never for
    // writing, where -0.000000 and 0.000000 differ.
    Matrix3 drawingMatrix(const CopyParameters& params, const CopyStep& step) const;
};
