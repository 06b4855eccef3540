#include "copyarray/int_pow.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

void split(double a, double& hi, double& lo) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    hi = c - (c - a);
    lo = a - hi;
}

// Keeps the running product near 1 so neither the product nor the splitting can overflow.
constexpr double kRescaleUp = 0x1p+500;
constexpr double kTooSmall = 0x1p-500;

}  // namespace

PowerSequence::PowerSequence(double base) {
    negative_ = std::signbit(base);
    if (base == 0.0 || !std::isfinite(base)) {
        special_ = true;
        base_ = std::fabs(base);
        return;
    }
    base_ = std::frexp(std::fabs(base), &baseExponent_);
}

double PowerSequence::next() {
    ++k_;
    const bool odd = (k_ & 1) != 0;
    if (special_) {
        const double v = base_;  // 0, infinity or NaN, each its own power
        return negative_ && odd ? -v : v;
    }
    // (hi + lo) * base, exactly up to the tiny lo * base rounding, then renormalised.
    const double p = hi_ * base_;
    double ah, al, bh, bl;
    split(hi_, ah, al);
    split(base_, bh, bl);
    const double e = (((ah * bh - p) + ah * bl + al * bh) + al * bl) + lo_ * base_;
    hi_ = p + e;
    lo_ = e - (hi_ - p);
    if (std::fabs(hi_) < kTooSmall) {
        hi_ *= kRescaleUp;
        lo_ *= kRescaleUp;
        exponent_ -= 500;
    }
    const long long total = exponent_ + k_ * baseExponent_;
    double r;
    if (total >= -1022 && total <= 1023) {
        // Times an exact power of two: the one rounding ldexp would do, without the call.
        const uint64_t bits = static_cast<uint64_t>(total + 1023) << 52;
        double scale;
        std::memcpy(&scale, &bits, sizeof scale);
        r = hi_ * scale;
    } else if (total > 2000) {
        r = std::numeric_limits<double>::infinity();
    } else if (total < -2200) {
        r = 0.0;
    } else {
        r = std::ldexp(hi_, static_cast<int>(total));
    }
    return negative_ && odd ? -r : r;
}

double intPow(double x, int k) {
    if (k <= 0) return 1.0;
    PowerSequence powers(x);
    double v = 1.0;
    for (int i = 0; i < k; ++i) v = powers.next();
    return v;
}
