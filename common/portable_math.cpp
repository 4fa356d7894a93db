#include "common/portable_math.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "common/portable_math_accurate.h"

namespace ovd::portable {

using dd::DD;

namespace {

constexpr int kExpSteps = 128;                      // e^x = 2^(k/128) e^r
constexpr double kExpScale = 0x1.71547652b82fep+7;  // 128 / ln 2
// ln 2 / 128 in two parts, the first of 35 bits: k times it is exact for |k| < 2^18.
constexpr double kExpStepA = 0x1.62e42fefc0000p-8;
constexpr double kExpStepB = -0x1.c610ca86c3899p-44;
constexpr double kLn2Rest = accurate::kLn2B + accurate::kLn2C;  // ln 2 - kLn2A, rounded

constexpr int kLogSteps = 192;  // m in [0.75, 1.5) by 1/256
constexpr int kTrigSteps = 52;  // sin and cos at j/64, j = 0 .. 51
constexpr int kAtanSteps = 65;  // atan at j/64, j = 0 .. 64

struct LogStep {
    double inverse = 1;  // near 1 / c, c the step's middle
    DD logOfCentre;      // -ln(inverse)
};

// Built once from the accurate evaluations.
struct Tables {
    std::array<DD, kExpSteps> exp2{};
    std::array<LogStep, kLogSteps> log{};
    std::array<DD, kTrigSteps> sin{}, cos{};
    std::array<DD, kAtanSteps> atan{};
};

Tables buildTables()
{
    Tables t;
    for (int j = 0; j < kExpSteps; ++j) {
        const accurate::Scaled e = accurate::exp(dd::mul(accurate::kLn2, j / 128.0));
        t.exp2[static_cast<std::size_t>(j)] = accurate::scaled(e.m, e.k);
    }
    for (int j = 0; j < kLogSteps; ++j) {
        LogStep& s = t.log[static_cast<std::size_t>(j)];
        // the two steps either side of 1 multiply by 1 itself: there r = m - 1 exactly, and ln x
        // keeps its relative accuracy however near 1 x is
        s.inverse = (j == 63 || j == 64) ? 1.0 : 1.0 / (0.75 + (j + 0.5) / 256.0);
        s.logOfCentre = dd::neg(accurate::log(s.inverse));
    }
    for (int j = 0; j < kTrigSteps; ++j) {
        t.sin[static_cast<std::size_t>(j)] = accurate::sin({j / 64.0, 0.0});
        t.cos[static_cast<std::size_t>(j)] = accurate::cos({j / 64.0, 0.0});
    }
    for (int j = 0; j < kAtanSteps; ++j)
        t.atan[static_cast<std::size_t>(j)] = accurate::atan(j / 64.0);
    return t;
}

const Tables& tables()
{
    static const Tables t = buildTables();
    return t;
}

// 2^e for a normal result, -1022 <= e <= 1023.
inline double powerOfTwo(int e)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52);
}

// The value hi + lo known to within err: its rounding if both ends round alike.
bool certainRounding(DD y, double err, double& out)
{
    const double up = y.hi + (y.lo + err), down = y.hi + (y.lo - err);
    if (up != down)
        return false;
    out = up;
    return true;
}

// e^(x + xlo) for |x| <= 708, when x + xlo is known to within xerr.
bool fastExp(double x, double xlo, double xerr, double& out)
{
    const double kd = accurate::nearestInteger(x * kExpScale);
    const DD r0 = dd::twoSum(x, -kd * kExpStepA);
    const DD r = dd::twoSum(r0.hi, -kd * kExpStepB);
    const double rlo = r.lo + r0.lo + xlo;
    const double h = r.hi;
    // e^r - 1 - r, |r| <= ln2/256: the series' rest is below 2^-72
    const double h2 = h * h;  // evaluated in pairs (Estrin), for a short chain of operations
    const double q = h2 * ((0.5 + h * (1.0 / 6)) + h2 * ((1.0 / 24 + h * (1.0 / 120)) + h2 * (1.0 / 720)));
    const long long k = static_cast<long long>(kd);
    const DD t = tables().exp2[static_cast<std::size_t>(k & (kExpSteps - 1))];
    const DD p = dd::twoProd(t.hi, h);
    const DD s = dd::fastTwoSum(t.hi, p.hi);
    // e^(h + rlo) = e^h (1 + rlo) to 2^-100, that is 1 + h + q + rlo (1 + h)
    const double tail = s.lo + (p.lo + (t.lo + (t.hi * (rlo + h * rlo + q) + t.lo * h)));
    const DD y = dd::fastTwoSum(s.hi, tail);
    double v = 0;
    if (!certainRounding(y, y.hi * (0x1p-65 + xerr), v))
        return false;
    out = v * powerOfTwo(static_cast<int>(k >> 7));
    return true;
}

