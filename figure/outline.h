#pragma once

#include <cstddef>
#include <vector>

#include "figure/figure.h"
#include "figure/point2.h"

// The outline of a circle or arc: the points the preview joins and the extents take in. The
// reader samples it to check and measure a circle; the preview samples it again to draw, with
// the same function, so both see the very same points.

// A sweep needing more outline segments than this (beyond ten full turns) is rejected, so a
// short line cannot claim any amount of memory.
constexpr int kMaxOutlineSegments = 400;
constexpr int kMaxOutlinePoints = kMaxOutlineSegments + 1;

// pi/180, 2*pi, 20/pi and pi/20 from a 15-digit pi: these exact values are the reader's.
constexpr double kReaderDegree = 0.017453292519943278;
constexpr double kReaderFullTurn = 6.28318530717958;
constexpr double kReaderSegmentsPerRadian = 6.36619772367582;
constexpr double kReaderCircleStep = 0.15707963267948952;

// The outline's points into out (room for kMaxOutlinePoints): 41 for a three-number circle,
// else one segment per 9 degrees of sweep and never fewer than 20. Returns their number, or 0
// when a point is not finite or more than kMaxOutlineSegments segments would be needed.
int sampleOutline(const CircleItem& circle, Point2* out);

// How many points sampleOutline gives a circle whose points are all finite, without computing
// them: what drawing its outline costs.
int outlinePointCount(const CircleItem& circle);

// Whether sampleOutline gives the circle points that are all finite and all inside the box,
// told from its seven numbers alone; false where that is not sure without sampling. The
// reader samples only circles that might widen its bounds.
bool outlineInside(const CircleItem& circle, const Extents& box);

// The same as a list; empty where sampleOutline gives 0.
std::vector<Point2> outlineOf(const CircleItem& circle);
