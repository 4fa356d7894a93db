// The vector exp, log and sin/cos against the C library, at every vector width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "model/engine/vector_math.h"

namespace ovd {
namespace {

constexpr double kUlp = std::numeric_limits<double>::epsilon();

// Applies a vector function to a list of values, `Width` lanes at a time.
template <int Width, class F> std::vector<double> lanes(const std::vector<double>& in, F f)
{
    using D = typename simd::Vector<Width>::D;
    std::vector<double> padded = in;
    padded.resize((in.size() + Width - 1) / Width * Width, 1.0);
    std::vector<double> out(padded.size());
    for (std::size_t i = 0; i < padded.size(); i += Width)
        simd::store(out.data() + i, f(simd::load<D>(padded.data() + i)));
    out.resize(in.size());
    return out;
}

double relativeError(double got, double want)
{
    if (got == want)
        return 0.0;
    return std::fabs(got - want) / std::fabs(want);
}

template <int Width> void checkExp()
{
    using D = typename simd::Vector<Width>::D;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> any(-708.0, 709.0), small(-1.0, 1.0);
    std::vector<double> x;
    for (int i = 0; i < 20000; ++i)
        x.push_back(i % 2 ? any(rng) : small(rng));
    const auto y = lanes<Width>(x, [](D v) { return simd::exp(v); });
    for (std::size_t i = 0; i < x.size(); ++i)
        ASSERT_LE(relativeError(y[i], std::exp(x[i])), 4 * kUlp) << "exp(" << x[i] << ") width " << Width;

    // subnormal results, the ends of the range, infinities and NaN
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> edge = {-709.5, -720.0, -740.0, -745.0, -746.0, -inf, 709.7, 710.0, inf, 0.0, -0.0};
    const auto e = lanes<Width>(edge, [](D v) { return simd::exp(v); });
    for (std::size_t i = 0; i < edge.size(); ++i) {
        const double want = std::exp(edge[i]);
        if (want != 0.0 && want < std::numeric_limits<double>::min())
            EXPECT_NEAR(e[i], want, 2 * std::numeric_limits<double>::denorm_min()) << edge[i];
        else
            EXPECT_LE(relativeError(e[i], want), 4 * kUlp) << edge[i];
    }
    const auto n = lanes<Width>({std::nan("")}, [](D v) { return simd::exp(v); });
    EXPECT_TRUE(std::isnan(n[0]));
}

template <int Width> void checkLog()
{
    using D = typename simd::Vector<Width>::D;
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> exponent(-300.0, 300.0), nearOne(0.99, 1.01);
    std::vector<double> x;
    for (int i = 0; i < 20000; ++i)
        x.push_back(i % 3 ? std::pow(10.0, exponent(rng)) : nearOne(rng));
    x.push_back(1.0);
    x.push_back(std::sqrt(2.0));
    x.push_back(std::nextafter(std::sqrt(2.0), 2.0));
    const auto y = lanes<Width>(x, [](D v) { return simd::log(v); });
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double want = std::log(x[i]);
        // near 1 the value itself is tiny: measure against the size of the argument's step
        const double tolerance = std::max(4 * kUlp * std::fabs(want), 2 * kUlp * std::fabs(x[i] - 1.0) + 1e-300);
        ASSERT_LE(std::fabs(y[i] - want), tolerance) << "log(" << x[i] << ") width " << Width;
    }
    const double inf = std::numeric_limits<double>::infinity();
    const auto e = lanes<Width>({0.0, -1.0, inf, std::nan("")}, [](D v) { return simd::log(v); });
    EXPECT_EQ(e[0], -inf);
    EXPECT_TRUE(std::isnan(e[1]));
    EXPECT_EQ(e[2], inf);
    EXPECT_TRUE(std::isnan(e[3]));
}

template <int Width> void checkSinCos()
{
    using D = typename simd::Vector<Width>::D;
    std::vector<double> r;
    for (int i = -8000; i <= 8000; ++i)
        r.push_back(i * 1e-4);
    const auto s = lanes<Width>(r, [](D v) {
        D sine, cosine;
        simd::sinCosSmall(v, sine, cosine);
        return sine;
    });
    const auto c = lanes<Width>(r, [](D v) {
        D sine, cosine;
        simd::sinCosSmall(v, sine, cosine);
        return cosine;
    });
    for (std::size_t i = 0; i < r.size(); ++i) {
        ASSERT_LE(relativeError(s[i], std::sin(r[i])), 4 * kUlp) << r[i];
        ASSERT_LE(relativeError(c[i], std::cos(r[i])), 4 * kUlp) << r[i];
    }
}

TEST(VectorMath, ExpMatchesTheLibraryAtEveryWidth)
{
    checkExp<2>();
    checkExp<4>();
    checkExp<8>();
}

TEST(VectorMath, LogMatchesTheLibraryAtEveryWidth)
{
    checkLog<2>();
    checkLog<4>();
    checkLog<8>();
}

TEST(VectorMath, SinCosOfSectorAnglesMatchTheLibrary)
{
    checkSinCos<2>();
    checkSinCos<8>();
}

// The contribution loop's exp gives the full exp's bits wherever the result is normal, and
// its log the full log's bits for positive normal arguments.
template <int Width> void checkLoopVariants()
{
    using D = typename simd::Vector<Width>::D;
    std::mt19937_64 rng(13);
    std::uniform_real_distribution<double> any(-707.5, 709.0), exponent(-300.0, 300.0);
    std::vector<double> x = {-707.5, 709.0, 0.0, -0.0, 1e-300, -1e-300};
    std::vector<double> positive = {1.0, std::sqrt(2.0), std::numeric_limits<double>::min(),
                                    std::numeric_limits<double>::max()};
    for (int i = 0; i < 5000; ++i) {
        x.push_back(any(rng));
        positive.push_back(std::pow(10.0, exponent(rng)));
    }
    const auto full = lanes<Width>(x, [](D v) { return simd::exp(v); });
    const auto normal = lanes<Width>(x, [](D v) { return simd::expNormal(v); });
    const auto moderate = lanes<Width>(x, [](D v) { return simd::expModerate(v); });
    const auto nonPositive = lanes<Width>(x, [](D v) { return simd::expNonPositive(v); });
    for (std::size_t i = 0; i < x.size(); ++i) {
        ASSERT_EQ(full[i], normal[i]) << "exp(" << x[i] << ") width " << Width;
        ASSERT_EQ(full[i], moderate[i]) << "exp(" << x[i] << ") width " << Width;
        if (x[i] <= 0.0) {
            ASSERT_EQ(full[i], nonPositive[i]) << "exp(" << x[i] << ") width " << Width;
        }
    }
    const auto logFull = lanes<Width>(positive, [](D v) { return simd::log(v); });
    const auto logLoop = lanes<Width>(positive, [](D v) { return simd::logPositive(v); });
    for (std::size_t i = 0; i < positive.size(); ++i)
        ASSERT_EQ(logFull[i], logLoop[i]) << "log(" << positive[i] << ") width " << Width;

    // past the ends: 0 for results under 2^-1021, infinity above e^709, NaN stays NaN
    const double inf = std::numeric_limits<double>::infinity();
    const auto e = lanes<Width>({-707.6, -745.0, -inf, 709.1, inf, std::nan(""), -1e6, 1e6},
                                [](D v) { return simd::expNormal(v); });
    EXPECT_EQ(e[0], 0.0);
    EXPECT_EQ(e[1], 0.0);
    EXPECT_EQ(e[2], 0.0);
    EXPECT_EQ(e[3], inf);
    EXPECT_EQ(e[4], inf);
    EXPECT_TRUE(std::isnan(e[5]));
    EXPECT_EQ(e[6], 0.0);
    EXPECT_EQ(e[7], inf);
    const auto n = lanes<Width>({-707.6, -inf, std::nan("")}, [](D v) { return simd::expNonPositive(v); });
    EXPECT_EQ(n[0], 0.0);
    EXPECT_EQ(n[1], 0.0);
    EXPECT_TRUE(std::isnan(n[2]));
}

TEST(VectorMath, LoopVariantsKeepTheFullFunctionsBits)
{
    checkLoopVariants<2>();
    checkLoopVariants<4>();
    checkLoopVariants<8>();
}

TEST(VectorMath, PowAndAnyLane)
{
    using D = simd::Vector<4>::D;
    const auto p = lanes<4>({2.0, 10.0, 0.0, 123.456}, [](D v) { return simd::pow(v, 1.5); });
    EXPECT_NEAR(p[0], std::pow(2.0, 1.5), 1e-15 * p[0]);
    EXPECT_NEAR(p[1], std::pow(10.0, 1.5), 1e-14 * p[1]);
    EXPECT_EQ(p[2], 0.0);
    EXPECT_NEAR(p[3], std::pow(123.456, 1.5), 1e-14 * p[3]);
    const D v = {1.0, 2.0, 3.0, 4.0};
    EXPECT_TRUE(simd::anyLane<D>(v > 3.5));
    EXPECT_FALSE(simd::anyLane<D>(v > 4.0));
}

// Every lane position at every width: an infinity or NaN anywhere is seen, the largest
// finite values (whose sums overflow) are not.
template <int Width> void checkAnyNotFinite()
{
    using D = typename simd::Vector<Width>::D;
    const double finite[] = {0.0, -0.0, 1e308, -1e308, 5e-324, 1.0};
    const double bad[] = {HUGE_VAL, -HUGE_VAL, std::nan("")};
    double lanes[Width];
    for (int i = 0; i < Width; ++i)
        lanes[i] = finite[i % 6];
    EXPECT_FALSE(simd::anyNotFinite(simd::load<D>(lanes)));
    for (int at = 0; at < Width; ++at) {
        for (double b : bad) {
            double with[Width];
            std::copy(lanes, lanes + Width, with);
            with[at] = b;
            EXPECT_TRUE(simd::anyNotFinite(simd::load<D>(with))) << Width << " lane " << at << " " << b;
        }
    }
}

TEST(VectorMath, AnyNotFiniteSeesEveryLane)
{
    checkAnyNotFinite<2>();
    checkAnyNotFinite<4>();
    checkAnyNotFinite<8>();
}

}  // namespace
}  // namespace ovd
