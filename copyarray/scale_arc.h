#pragma once

#include "figure/figure.h"

// An arc after scaling (x, y) -> (sx x, sy y) about its centre: new radius, ratio and tilt, and
// the shift of both angles' parameters. A zero radius gets ratio 1.
struct ScaledArc {
    double radius = 0.0, ratio = 0.0, tilt = 0.0, shift = 0.0;
};

ScaledArc scaledArc(const CircleItem& arc, double sx, double sy);

// Re-expresses the arc after that scaling: scaledArc's values, both angles shifted.
void scaleArc(CircleItem& arc, double sx, double sy);
