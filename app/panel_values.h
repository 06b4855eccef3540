#pragma once

#include "copyarray/copy_array.h"

// The numbers the parameter panel shows, without any window: the window layer only moves
// these texts in and out of its controls.

// Ends text three characters after its first '.' among the first 125 characters: the point
// and two digits stay, nothing is rounded (1234.5678 shows as 1234.56).
void keepTwoDecimals(char* text);

// Formats v as "%lf" does, cut to two decimals when asked, into a box of kRowTextSize bytes.
// A value whose fixed form would not fit the box's 127 characters is shown in exponent form
// (uncut); a value that is not finite counts as 0 and is shown as such.
void formatBoxNumber(double v, bool twoDecimals, char out[kRowTextSize]);

// The scale as the scale dialog offers it: two cut decimals from 0.01 up, where they show the
// value; below, the shortest decimal text that reads back as exactly this scale.
void formatScaleText(double scale, char out[kRowTextSize]);

// A move row's start-up state for a distance in drawing units.
struct MoveRowState {
    char text[kRowTextSize];
    int unitFactor;
};

// Above 10000 drawing units the row switches to metres, floored to hundredths of a metre.
MoveRowState defaultMoveRow(double distance);

// v rounded to `significant` digits (15: every decimal of 15 digits reads back as itself),
// without the zeros that end them but with at least minDecimals decimals; in exponent form
// where the fixed form would not fit a box. Not finite: "0".
void formatConverted(double v, int minDecimals, char out[kRowTextSize], int significant = 15);

// A move row's unit button: the typed value converted between millimetres and metres, with the
// digits it needs (two decimals at least), so the copies stay where they are and a second
// press gives the number back. Text and factor change together. A text that is not a finite
// number stays as it is; false, nothing changed, where the converted value would not be finite.
bool toggleMoveUnit(char text[kRowTextSize], int& unitFactor);

// The angle row's unit button: converts between degrees and radians, likewise.
bool toggleAngleUnit(char text[kRowTextSize], double& angleFactor);

// 180 / 3.1415926538: back from the panel's radians to its degrees.
constexpr double kPanelDegreesPerRadian = 57.29577950924861;
constexpr double kMetresThreshold = 10000.0;
// Extents are scaled by this for the default move distances.
constexpr double kDefaultMoveFactor = 1.2;

// The rows as the panel shows them right after start-up, for a figure of this size:
// moves of 1.2 times the width (slider 100) and height (slider 0), angle "90" at 0,
// both scales "1.0" at 100, "20" copies at 100.
CopyInputs startupInputs(double figureWidth, double figureHeight);