double accurateExp(DD x)
{
    if (x.hi > 710.0)
        return std::numeric_limits<double>::infinity();
    if (x.hi < -746.0)
        return 0.0;
    const accurate::Scaled e = accurate::exp(x);
    return accurate::roundScaled(e.m, e.k);
}

// ln x for x > 0 finite, with the bound of its error.
DD fastLog(double x, double& err)
{
    int e = 0;
    const double m = accurate::splitNear1(x, e);
    const LogStep& step = tables().log[static_cast<std::size_t>((m - 0.75) * 256.0)];
    DD r{m - 1.0, 0.0};
    if (step.inverse != 1.0) {
        const DD p = dd::twoProd(m, step.inverse);
        r = dd::fastTwoSum(p.hi - 1.0, p.lo);
    }
    const double h = r.hi;
    // ln(1 + r) - r for |r| <= 1/256, to the tenth power, evaluated in pairs (Estrin)
    const double h2 = h * h, h4 = h2 * h2;
    const double low = (-0.5 + h * (1.0 / 3)) + h2 * (-0.25 + h * 0.2);
    const double high = (-1.0 / 6 + h * (1.0 / 7)) + h2 * (-0.125 + h * (1.0 / 9));
    const double q = h2 * (low + h4 * (high + h4 * -0.1));
    const double de = static_cast<double>(e);
    const DD s1 = dd::twoSum(de * accurate::kLn2A, step.logOfCentre.hi);
    const DD s2 = dd::twoSum(s1.hi, h);
    const double tail = s1.lo + s2.lo + (de * kLn2Rest + step.logOfCentre.lo + r.lo * (1.0 - h) + q);
    const DD y = dd::fastTwoSum(s2.hi, tail);
    err = h2 * 0x1p-50 + std::fabs(y.hi) * 0x1p-90;
    return y;
}

bool isOddInteger(double y)
{
    return std::fabs(y) < 0x1p53 && std::trunc(y) == y && std::fmod(y, 2.0) != 0.0;
}

// x^y for x > 0 finite and y finite, not 0.
double positivePow(double x, double y)
{
    double lerr = 0;
    const DD l = fastLog(x, lerr);
    const double estimate = y * l.hi;
    if (estimate > 710.0)
        return std::numeric_limits<double>::infinity();
    if (estimate < -746.0)
        return 0.0;
    const DD p = dd::twoProd(y, l.hi);
    const DD t = dd::fastTwoSum(p.hi, p.lo + y * l.lo);
    double out = 0;
    if (std::fabs(t.hi) <= 708.0 && fastExp(t.hi, t.lo, std::fabs(y) * lerr * 1.01 + std::fabs(t.hi) * 0x1p-100, out))
        return out;
    return accurateExp(dd::mul(accurate::log(x), y));
}

// sin (cosine false) or cos of r + q pi/2.
double sinOrCos(const accurate::Reduced& red, bool cosine)
{
    const int which = (red.quadrant + (cosine ? 1 : 0)) & 3;
    const bool wantCos = which & 1;  // sin(r + q pi/2) is sin r, cos r, -sin r, -cos r
    const DD& r = red.r;
    const int j = static_cast<int>(accurate::nearestInteger(r.hi * 64.0));
    const std::size_t a = static_cast<std::size_t>(std::abs(j));
    const Tables& t = tables();
    const DD sj = j < 0 ? dd::neg(t.sin[a]) : t.sin[a];
    const DD cj = t.cos[a];
    const double d = r.hi - j / 64.0, dl = r.lo;
    const double d2 = d * d;
    const double sd = d * d2 * (-1.0 / 6 + d2 * (1.0 / 120 + d2 * (-1.0 / 5040 + d2 * (1.0 / 362880))));
    const double cm1 = d2 * (-0.5 + d2 * (1.0 / 24 + d2 * (-1.0 / 720 + d2 * (1.0 / 40320))));
    // sin(a + d) = sin a cos d + cos a sin d, cos(a + d) = cos a cos d - sin a sin d
    DD y;
    if (!wantCos) {
        const DD p = dd::twoProd(cj.hi, d);
        const DD s = dd::twoSum(sj.hi, p.hi);
        y = dd::fastTwoSum(s.hi,
                           s.lo + p.lo + (sj.lo + cj.lo * d + sj.hi * cm1 + cj.hi * sd + (cj.hi - sj.hi * d) * dl));
    } else {
        const DD p = dd::twoProd(-sj.hi, d);
        const DD s = dd::twoSum(cj.hi, p.hi);
        y = dd::fastTwoSum(s.hi,
                           s.lo + p.lo + (cj.lo - sj.lo * d + cj.hi * cm1 - sj.hi * sd - (sj.hi + cj.hi * d) * dl));
    }
    double v = 0;
    if (!certainRounding(y, (j != 0 ? 0x1p-65 : 0.0) + std::fabs(y.hi) * 0x1p-64, v))
        v = (wantCos ? accurate::cos(r) : accurate::sin(r)).hi;
    return which >= 2 ? -v : v;
}

