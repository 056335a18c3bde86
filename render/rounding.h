// The rounding rules of chart geometry: positions are single-precision pixels; where a
// whole pixel is needed a value is rounded half away from zero, and an integer division
// rounds both operands first.
#pragma once

#include <cmath>

namespace render {

// 2.5 -> 3, -2.5 -> -3.
inline int px(double v) {
    return static_cast<int>(std::lround(v));
}

// ⌊a / b⌋ of the rounded operands (floor, also for negative values). A divisor that
// rounds to 0 gives 0 rather than a fault.
inline int idiv(double a, double b) {
    const long n = std::lround(a);
    const long d = std::lround(b);
    if (d == 0) {
        return 0;
    }
    long q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) {
        --q;
    }
    return static_cast<int>(q);
}

// ⌊v / 2⌋ of the rounded value, the half used everywhere for bar and cell halves.
inline int half(double v) {
    return idiv(v, 2);
}

} // namespace render
