#include "copyarray/matrix3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kHalfPi = std::acos(0.0);
const double kPi = 2 * kHalfPi;

void expectPoint(const Matrix3& m, double x, double y, double ex, double ey, double tol = 1e-15) {
    const Point2 p = m.transformPoint(x, y);
    EXPECT_NEAR(p.x, ex, tol) << "x of (" << x << ", " << y << ")";
    EXPECT_NEAR(p.y, ey, tol) << "y of (" << x << ", " << y << ")";
}

void expectSameMatrix(const Matrix3& a, const Matrix3& b) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(a.m[r][c], b.m[r][c]) << "m" << r << c;
}

Matrix3 sample() {
    Matrix3 m;
    m.translate(1.5, -2);
    m.rotate(0.3);
    m.scaleAxes(2, -0.5);
    m.translate(7, 11);
    return m;
}

TEST(Matrix3, IdentityLeavesEverythingInPlace) {
    Matrix3 m = sample();
    m.setIdentity();
    expectSameMatrix(m, Matrix3());
    expectPoint(m, 3.25, -4.5, 3.25, -4.5, 0);

    Matrix3 a = sample();
    a.multiply(Matrix3());
    expectSameMatrix(a, sample());
}

TEST(Matrix3, TranslationLivesInTheBottomRowAndTheThirdColumnStaysFixed) {
    Matrix3 m;
    m.translate(4, -6);
    EXPECT_EQ(m.m[2][0], 4.0);
    EXPECT_EQ(m.m[2][1], -6.0);
    const Matrix3 s = sample();
    EXPECT_EQ(s.m[0][2], 0.0);
    EXPECT_EQ(s.m[1][2], 0.0);
    EXPECT_EQ(s.m[2][2], 1.0);
}

TEST(Matrix3, PositiveAngleTurnsClockwise) {
    Matrix3 m;
    m.rotate(kHalfPi);
    expectPoint(m, 1, 0, 0, -1);
    expectPoint(m, 0, 1, 1, 0);
    Matrix3 back;
    back.rotate(-kHalfPi);
    expectPoint(back, 1, 0, 0, 1);
    Matrix3 small;
    small.rotate(0.25);
    expectPoint(small, 2, 0, 2 * std::cos(0.25), -2 * std::sin(0.25));
}

TEST(Matrix3, TransformsActInTheOrderTheyWereApplied) {
    Matrix3 moveThenTurn;
    moveThenTurn.translate(1, 0);
    moveThenTurn.rotate(kHalfPi);
    expectPoint(moveThenTurn, 0, 0, 0, -1);

    Matrix3 turnThenMove;
    turnThenMove.rotate(kHalfPi);
    turnThenMove.translate(1, 0);
    expectPoint(turnThenMove, 0, 0, 1, 0);

    Matrix3 scaleThenMove;
    scaleThenMove.scaleAxes(3, 2);
    scaleThenMove.translate(1, 1);
    expectPoint(scaleThenMove, 1, 1, 4, 3, 0);
    Matrix3 moveThenScale;
    moveThenScale.translate(1, 1);
    moveThenScale.scaleAxes(3, 2);
    expectPoint(moveThenScale, 1, 1, 6, 4, 0);
}

TEST(Matrix3, MultiplyUsesTheOldValuesEvenWithItself) {
    Matrix3 squared = sample();
    const Matrix3 copy = sample();
    squared.multiply(squared);
    Matrix3 expected = sample();
    expected.multiply(copy);
    expectSameMatrix(squared, expected);
    // (p M) M, computed point by point.
    const Point2 once = copy.transformPoint(0.5, 2);
    const Point2 twice = copy.transformPoint(once.x, once.y);
    expectPoint(squared, 0.5, 2, twice.x, twice.y, 1e-12);
}

TEST(Matrix3, MirrorAndCollapse) {
    Matrix3 mirror;
    mirror.scaleAxes(-1, 1);
    expectPoint(mirror, 3, 4, -3, 4, 0);
    expectPoint(mirror, -2, -5, 2, -5, 0);

    Matrix3 collapse;
    collapse.translate(2, 3);
    collapse.scaleAxes(0, 0);
    collapse.translate(5, 6);
    for (double x : {-100.0, 0.0, 7.5}) expectPoint(collapse, x, x * 2 + 1, 5, 6, 0);
    EXPECT_EQ(collapse.m[2][0], 5.0);
    EXPECT_EQ(collapse.m[2][1], 6.0);
}

TEST(Matrix3, FullTurnReturnsPointsButIsNotNormalised) {
    Matrix3 m;
    m.rotate(2 * kPi);
    expectPoint(m, 3, -4, 3, -4, 1e-14);
    EXPECT_NE(m.m[0][1], 0.0);  // the tiny sine of the full turn is kept

    Matrix3 steps;
    for (int i = 0; i < 8; ++i) steps.rotate(kPi / 4);
    expectPoint(steps, 3, -4, 3, -4, 1e-14);
}

TEST(Matrix3, ScaleAndTurnAboutABasePointThenMove) {
    const double bx = 10, by = -5, sx = 2, sy = 3, a = 0.7, dx = 4, dy = 1;
    Matrix3 m;
    m.translate(-bx, -by);
    m.scaleAxes(sx, sy);
    m.rotate(a);
    m.translate(bx + dx, by + dy);
    expectPoint(m, bx, by, bx + dx, by + dy, 1e-14);
    // p lands at R(a) S (p - b) + b + d, R turning clockwise.
    const double u = sx * (12 - bx), v = sy * (-4 - by);
    expectPoint(m, 12, -4, u * std::cos(a) + v * std::sin(a) + bx + dx,
                -u * std::sin(a) + v * std::cos(a) + by + dy, 1e-13);
}

}  // namespace
