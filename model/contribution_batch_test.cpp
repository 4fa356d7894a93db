// The batch kernel at every width the processor runs, against the contribution written out
// formula by formula.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/contribution_batch.h"
#include "model/plume_contribution.h"

namespace ovd {
namespace {

struct Pairs {
    std::vector<ReferencePoint> points;
    std::vector<PairCoefficients> coefficients;
    std::vector<float> delta, theta, zmax;
    std::vector<double> distance, distancePow, pointZ, pointL;
    std::vector<std::int32_t> index;

    PairColumns columns() const
    {
        return {delta.data(),       theta.data(), zmax.data(),   distance.data(),
                distancePow.data(), index.data(), pointZ.data(), pointL.data()};
    }
};

// Points around a source at (1000, 1000, z 300), with Delta near the direction so that most
// fall inside the sector and some outside; some close enough for a growing rise, some with
// terrain above the plume.
Pairs makePairs(std::mt19937_64& rng, double direction, int count)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Pairs p;
    for (int i = 0; i < count; ++i) {
        ReferencePoint pt;
        pt.number = i + 1;
        const double dist = unit(rng) < 0.2 ? 1.0 + 150.0 * unit(rng) : 100.0 + 6000.0 * unit(rng);
        const double a = unit(rng) * 6.283;
        pt.x = 1000.0 + dist * std::cos(a);
        pt.y = 1000.0 + dist * std::sin(a);
        pt.z = 250.0 + 200.0 * unit(rng);
        pt.l = unit(rng) < 0.5 ? 0.0 : 30.0 * unit(rng);
        PairCoefficients m;
        m.delta = static_cast<float>(std::fmod(direction + 100.0 * (unit(rng) - 0.5) + 360.0, 360.0));
        m.theta = static_cast<float>(unit(rng) < 0.3 ? 0.0 : unit(rng) < 0.5 ? 1.0 : unit(rng));
        m.zmax = static_cast<float>(unit(rng) < 0.5 ? 0.0 : 150.0 * unit(rng));
        const double d = std::sqrt((pt.x - 1000.0) * (pt.x - 1000.0) + (pt.y - 1000.0) * (pt.y - 1000.0));
        p.points.push_back(pt);
        p.coefficients.push_back(m);
        p.delta.push_back(static_cast<float>(m.delta));
        p.theta.push_back(static_cast<float>(m.theta));
        p.zmax.push_back(static_cast<float>(m.zmax));
        p.distance.push_back(d);
        p.distancePow.push_back(std::pow(d, 0.66666));
        p.pointZ.push_back(pt.z);
        p.pointL.push_back(pt.l);
        p.index.push_back(i);
    }
    for (std::size_t i = 0; i < kPairPadding; ++i) {
        p.delta.push_back(0.0f);
        p.theta.push_back(0.0f);
        p.zmax.push_back(0.0f);
        p.distance.push_back(1.0);
        p.distancePow.push_back(1.0);
        p.index.push_back(0);
    }
    return p;
}

std::vector<ModelSource> sources()
{
    ModelSource stack;
    stack.type = kPointSource;
    stack.x = stack.y = 1000.0;
    stack.z = 300.0;
    stack.emission = 2.0;
    stack.h = 60.0;
    stack.vs = 40.0;
    stack.ts = 140.0;
    stack.d = 2.5;
    stack.w0 = 8.0;
    ModelSource warm = stack;   // buoyant, but below the 20 MW line
    warm.vs = 3.0;
    warm.ts = 60.0;
    warm.h = 8.0;
    ModelSource area = stack;
    area.type = kAreaSource;
    area.vs = 0.0;
    area.h = 12.0;
    area.y0 = 80.0;
    ModelSource given = area;   // the fourth value is the rise itself
    given.d = given.w0 = 0.0;
    given.ts = 15.0;
    given.givenRise = true;
    ModelSource road;
    road.type = kLineSource;
    road.x = road.y = 1000.0;
    road.z = 300.0;
    road.emission = 0.001;
    road.h = 1.0;
    road.length = 400.0;
    road.azimuth = 35.0;
    road.width = 12.0;
    road.emissionHeight = 0.5;
    return {stack, warm, area, given, road};
}

double expected(const ModelSource& src, const SourceCase& sc, const InitialSpread& sp, const ClusterLine* cluster,
                const WeatherCase& wc, double direction, const Pairs& p, std::size_t i,
                std::span<const SettlingFraction> fractions, double decay, bool free)
{
    PlumeOptions opt;
    opt.decay = decay;
    opt.freeAtmosphere = free;
    opt.dust = !fractions.empty();
    return plumeContribution(src, sc, sp, cluster, wc, direction, p.points[i], p.coefficients[i], fractions, opt);
}

// The batch's value with the altitude factor applied as the engine does.
double fromBatch(const ContributionBatch& batch, std::size_t i, const BatchConstants& bc, const WeatherCase& wc,
                 const Pairs& p, std::size_t pair)
{
    if (!(batch.along(i) > 0.0))
        return 0.0;
    const double axis = bc.sourceZ + batch.height(i);
    double c = batch.value(i);
    if (p.pointZ[pair] > axis)
        c *= altitudeCorrection(wc.stabilityClass, wc.speed, p.pointZ[pair], axis);
    return c;
}

TEST(ContributionBatch, EveryWidthMatchesTheWrittenOutFormulas)
{
    std::mt19937_64 rng(3);
    const ClusterLine clusterLine{1005, 4, 60.0};
    const std::vector<SettlingFraction> dust = {{0.0, 0.2}, {0.004, 0.5}, {0.07, 0.3}};
    const auto widths = ContributionBatch::widths();
    ASSERT_EQ(widths.back(), 2);
    int compared = 0, nonZero = 0;
    for (const ModelSource& base : sources())
        for (bool clustered : {false, true})
            for (int cls = 1; cls <= 5; ++cls)
                for (double speed : {1.7, 11.0})
                    for (int variant = 0; variant < 2; ++variant) {
                        ModelSource src = base;
                        src.cluster = clustered ? clusterLine.number : 0;
                        const ClusterLine* cluster = clustered ? &clusterLine : nullptr;
                        const WeatherCase wc{cls, speed, -1};
                        const double direction = variant ? 7.0 : 215.0;
                        const bool free = variant == 1;
                        std::span<const SettlingFraction> fractions;
                        if (variant == 1 && cls % 2 == 0)
                            fractions = dust;
                        const double decay = fractions.empty() ? 2e-5 : 0.0;
                        const SourceCase sc = sourceCase(src, wc);
                        const InitialSpread sp = initialSpread(src, direction, stabilityConstants(cls));
                        BatchConstants bc = batchConstants(src, sc, cluster, wc, decay, free, fractions);
                        setDirection(bc, direction, sp);
                        const Pairs p = makePairs(rng, direction, 61);
                        for (int width : widths) {
                            ContributionBatch batch;
                            batch.reserve(p.points.size());
                            batch.evaluateWidth(width, bc, p.columns(), 0, p.points.size());
                            for (std::size_t i = 0; i < p.points.size(); ++i) {
                                const double want = expected(src, sc, sp, cluster, wc, direction, p, i, fractions, decay, free);
                                const double got = fromBatch(batch, i, bc, wc, p, i);
                                ASSERT_LE(std::fabs(got - want), 1e-12 * std::fabs(want) + 1e-300)
                                    << "width " << width << " kind " << src.type << " class " << cls << " pair " << i
                                    << " cluster " << clustered << " dust " << !fractions.empty();
                                ++compared;
                                nonZero += want > 0.0;
                            }
                        }
                    }
    // the cases must reach inside and outside the sectors
    EXPECT_GT(nonZero, compared / 3);
    EXPECT_LT(nonZero, compared);
}

// A pair's value must not depend on which pairs share its vector, or the number of threads
// (which changes where runs of pairs begin) would change the results.
TEST(ContributionBatch, APairsValueDoesNotDependOnItsNeighbours)
{
    std::mt19937_64 rng(5);
    const ModelSource src = sources()[0];
    const WeatherCase wc{4, 5.0, -1};
    const SourceCase sc = sourceCase(src, wc);
    BatchConstants bc = batchConstants(src, sc, nullptr, wc, 0.0, false, {});
    setDirection(bc, 100.0, initialSpread(src, 100.0, stabilityConstants(4)));
    const Pairs p = makePairs(rng, 100.0, 40);
    ContributionBatch whole;
    whole.reserve(40);
    whole.evaluate(bc, p.columns(), 0, 40);
    for (std::size_t from = 1; from < 12; ++from) {
        ContributionBatch part;
        part.reserve(40);
        part.evaluate(bc, p.columns(), from, 40 - from - 3);
        for (std::size_t i = 0; i + from + 3 < 40; ++i) {
            ASSERT_EQ(part.along(i), whole.along(from + i));
            ASSERT_EQ(part.value(i), whole.value(from + i)) << from << " " << i;
        }
    }
}

}  // namespace
}  // namespace ovd
