#pragma once

#include "figure/point2.h"

// A 2-D affine transform in homogeneous coordinates, row-vector convention:
// [x y 1] * M, so the translation lives in the bottom row and every builder multiplies
// on the right: transforms act on a point in the order in which they were applied.
struct Matrix3 {
    double m[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};

    void setIdentity();
    void multiply(const Matrix3& b);  // M := M * B
    void translate(double tx, double ty);
    // Under the row-vector convention a positive angle turns the drawing clockwise
    // (y up); pass -phi for a counter-clockwise turn by phi.
    void rotate(double a);
    void scaleAxes(double sx, double sy);

    Point2 transformPoint(double x, double y) const { return {transformX(x, y), transformY(x, y)}; }
    double transformX(double x, double y) const { return m[0][0] * x + m[1][0] * y + m[2][0]; }
    double transformY(double x, double y) const { return m[0][1] * x + m[1][1] * y + m[2][1]; }
};
