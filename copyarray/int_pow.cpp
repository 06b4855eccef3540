#include "copyarray/int_pow.h"

#include <cmath>
#include <limits>

namespace {

// A double-double value hi + lo with |lo| <= ulp(hi) / 2, times 2^exponent.
struct Scaled {
    double hi;
    double lo;
    long long exponent;
};

void split(double a, double& hi, double& lo) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    hi = c - (c - a);
    lo = a - hi;
}

// Product of two double-doubles whose hi parts lie in [0.25, 1), renormalised into [0.5, 1).
Scaled multiply(const Scaled& a, const Scaled& b) {
    const double p = a.hi * b.hi;
    double ah, al, bh, bl;
    split(a.hi, ah, al);
    split(b.hi, bh, bl);
    double e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
    e += a.hi * b.lo + a.lo * b.hi;
    const double hi = p + e;
    const double lo = e - (hi - p);
    int shift = 0;
    const double mant = std::frexp(hi, &shift);
    return {mant, std::ldexp(lo, -shift), a.exponent + b.exponent + shift};
}

}  // namespace

double intPow(double x, int k) {
    if (k <= 0) return 1.0;
    const bool negative = std::signbit(x) && (k & 1) != 0;
    if (std::isnan(x)) return x;
    if (x == 0.0) return negative ? -0.0 : 0.0;
    if (std::isinf(x)) {
        const double inf = std::numeric_limits<double>::infinity();
        return negative ? -inf : inf;
    }
    int e = 0;
    const double m = std::frexp(std::fabs(x), &e);
    Scaled base{m, 0.0, e};
    Scaled result{0.5, 0.0, 1};  // 1.0
    for (unsigned n = static_cast<unsigned>(k);;) {
        if (n & 1u) result = multiply(result, base);
        n >>= 1;
        if (n == 0) break;
        base = multiply(base, base);
    }
    double r;
    if (result.exponent > 2000) {
        r = std::numeric_limits<double>::infinity();
    } else if (result.exponent < -2200) {
        r = 0.0;
    } else {
        r = std::ldexp(result.hi, static_cast<int>(result.exponent));
    }
    return negative ? -r : r;
}
