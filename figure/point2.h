#pragma once

#include <cmath>

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

// The length of (x, y), scaled so that no square overflows: a text's length as read and as
// written, which must agree.
inline double lengthOf(double x, double y) {
    const double s = std::fmax(std::fabs(x), std::fabs(y));
    if (!(s > 0.0) || !std::isfinite(s)) return s;
    const double a = x / s, b = y / s;
    return s * std::sqrt(a * a + b * b);
}