// atan a for a > 0 finite: with t = a, or 1/a beyond 1, and c = j/64 the nearest step,
// atan t = atan c + atan u, u = (t - c) / (1 + t c), |u| <= 1/128.
bool fastAtan(double a, double& out)
{
    DD t{a, 0.0};
    const bool inverted = a > 1.0;
    if (inverted) {
        const double q = 1.0 / a;
        const DD e = dd::twoProd(q, a);
        t = {q, ((1.0 - e.hi) - e.lo) / a};
    }
    const int j = static_cast<int>(accurate::nearestInteger(t.hi * 64.0));
    const double c = j / 64.0;
    const DD num = dd::twoSum(t.hi - c, t.lo);
    const DD tc = dd::twoProd(t.hi, c);
    const DD den = dd::add(dd::fastTwoSum(1.0, tc.hi), tc.lo + t.lo * c);
    const double uh = num.hi / den.hi;
    const DD rest = dd::sub(num, dd::mul(den, uh));
    const double ul = rest.hi / den.hi;
    const double u2 = uh * uh;
    const double p = uh * u2 * (-1.0 / 3 + u2 * (0.2 + u2 * (-1.0 / 7 + u2 * (1.0 / 9 - u2 * (1.0 / 11)))));
    const DD& base = tables().atan[static_cast<std::size_t>(j)];
    const DD s = dd::twoSum(base.hi, uh);
    DD y = dd::fastTwoSum(s.hi, s.lo + (base.lo + p + ul * (1.0 - u2)));
    if (inverted) {
        const DD d = dd::twoSum(accurate::kHalfPi.hi, -y.hi);
        y = dd::fastTwoSum(d.hi, d.lo + (accurate::kHalfPi.lo - y.lo));
    }
    return certainRounding(y, std::fabs(y.hi) * 0x1p-66, out);
}

}  // namespace

double exp(double x)
{
    if (std::isnan(x))
        return x + x;
    double out = 0;
    if (std::fabs(x) <= 708.0 && fastExp(x, 0.0, 0.0, out))
        return out;
    return accurateExp({x, 0.0});
}

double log(double x)
{
    if (std::isnan(x) || x == std::numeric_limits<double>::infinity())
        return x + x;
    if (x == 0.0)
        return -std::numeric_limits<double>::infinity();
    if (x < 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    double err = 0, out = 0;
    const DD y = fastLog(x, err);
    if (certainRounding(y, err, out))
        return out;
    return accurate::log(x).hi;
}

double pow(double x, double y)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    if (x > 0.0 && x != 1.0 && x < inf && std::isfinite(y) && y != 0.0)
        return positivePow(x, y);
    if (y == 0.0 || x == 1.0)
        return 1.0;
    if (std::isnan(x) || std::isnan(y))
        return x + y;
    const double ax = std::fabs(x);
    if (std::isinf(y)) {
        if (ax == 1.0)
            return 1.0;
        return (ax < 1.0) == (y > 0.0) ? 0.0 : inf;
    }
    const bool odd = isOddInteger(y);
    if (x == 0.0)
        return y < 0.0 ? (odd ? std::copysign(inf, x) : inf) : (odd ? x : 0.0);
    if (std::isinf(x)) {
        const double magnitude = y < 0.0 ? 0.0 : inf;
        return x < 0.0 && odd ? -magnitude : magnitude;
    }
    if (x < 0.0 && std::trunc(y) != y)
        return std::numeric_limits<double>::quiet_NaN();
    const double v = positivePow(ax, y);
    return x < 0.0 && odd ? -v : v;
}

double sin(double x)
{
    if (!std::isfinite(x))
        return x - x;
    if (std::fabs(x) < 0x1p-26)  // sin x = x (1 - x^2/6), within half an ulp of x
        return x;
    if (std::fabs(x) >= accurate::kReducible)
        return std::sin(x);
    return sinOrCos(accurate::reduceHalfPi(x), false);
}

double cos(double x)
{
    if (!std::isfinite(x))
        return x - x;
    if (std::fabs(x) < 0x1p-27)
        return 1.0;
    if (std::fabs(x) >= accurate::kReducible)
        return std::cos(x);
    return sinOrCos(accurate::reduceHalfPi(x), true);
}

double atan(double x)
{
    if (std::isnan(x))
        return x + x;
    if (std::isinf(x))
        return std::copysign(accurate::kHalfPi.hi, x);
    if (std::fabs(x) < 0x1p-27)  // atan x = x (1 - x^2/3)
        return x;
    double out = 0;
    if (std::fabs(x) < 0x1p60 && fastAtan(std::fabs(x), out))
        return x < 0.0 ? -out : out;
    return accurate::atan(x).hi;
}

}  // namespace ovd::portable
