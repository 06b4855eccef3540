#pragma once

#include "figure/figure.h"

// Re-expresses the arc after scaling (x, y) -> (sx x, sy y) about its centre: new radius,
// ratio, tilt and both angles shifted by the parameter shift. A zero radius gets ratio 1.
void scaleArc(CircleItem& arc, double sx, double sy);
