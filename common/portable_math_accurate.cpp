#include "common/portable_math_accurate.h"

#include <array>
#include <cmath>

namespace ovd::portable::accurate {

using dd::DD;

namespace {

// pi/2 in four parts; the first three have 33 significant bits, so that q times them is exact
// for |q| < 2^20.
constexpr double kHalfPiA = 0x1.921fb54400000p+0;
constexpr double kHalfPiB = 0x1.0b4611a600000p-34;
constexpr double kHalfPiC = 0x1.3198a2e000000p-69;
constexpr double kHalfPiD = 0x1.b839a252049c1p-104;

constexpr int kFactorials = 32;

// 1/n! for n = 0 .. 31.
const std::array<DD, kFactorials>& inverseFactorials()
{
    static const std::array<DD, kFactorials> table = [] {
        std::array<DD, kFactorials> t{};
        t[0] = {1.0, 0.0};
        for (int n = 1; n < kFactorials; ++n)
            t[static_cast<std::size_t>(n)] =
                dd::div(t[static_cast<std::size_t>(n - 1)], DD{static_cast<double>(n), 0.0});
        return t;
    }();
    return table;
}

// 1/(2n+1) for n = 0 .. 31, the coefficients of atanh and atan.
const std::array<DD, 32>& inverseOdds()
{
    static const std::array<DD, 32> table = [] {
        std::array<DD, 32> t{};
        for (std::size_t n = 0; n < t.size(); ++n)
            t[n] = dd::div(DD{1.0, 0.0}, DD{2.0 * static_cast<double>(n) + 1.0, 0.0});
        return t;
    }();
    return table;
}

// k ln 2 with k of at most 11 bits.
DD multipleOfLn2(double k)
{
    return dd::add(dd::twoSum(k * kLn2A, k * kLn2B), k * kLn2C);
}

}  // namespace

// e^x = 2^k e^r, |r| <= ln2 / 2; e^r from e^(r / 2^10) - 1 by its series, squared back up as
// (e^2a - 1) = (e^a - 1)(e^a - 1 + 2), which keeps the small value's relative accuracy.
Scaled exp(DD x)
{
    const double k = nearestInteger(x.hi / kLn2.hi);
    const DD r = dd::sub(x, multipleOfLn2(k));
    const DD small = scaled(r, -10);
    const auto& inv = inverseFactorials();
    DD s = inv[9];
    for (int n = 8; n >= 1; --n)
        s = dd::add(dd::mul(s, small), inv[static_cast<std::size_t>(n)]);
    DD em1 = dd::mul(s, small);
    for (int i = 0; i < 10; ++i)
        em1 = dd::mul(em1, dd::add(em1, 2.0));
    return {dd::add(em1, 1.0), static_cast<int>(k)};
}

double roundScaled(DD m, int k)
{
    int e = 0;
    std::frexp(m.hi, &e);  // m.hi in [2^(e-1), 2^e)
    if (e - 1 + k >= -1022) {
        // normal or beyond: hi is already the nearest double to hi + lo; two steps keep each
        // scaling in range, so that an overflow is infinity
        const int half = k / 2;
        return std::ldexp(std::ldexp(m.hi, half), k - half);
    }
    if (e + k < -1075)  // below half the smallest subnormal
        return 0.0;
    // a subnormal result: round m 2^(k + 1074) to an integer, ties to even
    const double sh = std::ldexp(m.hi, k + 1074), sl = std::ldexp(m.lo, k + 1074);
    double n = std::nearbyint(sh);
    const double d = sh - n;
    if (d == 0.5 && sl > 0.0)
        n += 1.0;
    else if (d == -0.5 && sl < 0.0)
        n -= 1.0;
    return std::ldexp(n, -1074);
}

// ln x = e ln 2 + 2 atanh((m - 1) / (m + 1)) with x = m 2^e, m in [0.75, 1.5).
DD log(double x)
{
    int e = 0;
    const double m = splitNear1(x, e);
    const DD s = dd::div(DD{m - 1.0, 0.0}, dd::twoSum(m, 1.0));
    const DD z = dd::mul(s, s);
    const auto& odd = inverseOdds();
    DD sum = odd[24];
    for (int n = 23; n >= 0; --n)
        sum = dd::add(dd::mul(sum, z), odd[static_cast<std::size_t>(n)]);
    const DD atanh = dd::mul(sum, s);
    return dd::add(multipleOfLn2(static_cast<double>(e)), DD{2.0 * atanh.hi, 2.0 * atanh.lo});
}

Reduced reduceHalfPi(double x)
{
    const double q = nearestInteger(x * (1.0 / kHalfPi.hi));
    DD r = dd::twoSum(x - q * kHalfPiA, -q * kHalfPiB);
    r = dd::add(r, -q * kHalfPiC);
    r = dd::add(r, -q * kHalfPiD);
    return {r, static_cast<int>(static_cast<long long>(q) & 3)};
}

namespace {

// sum of (-1)^n z^n / (2n + first)! for n = 0 .. 15, by Horner's rule: the series of sin
// (first 1, times r) and cos (first 0) with z = r^2.
DD alternatingFactorialSeries(DD z, int first)
{
    const auto& inv = inverseFactorials();
    DD s = inv[static_cast<std::size_t>(30 + first)];
    for (int n = 28 + first; n >= first; n -= 2)
        s = dd::sub(inv[static_cast<std::size_t>(n)], dd::mul(s, z));
    return s;
}

}  // namespace

DD sin(DD r)
{
    return dd::mul(alternatingFactorialSeries(dd::mul(r, r), 1), r);
}

DD cos(DD r)
{
    return alternatingFactorialSeries(dd::mul(r, r), 0);
}

// Beyond 1, atan x = pi/2 - atan(1/x); then halved, atan t = 2 atan(t / (1 + sqrt(1 + t^2))),
// until |t| <= 1/16, where the series needs 15 terms.
DD atan(double x)
{
    const double a = std::fabs(x);
    if (a > 0x1p60) {  // 1/a is below 2^-60: no more than a correction of pi/2's low part
        const DD v = dd::add(kHalfPi, -1.0 / a);
        return x < 0 ? dd::neg(v) : v;
    }
    const bool inverted = a > 1.0;
    DD t = inverted ? dd::div(DD{1.0, 0.0}, DD{a, 0.0}) : DD{a, 0.0};
    int halvings = 0;
    while (t.hi > 0.0625) {
        t = dd::div(t, dd::add(dd::sqrt(dd::add(dd::mul(t, t), 1.0)), 1.0));
        ++halvings;
    }
    const DD z = dd::mul(t, t);
    const auto& odd = inverseOdds();
    DD s = odd[14];
    for (int n = 13; n >= 0; --n)
        s = dd::sub(odd[static_cast<std::size_t>(n)], dd::mul(s, z));
    DD v = scaled(dd::mul(s, t), halvings);
    if (inverted)
        v = dd::sub(kHalfPi, v);
    return x < 0 ? dd::neg(v) : v;
}

}  // namespace ovd::portable::accurate
