#pragma once

// Whole powers of the scale factors, the same bits on every platform. The C libraries' pow
// differ in the last bits (mingw-w64's is several ulps off for whole exponents), which would
// make the written digits depend on the platform. Here x^k is the running product
// x * x * ... * x carried in double-double arithmetic (about 104 bits; the error after k
// steps stays below k * 2^-104 relative), rounded once to the nearest double: correctly
// rounded but for values within that error of a rounding tie. It uses only IEEE + - * and so
// gives the same bits everywhere; the copy array walks k = 1, 2, ... so each power costs one
// step.
struct PowerSequence {
    explicit PowerSequence(double base);
    double next();  // x^1, x^2, ... in turn

  private:
    double base_;  // the mantissa of |x|, in [0.5, 1)
    int baseExponent_ = 0;
    bool negative_ = false;
    bool special_ = false;  // 0, infinity or NaN: their powers need no arithmetic
    double hi_ = 1.0, lo_ = 0.0;
    long long exponent_ = 0;  // the running product is (hi + lo) * 2^exponent
    long long k_ = 0;
};

// x^k for k >= 0: the k-th value of PowerSequence(x). Takes k steps.
double intPow(double x, int k);
