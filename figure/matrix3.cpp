#include "figure/matrix3.h"

#include <cmath>

void Matrix3::setIdentity() {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m[r][c] = r == c ? 1.0 : 0.0;
}

void Matrix3::multiply(const Matrix3& b) {
    double t[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            t[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = t[i][j];
}

void Matrix3::translate(double tx, double ty) {
    Matrix3 t;
    t.m[2][0] = tx;
    t.m[2][1] = ty;
    multiply(t);
}

void Matrix3::rotate(double a) {
    Matrix3 r;
    const double c = std::cos(a);
    const double s = std::sin(a);
    r.m[0][0] = c;
    r.m[0][1] = -s;
    r.m[1][0] = s;
    r.m[1][1] = c;
    multiply(r);
}

void Matrix3::scaleAxes(double sx, double sy) {
    Matrix3 s;
    s.m[0][0] = sx;
    s.m[1][1] = sy;
    multiply(s);
}
