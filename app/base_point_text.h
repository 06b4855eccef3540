#pragma once

#include <string>

#include "figure/point2.h"

// The base point as text, without any window: typed as "X, Y", offered, and shown in the
// status bar.

// "X, Y", each the shortest text that reads back as exactly that value.
std::string basePointText(double x, double y);

// "X, Y" in drawing units: each half a whole calculation as the value boxes read them (full-
// width forms too); the comma may be the full-width "，" or "、". False, base untouched, when
// the text is not two such halves or a half is not finite.
bool readBasePoint(const char* text, Point2& base);

// The status bar's "基点 X, Y": each cut, not rounded, to `decimals` (0 to 2) decimals, without
// the zeros that end it.
std::string basePointLabel(double x, double y, int decimals);
