#pragma once

// x to the power k (k >= 0), correctly rounded in all but astronomically rare cases.
// The copy array raises the scale factors to the copy number; the C libraries' pow differ
// in the last bits (mingw-w64's is several ulps off for whole exponents), which would make
// the written digits depend on the platform. This one uses only IEEE + - * and so gives the
// same bits everywhere; it agrees with glibc's pow but for the rare cases near a rounding tie
// where glibc's is the one off by a last bit.
double intPow(double x, int k);
