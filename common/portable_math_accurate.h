#pragma once
// The double-double evaluations behind common/portable_math.h: about 2^-100 relative error,
// so that rounding hi gives the correctly rounded double. They are the slow path and build
// the fast path's tables.
#include <bit>
#include <cmath>
#include <cstdint>

#include "common/double_double.h"

namespace ovd::portable::accurate {

// ln 2 in three parts; the first two have 42 significant bits, so that k times them is exact
// for |k| < 2^11.
inline constexpr double kLn2A = 0x1.62e42fefa3800p-1;
inline constexpr double kLn2B = 0x1.ef35793c76800p-45;
inline constexpr double kLn2C = -0x1.9ff0342542fc3p-90;
inline constexpr dd::DD kLn2{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
inline constexpr dd::DD kHalfPi{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};

// The integer nearest v (ties to even) for |v| < 2^51, without a call into the C library.
inline double nearestInteger(double v)
{
    constexpr double kShift = 0x1.8p52;
    return (v + kShift) - kShift;
}

// x = m 2^e with m in [0.75, 1.5), for x > 0 finite (subnormal included): exact.
inline double splitNear1(double x, int& e)
{
    std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    e = 0;
    if ((bits >> 52) == 0) {  // subnormal: bring it up first
        bits = std::bit_cast<std::uint64_t>(x * 0x1p54);
        e = -54;
    }
    e += static_cast<int>(bits >> 52) - 1023;
    double m = std::bit_cast<double>((bits & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);  // [1, 2)
    if (m >= 1.5) {
        m *= 0.5;
        ++e;
    }
    return m;
}

// a 2^k, both parts scaled exactly.
inline dd::DD scaled(dd::DD a, int k)
{
    return {std::ldexp(a.hi, k), std::ldexp(a.lo, k)};
}

// e^x as m 2^k, m within about [0.7, 1.42]; |x.hi| <= 746.
struct Scaled {
    dd::DD m;
    int k = 0;
};
Scaled exp(dd::DD x);

// m 2^k rounded to the nearest double, to a subnormal, to 0 or to infinity where it falls;
// m > 0 normalised as double-double values are.
double roundScaled(dd::DD m, int k);

// ln x for x > 0 finite (subnormal included).
dd::DD log(double x);

// x - q pi/2 with q the nearest integer to x / (pi/2), and q mod 4; |x| < kReducible.
inline constexpr double kReducible = 0x1p20;
struct Reduced {
    dd::DD r;
    int quadrant = 0;
};
Reduced reduceHalfPi(double x);

// sin r and cos r for |r| <= 0.8.
dd::DD sin(dd::DD r);
dd::DD cos(dd::DD r);

// atan x for finite x.
dd::DD atan(double x);

}  // namespace ovd::portable::accurate
