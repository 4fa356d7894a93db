// The model's formulas at the points where a wrong reading would show.
#include <gtest/gtest.h>

#include <cmath>

#include "model/engine/concentration_preparation.h"
#include "model/dispersion_formulas.h"
#include "model/windrose_expansion.h"

namespace ovd {
namespace {

TEST(DispersionFormulas, TemperatureShareAndHeatFactorAtTheirBounds)
{
    EXPECT_EQ(0.0, temperatureShare(30.0));
    EXPECT_DOUBLE_EQ(0.5, temperatureShare(55.0));
    EXPECT_EQ(1.0, temperatureShare(80.0));
    EXPECT_EQ(1.004, heatCapacityFactor(80.0));
    EXPECT_EQ(1.371, heatCapacityFactor(80.1));
    EXPECT_DOUBLE_EQ(100.0 * 10.0 * 1.371 * 0.001, heatOutput(100.0, 10.0));
}

TEST(DispersionFormulas, WindSpeedGrowsWithHeightUpTo200Metres)
{
    EXPECT_EQ(5.0, windAtHeight(5.0, 10.0, 0.25));
    EXPECT_DOUBLE_EQ(5.0 * std::pow(5.0, 0.25), windAtHeight(5.0, 50.0, 0.25));
    EXPECT_DOUBLE_EQ(5.0 * std::pow(20.0, 0.25), windAtHeight(5.0, 200.0, 0.25));
    EXPECT_DOUBLE_EQ(5.0 * std::pow(20.0, 0.25), windAtHeight(5.0, 900.0, 0.25));
}

SourceRecord pointStack()
{
    SourceRecord r;
    r.type = kPointSource;
    r.values = {10.0, 50.0, 20.0, 150.0, 2.0, 10.0, 1.0, 24.0, 0.0};
    return r;
}

TEST(DispersionFormulas, PointSourceRiseGrowsToTheFullRise)
{
    ModelSource s = modelSource(pointStack());
    WeatherCase wc{4, 5.0, 7};
    SourceCase c = sourceCase(s, wc);
    const StabilityConstants& k = stabilityConstants(4);
    double qh = heatOutput(150.0, 20.0);  // 4.113: below 20, so P = 90, beta = 0.333333333
    double uh = windAtHeight(5.0, 50.0, k.eps);
    EXPECT_DOUBLE_EQ(90.0 * std::pow(qh, 0.333333333) * k.a / uh, c.fullRise);  // FT = 1: no momentum term
    EXPECT_DOUBLE_EQ(300.0 * std::sqrt(qh), c.x0);
    EXPECT_DOUBLE_EQ(c.fullRise * std::pow(0.5, 0.66666), plumeRise(s, c, c.x0 / 2));
    EXPECT_EQ(c.fullRise, plumeRise(s, c, c.x0 * 2));
    EXPECT_EQ(10.0 * 1000000.0, c.q);
}

TEST(DispersionFormulas, ColdFlueGasHasNoBuoyancyAndStaysFinite)
{
    SourceRecord r = pointStack();
    r.values[3] = -5.0;  // ts below 0: QH < 0
    ModelSource s = modelSource(r);
    SourceCase c = sourceCase(s, {3, 1.7, 3});
    EXPECT_EQ(0.0, c.x0);
    EXPECT_DOUBLE_EQ(1.5 * 10.0 * 2.0 / windAtHeight(1.7, 50.0, stabilityConstants(3).eps), c.fullRise);
    EXPECT_TRUE(std::isfinite(plumeRise(s, c, 10.0)));
}

TEST(DispersionFormulas, AreaSourceWithoutOutletRisesByItsFourthValue)
{
    SourceRecord r;
    r.type = kAreaSource;
    r.values = {1.0, 5.0, 3.0, 15.0, 0.0, 0.0, 0.5, 8.0, 40.0};
    ModelSource s = modelSource(r);
    EXPECT_EQ(0.0, s.vs);
    for (double dist : {1.0, 50.0, 5000.0})
        EXPECT_EQ(15.0, plumeRise(s, sourceCase(s, {1, 1.7, 0}), dist));
}

TEST(DispersionFormulas, LineSourceSitsAtItsMidpointOneMetreHighWithoutRise)
{
    SourceRecord r;
    r.type = kLineSource;
    r.x = 999;
    r.values = {0.002, 100.0, 200.0, 400.0, 600.0, 12.0, 3.0, 0.75, 16.0};
    ModelSource s = modelSource(r);
    EXPECT_EQ(250.0, s.x);
    EXPECT_EQ(400.0, s.y);
    EXPECT_EQ(1.0, s.h);
    EXPECT_EQ(0.75, s.alfa);
    EXPECT_EQ(500.0, s.length);
    for (int cls = 1; cls <= 5; ++cls) {
        SourceCase c = sourceCase(s, {cls, 5.0, -1});
        EXPECT_EQ(0.0, plumeRise(s, c, 10.0));
        EXPECT_EQ(0.0, plumeRise(s, c, 10000.0));
        EXPECT_DOUBLE_EQ(0.002 * 500.0 * 1000000.0, c.q);
    }
}

TEST(DispersionFormulas, SegmentAzimuthAndWindAngle)
{
    EXPECT_EQ(0.0, segmentAzimuth(0, 5));
    EXPECT_EQ(180.0, segmentAzimuth(0, -5));
    EXPECT_EQ(90.0, segmentAzimuth(5, 0));
    EXPECT_EQ(270.0, segmentAzimuth(-5, 0));
    EXPECT_EQ(0.0, segmentAzimuth(0, 0));
    EXPECT_NEAR(45.0, segmentAzimuth(1, 1), 1e-9);
    EXPECT_NEAR(135.0, segmentAzimuth(1, -1), 1e-9);
    EXPECT_NEAR(225.0, segmentAzimuth(-1, -1), 1e-9);
    EXPECT_NEAR(315.0, segmentAzimuth(-1, 1), 1e-9);
    EXPECT_EQ(30.0, windSegmentAngle(40.0, 10.0));
    EXPECT_EQ(80.0, windSegmentAngle(110.0, 10.0));           // 100 -> 180 - 100
    EXPECT_EQ(20.0, windSegmentAngle(210.0, 10.0));           // 200 -> 200 - 180
    EXPECT_EQ(60.0, windSegmentAngle(310.0, 10.0));           // 300 -> 360 - 300
    EXPECT_EQ(12.345678, windSegmentAngle(12.3456789, 0.0));  // cut, not rounded
}

TEST(DispersionFormulas, LineSpreadAlongAndAcrossTheWind)
{
    SourceRecord r;
    r.type = kLineSource;
    r.values = {0.001, 0.0, 0.0, 0.0, 300.0, 10.0, 2.0, 1.0, 0.0};  // a segment pointing north
    ModelSource s = modelSource(r);
    const StabilityConstants& k = stabilityConstants(3);
    InitialSpread along = initialSpread(s, 180.0, k);  // gamma 0: Le = L, Wp = X0el
    EXPECT_DOUBLE_EQ(10.0 / std::sqrt(2 * kModelPi), along.sy0);
    EXPECT_DOUBLE_EQ(k.e * std::pow(150.0, k.f) + 2.0 / std::sqrt(kModelPi / 2), along.sz0);
    InitialSpread across = initialSpread(s, 90.0, k);  // gamma 90: Le = X0el
    EXPECT_DOUBLE_EQ(k.e * std::pow(5.0, k.f) + 2.0 / std::sqrt(kModelPi / 2), across.sz0);
    InitialSpread oblique = initialSpread(s, 30.0, k);  // the shorter of X0el/sin and L/cos
    double g = 30.0 * kModelPi / 180.0;
    EXPECT_DOUBLE_EQ(k.e * std::pow(std::min(10.0 / std::sin(g), 300.0 / std::cos(g)) / 2, k.f) +
                         2.0 / std::sqrt(kModelPi / 2),
                     oblique.sz0);
}

TEST(DispersionFormulas, ClusterDistanceAndZeroRise)
{
    ClusterLine small{5, 3, 50.0}, big{1005, 3, 50.0};
    auto expected = [](double rise, double x, double n) {
        double e = 6.0 * std::pow(x / rise, 1.5) / std::sqrt(n);
        return rise * std::pow((n + e) / (1.0 + e), 0.33333);
    };
    EXPECT_DOUBLE_EQ(expected(20.0, 50.0, 3), clusterRise(20.0, 5, small));
    EXPECT_DOUBLE_EQ(expected(20.0, 100.0, 3), clusterRise(20.0, 1005, big));  // (n - 1) * v from 1000 on
    EXPECT_EQ(0.0, clusterRise(0.0, 1005, big));                               // a source without rise keeps none
    std::vector<ClusterLine> lines{{4, 2, 1.0}, {1005, 3, 50.0}, {1005, 7, 9.0}};
    EXPECT_EQ(&lines[1], findCluster(lines, 1005));
    EXPECT_EQ(nullptr, findCluster(lines, 6));
}

TEST(DispersionFormulas, AltitudeCorrectionByClass)
{
    EXPECT_EQ(1.0, altitudeCorrection(1, 1.7, 300.0, 300.0));  // not above the axis
    EXPECT_EQ(1.0, altitudeCorrection(4, 5.0, 500.0, 300.0));  // IV: 1 - (0 - 0)
    EXPECT_DOUBLE_EQ(1.0 - (0.445 * 2.247 - 0.401 * 2.247), altitudeCorrection(1, 1.7, 500.0, 300.0));
    EXPECT_DOUBLE_EQ(1.0 - (0.444 * 1.17 - 0.36 * 1.17), altitudeCorrection(3, 2.5, 550.0, 400.0));
    double f = (1.0 - (5.0 - 2.5) * 0.2) * 1.17;
    EXPECT_DOUBLE_EQ(1.0 - (0.444 * f - 0.36 * f), altitudeCorrection(3, 5.0, 550.0, 400.0));
    EXPECT_EQ(1.0, altitudeCorrection(3, 7.5, 550.0, 400.0));
    EXPECT_DOUBLE_EQ(0.438, altitudeAttenuation(425.0));
    EXPECT_EQ(0.445, altitudeAttenuation(-10.0));
    EXPECT_EQ(0.0, altitudeAttenuation(1700.0));
}

TEST(DispersionFormulas, VerticalTermsNormalAndFreeAtmosphere)
{
    VerticalTerms below = verticalTerms(20.0, 2.0, 50.0, false);
    EXPECT_EQ(22.0, below.z1);
    EXPECT_EQ(22.0, below.z2);
    EXPECT_EQ(18.0, below.z3);
    VerticalTerms above = verticalTerms(60.0, 2.0, 50.0, false);
    EXPECT_EQ(50.0, above.z1);
    EXPECT_EQ(50.0, above.z2);
    EXPECT_EQ(70.0, above.z3);
    VerticalTerms free = verticalTerms(60.0, 2.0, 50.0, true);
    EXPECT_EQ(52.0, free.z1);
    EXPECT_EQ(52.0, free.z2);
    EXPECT_EQ(68.0, free.z3);
    // the free atmosphere compares dz alone with h2, the normal one dz + Lr
    EXPECT_EQ(51.0, verticalTerms(49.0, 2.0, 50.0, true).z1);
    EXPECT_EQ(50.0, verticalTerms(49.0, 2.0, 50.0, false).z1);
}

TEST(DispersionFormulas, MaximumCasesAndTheirRoseRows)
{
    std::vector<WeatherCase> cases = maximumCases();
    ASSERT_EQ(162u, cases.size());
    int perClass[6] = {};
    int withRow = 0;
    for (const WeatherCase& c : cases) {
        ++perClass[c.stabilityClass];
        if (c.roseRow >= 0) {
            ++withRow;
            EXPECT_TRUE(c.speed == 1.7 || c.speed == 5.0 || c.speed == 11.0) << c.speed;
        }
    }
    EXPECT_EQ(6, perClass[1]);
    EXPECT_EQ(26, perClass[2]);
    EXPECT_EQ(52, perClass[3]);
    EXPECT_EQ(52, perClass[4]);
    EXPECT_EQ(26, perClass[5]);
    EXPECT_EQ(11, withRow);  // every rose row exactly once
    EXPECT_EQ(15.0, cases[6 + 26 + 51].speed);
    EXPECT_EQ(7.5, cases[6 + 26 + 36].speed);
}

}  // namespace
}  // namespace ovd
