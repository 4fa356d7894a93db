#include "common/portable_math.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "common/portable_math_accurate.h"

namespace ovd::portable {
namespace {

using Quad = __float128;
using Exact = std::function<Quad(Quad)>;

constexpr double kInf = std::numeric_limits<double>::infinity();

// The quad result rounded to double, or nothing where the quad value lies so near a midpoint
// between two doubles that its own last bits decide the rounding.
std::optional<double> nearest(Quad exact)
{
    const double d = static_cast<double>(exact);
    if (!std::isfinite(d) || d == 0.0)
        return d;
    const double ulp = std::nextafter(std::fabs(d), kInf) - std::fabs(d);
    const Quad fromMid = fabsq(fabsq(exact - static_cast<Quad>(d)) - static_cast<Quad>(ulp) / 2);
    if (fromMid < static_cast<Quad>(ulp) * static_cast<Quad>(0x1p-40))
        return std::nullopt;
    return d;
}

struct Sampled {
    int compared = 0, wrong = 0;
    double firstWrong = 0;
};

Sampled compare(const std::vector<double>& xs, const std::function<double(double)>& f, const Exact& exact)
{
    Sampled s;
    for (double x : xs) {
        const std::optional<double> want = nearest(exact(static_cast<Quad>(x)));
        if (!want)
            continue;
        ++s.compared;
        const double got = f(x);
        if (!(got == *want || (std::isnan(got) && std::isnan(*want)))) {
            if (s.wrong++ == 0)
                s.firstWrong = x;
        }
    }
    return s;
}

std::vector<double> uniform(double lo, double hi, int n, unsigned seed)
{
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> d(lo, hi);
    std::vector<double> xs;
    for (int i = 0; i < n; ++i)
        xs.push_back(d(g));
    return xs;
}

// Magnitudes spread over decades, both signs when asked.
std::vector<double> logUniform(double lo, double hi, int n, unsigned seed, bool bothSigns)
{
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> d(std::log2(lo), std::log2(hi));
    std::vector<double> xs;
    for (int i = 0; i < n; ++i) {
        const double x = std::exp2(d(g));
        xs.push_back(bothSigns && (g() & 1) ? -x : x);
    }
    return xs;
}

void expectCorrectlyRounded(const char* what, const std::vector<double>& xs, const std::function<double(double)>& f,
                            const Exact& exact)
{
    const Sampled s = compare(xs, f, exact);
    EXPECT_GT(s.compared, static_cast<int>(xs.size()) * 9 / 10) << what;
    EXPECT_EQ(s.wrong, 0) << what << ", first at " << s.firstWrong;
}

TEST(PortableMath, SplitConstantsSumToTheirValues)
{
    using namespace accurate;
    const Quad ln2 = static_cast<Quad>(kLn2A) + kLn2B + kLn2C;
    EXPECT_LT(fabsq(ln2 - M_LN2q), 1e-33Q);
    EXPECT_LT(fabsq(static_cast<Quad>(kLn2.hi) + kLn2.lo - M_LN2q), 1e-32Q);
    EXPECT_LT(fabsq(static_cast<Quad>(kHalfPi.hi) + kHalfPi.lo - M_PI_2q), 1e-32Q);
    // k ln 2 exact for 11-bit k: the first parts end in 11 zero bits
    for (double part : {kLn2A, kLn2B}) {
        int e = 0;
        const double m = std::frexp(part, &e);
        EXPECT_EQ(std::ldexp(m, 42), std::trunc(std::ldexp(m, 42)));
    }
}

TEST(PortableMath, ExpIsCorrectlyRounded)
{
    auto exact = [](Quad x) { return expq(x); };
    expectCorrectlyRounded("exp", uniform(-745.5, 710.0, 60000, 1), exp, exact);
    expectCorrectlyRounded("exp near 0", logUniform(1e-20, 2.0, 40000, 2, true), exp, exact);
    expectCorrectlyRounded("exp, subnormal results", uniform(-745.2, -708.0, 20000, 3), exp, exact);
}

TEST(PortableMath, LogIsCorrectlyRounded)
{
    auto exact = [](Quad x) { return logq(x); };
    expectCorrectlyRounded("log", logUniform(1e-320, 1e308, 60000, 4, false), log, exact);
    expectCorrectlyRounded("log near 1", uniform(0.98, 1.02, 40000, 5), log, exact);
}

TEST(PortableMath, PowIsCorrectlyRounded)
{
    const std::vector<double> bases = logUniform(1e-6, 1e7, 6000, 6, false);
    // exponents of the formulas (rise, spreads, wind profile) and others of both signs
    std::vector<double> exponents = {0.33333, 1.5, 0.894, 0.917, 0.14, 0.25, -1.0, 2.0, 1.0 / 3};
    for (double y : uniform(-4.0, 4.0, 11, 7))
        exponents.push_back(y);
    for (double y : exponents) {
        expectCorrectlyRounded(
            "pow", bases, [y](double x) { return pow(x, y); }, [y](Quad x) { return powq(x, static_cast<Quad>(y)); });
    }
}

TEST(PortableMath, SinAndCosAreCorrectlyRounded)
{
    std::vector<double> xs = uniform(-7.0, 7.0, 40000, 8);
    for (double x : uniform(-1e6, 1e6, 20000, 9))
        xs.push_back(x);
    for (double x : logUniform(1e-9, 1.0, 10000, 10, true))
        xs.push_back(x);
    // angles in whole and tenth degrees, as the computations make them
    for (int tenth = -3600; tenth <= 3600; ++tenth)
        xs.push_back(tenth / 10.0 * 3.14159265358979323846 / 180.0);
    // next to multiples of pi/2, where the reduction cancels most bits
    for (int q = 1; q < 2000; ++q) {
        const double m = static_cast<double>(static_cast<Quad>(q) * M_PI_2q);
        xs.push_back(std::nextafter(m, 0.0));
        xs.push_back(m);
        xs.push_back(std::nextafter(m, kInf));
    }
    expectCorrectlyRounded("sin", xs, sin, [](Quad x) { return sinq(x); });
    expectCorrectlyRounded("cos", xs, cos, [](Quad x) { return cosq(x); });
}

TEST(PortableMath, AtanIsCorrectlyRounded)
{
    std::vector<double> xs = logUniform(1e-10, 1e25, 60000, 11, true);
    for (double x : uniform(-2.0, 2.0, 20000, 12))
        xs.push_back(x);
    expectCorrectlyRounded("atan", xs, atan, [](Quad x) { return atanq(x); });
}

// The double-double evaluations stand behind every uncertain fast result: checked on their
// own, not only where the fast path gives way.
TEST(PortableMath, AccurateEvaluationsAreCorrectlyRounded)
{
    auto viaScaled = [](double x) {
        const accurate::Scaled e = accurate::exp({x, 0.0});
        return accurate::roundScaled(e.m, e.k);
    };
    expectCorrectlyRounded("accurate exp", uniform(-745.0, 709.0, 20000, 13), viaScaled,
                           [](Quad x) { return expq(x); });
    expectCorrectlyRounded(
        "accurate log", logUniform(1e-300, 1e300, 20000, 14, false), [](double x) { return accurate::log(x).hi; },
        [](Quad x) { return logq(x); });
    const std::vector<double> rs = uniform(-0.8, 0.8, 20000, 15);
    expectCorrectlyRounded(
        "accurate sin", rs,
        [](double r) {
            return accurate::sin({r, 0.0}).hi;
        },
        [](Quad x) { return sinq(x); });
    expectCorrectlyRounded(
        "accurate cos", rs,
        [](double r) {
            return accurate::cos({r, 0.0}).hi;
        },
        [](Quad x) { return cosq(x); });
}

TEST(PortableMath, SpecialValuesFollowTheCLibrary)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(exp(-0.0), 1.0);
    EXPECT_EQ(exp(kInf), kInf);
    EXPECT_EQ(exp(-kInf), 0.0);
    EXPECT_EQ(exp(710.0), kInf);
    EXPECT_EQ(exp(-746.0), 0.0);
    EXPECT_EQ(exp(-745.0), tiny);
    EXPECT_TRUE(std::isnan(exp(nan)));
    EXPECT_EQ(log(1.0), 0.0);
    EXPECT_FALSE(std::signbit(log(1.0)));
    EXPECT_EQ(log(0.0), -kInf);
    EXPECT_EQ(log(-0.0), -kInf);
    EXPECT_EQ(log(kInf), kInf);
    EXPECT_TRUE(std::isnan(log(-1.0)));
    EXPECT_EQ(log(tiny), -0x1.74385446d71c3p+9);
    EXPECT_EQ(pow(nan, 0.0), 1.0);
    EXPECT_EQ(pow(1.0, nan), 1.0);
    EXPECT_TRUE(std::isnan(pow(2.0, nan)));
    EXPECT_EQ(pow(-2.0, 3.0), -8.0);
    EXPECT_EQ(pow(-2.0, 2.0), 4.0);
    EXPECT_TRUE(std::isnan(pow(-8.0, 1.0 / 3)));
    EXPECT_EQ(pow(0.0, -1.0), kInf);
    EXPECT_EQ(pow(-0.0, -1.0), -kInf);
    EXPECT_EQ(pow(-0.0, -2.0), kInf);
    EXPECT_TRUE(std::signbit(pow(-0.0, 3.0)));
    EXPECT_EQ(pow(0.0, 0.5), 0.0);
    EXPECT_EQ(pow(-1.0, kInf), 1.0);
    EXPECT_EQ(pow(0.5, kInf), 0.0);
    EXPECT_EQ(pow(0.5, -kInf), kInf);
    EXPECT_EQ(pow(2.0, kInf), kInf);
    EXPECT_EQ(pow(-kInf, 3.0), -kInf);
    EXPECT_EQ(pow(-kInf, -3.0), 0.0);
    EXPECT_TRUE(std::signbit(pow(-kInf, -3.0)));
    EXPECT_EQ(pow(kInf, -0.5), 0.0);
    EXPECT_EQ(pow(2.0, 1024.0), kInf);
    EXPECT_EQ(pow(2.0, 1023.0), 0x1p1023);
    EXPECT_EQ(pow(2.0, -1074.0), tiny);
    EXPECT_EQ(pow(2.0, -1075.0), 0.0);  // half the smallest subnormal: the tie goes to the even 0
    EXPECT_EQ(pow(4.0, 0.5), 2.0);
    EXPECT_EQ(pow(10.0, 3.0), 1000.0);
    EXPECT_TRUE(std::signbit(sin(-0.0)));
    EXPECT_TRUE(std::isnan(sin(kInf)));
    EXPECT_TRUE(std::isnan(cos(-kInf)));
    EXPECT_EQ(cos(0.0), 1.0);
    EXPECT_EQ(atan(kInf), 0x1.921fb54442d18p+0);
    EXPECT_EQ(atan(-kInf), -0x1.921fb54442d18p+0);
    EXPECT_EQ(atan(1e300), 0x1.921fb54442d18p+0);
    EXPECT_TRUE(std::signbit(atan(-0.0)));
}

}  // namespace
}  // namespace ovd::portable
