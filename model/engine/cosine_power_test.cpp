// The series of (cos a)^p against the C library over whole sectors, for every exponent of
// the spreads.
#include <gtest/gtest.h>

#include <cmath>

#include "model/engine/cosine_power_lanes.h"
#include "model/dispersion_constants.h"

namespace ovd {
namespace {

TEST(CosinePower, MatchesThePowerOfTheCosineOverTheSector)
{
    for (int cls = 1; cls <= kStabilityClasses; ++cls) {
        const StabilityConstants& k = stabilityConstants(cls);
        for (double p : {k.d, k.f}) {
            for (double half : {20.0, 40.0}) {
                SCOPED_TRACE(::testing::Message() << "class " << cls << " p " << p << " half " << half);
                const CosinePower cp = cosinePower(p, half);
                EXPECT_LT(cp.degree, kCosinePowerTerms - 1);  // the series was cut, not run out
                const double edge = half * kModelPi / 180.0;
                double worst = 0.0;
                for (int i = 0; i <= 2000; ++i) {
                    // up to the edge and a hair past it, where lanes at the sector's border fall
                    const double a = edge * (1.0 + 1e-9) * i / 2000.0;
                    const long double exact =
                        std::pow(std::cos(static_cast<long double>(a)), static_cast<long double>(p));
                    const double got = cosinePowerAt(cp, a * a);
                    using V = simd::Vector<2>::D;
                    const V z = simd::broadcast<V>(a * a);
                    const double lanes = cosinePowerLanes<kCosinePowerTerms - 1>(cp, z, z * z)[0];
                    // evaluated to the degree the kernels use: the same bits
                    const V narrow =
                        cp.degree <= 11 ? cosinePowerLanes<11>(cp, z, z * z) : cosinePowerLanes<21>(cp, z, z * z);
                    ASSERT_EQ(narrow[0], lanes);
                    worst = std::max(worst, static_cast<double>(std::fabs((got - exact) / exact)));
                    worst = std::max(worst, static_cast<double>(std::fabs((lanes - exact) / exact)));
                }
                EXPECT_LT(worst, 4e-16);
            }
        }
    }
}

// Exponents outside the spreads' own: the recurrence holds for any power.
TEST(CosinePower, IntegerPowersGiveTheProductOfCosines)
{
    const CosinePower one = cosinePower(1.0, 30.0), two = cosinePower(2.0, 30.0);
    for (double a : {0.0, 0.1, 0.3, 0.5}) {
        EXPECT_NEAR(cosinePowerAt(one, a * a), std::cos(a), 3e-16);
        EXPECT_NEAR(cosinePowerAt(two, a * a), std::cos(a) * std::cos(a), 3e-16);
    }
}

}  // namespace
}  // namespace ovd
