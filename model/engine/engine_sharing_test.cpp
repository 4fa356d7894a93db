// The engine's shortcuts against the written-out formulas: pairs left out of a block of
// directions before any case is looked at, and plumes whose geometry several speeds share.
#include <gtest/gtest.h>

#include <cmath>

#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"
#include "model/engine/contribution_batch.h"

namespace ovd {
namespace {

bool close(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b)) || std::fabs(a - b) < 1e-300;
}

ConcentrationState runOf(const PreparedRun& run, bool reference)
{
    ConcentrationState st(run);
    const LoopOutcome out = reference ? runReferenceLoop(run, st, 0) : ConcentrationEngine(run, 2).run(st, 0);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    return st;
}

// Every value of the annual tables, point by point; returns how many points the plume reached.
int expectSameAnnual(const ConcentrationState& ref, const ConcentrationState& eng)
{
    int reached = 0;
    for (std::size_t i = 0; i < ref.annual.size(); ++i) {
        EXPECT_TRUE(close(ref.annual[i], eng.annual[i])) << i << ": " << ref.annual[i] << " vs " << eng.annual[i];
        for (std::size_t m = 0; m < 3; ++m)
            EXPECT_EQ(ref.hours[m][i], eng.hours[m][i]) << "limit " << m << " point " << i;
        reached += ref.annual[i] > 0.0;
    }
    for (std::size_t i = 0; i < ref.caseMaximum.size(); ++i)
        EXPECT_TRUE(close(ref.caseMaximum[i], eng.caseMaximum[i]))
            << i << ": " << ref.caseMaximum[i] << " vs " << eng.caseMaximum[i];
    for (std::size_t i = 0; i < ref.groupAnnual.size(); ++i)
        EXPECT_TRUE(close(ref.groupAnnual[i], eng.groupAnnual[i])) << i;
    return reached;
}

// A hot stack turns its plume by several degrees, more at low wind speeds: a Delta up to
// that far past a block's edge (and past north) still reaches the block's directions. A
// fan of Deltas around every block edge, with and without a cluster correction.
TEST(EngineSharing, PlumesTurnedIntoABlockByTheirRiseCount)
{
    std::vector<float> deltas;
    for (double d = 0.0; d < 360.0; d += 0.7)
        deltas.push_back(static_cast<float>(d));
    for (bool cluster : {false, true}) {
        SCOPED_TRACE(cluster);
        ConcentrationStudy study = fanStudy(kPointSource, deltas);
        study.sources[0].values = {5.0, 10.0, 200.0, 400.0, 3.0, 20.0, 1.0, 24.0, 0.0};
        if (cluster) {
            study.sources[0].cluster = 7;
            study.clusters.push_back({7, 4, 50.0});
        }
        ConcentrationParameters par;
        par.step = 1.0;
        par.limits = {1e-3, 0.0, 0.0};
        par.nearbySources = cluster;
        auto run = prepareConcentrationRun(study, par);
        ASSERT_TRUE(run) << run.problem().text;
        double lowestRise = 1e300;
        for (const WeatherCase& wc : run->cases)
            lowestRise = std::min(lowestRise, sourceCase(run->sources[0], wc).fullRise);
        EXPECT_GT(lowestRise, 60.0);  // a turn of more than 2 degrees in every case
        for (VectorWidth width : supportedWidths()) {
            SCOPED_TRACE(vectorWidthName(width));
            run->vectorWidth = width;
            const int reached = expectSameAnnual(runOf(*run, true), runOf(*run, false));
            EXPECT_EQ(reached, static_cast<int>(deltas.size()));
        }
    }
}

// One point's sums of one case, with two limits set.
struct CaseSums {
    explicit CaseSums(int stride)
        : concentration(static_cast<std::size_t>(stride))
        , alfaSum(concentration)
        , alfa0(concentration)
        , alfa1(concentration)
        , flag0(concentration)
        , flag1(concentration)
    { }
    std::vector<double> concentration, alfaSum, alfa0, alfa1, flag0, flag1;
    PointSums sums()
    {
        PointSums ps;
        ps.concentration = concentration.data();
        ps.alfaSum = alfaSum.data();
        ps.limits = 2;
        ps.exceedAlfa[0] = alfa0.data();
        ps.exceedAlfa[1] = alfa1.data();
        ps.exceeded[0] = flag0.data();
        ps.exceeded[1] = flag1.data();
        ps.limit[0] = 1e-3;
        ps.limit[1] = 1e-1;
        return ps;
    }
};

// One plume of a point source in class III over 48 directions: directions 1 to 40 lie inside
// its sector; 0 and 41 are computed and masked.
struct OnePlume {
    static constexpr int kDirections = 48, kStride = kDirections + kMaxLanes;
    std::vector<double> phi = std::vector<double>(kStride, std::nan("")), share = std::vector<double>(kStride, 0.0);
    SourceLanes sl;
    CosinePower cosY, cosZ;
    PairLanes p;

    OnePlume()
    {
        for (int j = 0; j < kDirections; ++j) {
            phi[static_cast<std::size_t>(j)] = j;
            share[static_cast<std::size_t>(j)] = 0.001 * (j + 1);
        }
        sl.phi = phi.data();
        sl.share = share.data();
        sl.k = stabilityConstants(3);
        cosY = cosinePower(sl.k.d, 20.0);
        cosZ = cosinePower(sl.k.f, 20.0);
        sl.cosY = &cosY;
        sl.cosZ = &cosZ;
        sl.vs = 5.0;
        sl.alfa = 0.7;
        sl.decay = 1e-4;
        p.deltaCorr = 20.3;
        p.distance = 800.0;
        p.scaleY = sl.k.c * std::pow(p.distance, sl.k.d);
        p.scaleZ = sl.k.e * std::pow(p.distance, sl.k.f);
        p.h2 = 40.0;
        p.a1 = -40.0;
        p.a2 = 40.0;
        p.a3 = -25.0;
        p.theta = 0.3;
        p.ranges = 1;
        p.from[0] = 0;
        p.to[0] = 42;
    }
    // The pair in a case of wind speed u.
    PairLanes atSpeed(double u, double numerator) const
    {
        PairLanes one = p;
        one.numerator = numerator;
        one.twoPiWind = 2.0 * kModelPi * u;
        one.perWind = 1.0 / u;
        return one;
    }
};

// Two points' sums alike, direction by direction; returns how many directions got something.
int expectSameSums(const CaseSums& a, const CaseSums& b)
{
    int reached = 0;
    for (std::size_t j = 0; j < a.concentration.size(); ++j) {
        EXPECT_NEAR(b.concentration[j], a.concentration[j], 1e-12 * a.concentration[j]) << j;
        EXPECT_NEAR(b.alfaSum[j], a.alfaSum[j], 1e-12 * a.alfaSum[j]) << j;
        EXPECT_EQ(b.flag0[j], a.flag0[j]) << j;
        EXPECT_EQ(b.flag1[j], a.flag1[j]) << j;
        EXPECT_EQ(b.alfa0[j], a.alfa0[j]) << j;
        reached += b.concentration[j] > 0.0;
    }
    return reached;
}

// The kernel for several cases of one plume against the kernel for one case, case by case,
// at every width; a case whose values are not finite stops alone and adds nothing.
TEST(EngineSharing, CasesSharingAPlumeMatchTheOneCaseKernel)
{
    const OnePlume plume;
    const double speeds[] = {1.7, 5.0, 11.0};
    for (VectorWidth width : supportedWidths()) {
        SCOPED_TRACE(vectorWidthName(width));
        for (bool infinite : {false, true}) {
            std::vector<CaseSums> alone(3, CaseSums(OnePlume::kStride)), together(3, CaseSums(OnePlume::kStride));
            std::array<CaseLanes, 3> cases;
            std::array<PairResult, 3> singles;
            for (std::size_t i = 0; i < 3; ++i) {
                const PairLanes one = plume.atSpeed(speeds[i], infinite && i == 1 ? HUGE_VAL : 2000.0);
                singles[i] = kernels(width).pair(plume.sl, one, alone[i].sums());
                cases[i].numerator = one.numerator;
                cases[i].twoPiWind = one.twoPiWind;
                cases[i].perWind = one.perWind;
                cases[i].share = plume.sl.share;
                cases[i].sums = together[i].sums();
                EXPECT_EQ(singles[i].stoppedAt, infinite && i == 1 ? 0 : -1);
                if (!(infinite && i == 1)) {
                    EXPECT_EQ(singles[i].counted, 40.0);
                }
            }
            kernels(width).cases(plume.sl, plume.p, cases.data(), 3);
            for (std::size_t i = 0; i < 3; ++i) {
                SCOPED_TRACE(i);
                const PairResult& r = cases[i].result;
                if (infinite && i == 1) {
                    EXPECT_EQ(r.stoppedAt, 0);
                    for (double v : together[i].concentration)
                        EXPECT_EQ(v, 0.0);
                    continue;
                }
                EXPECT_EQ(r.stoppedAt, -1);
                EXPECT_EQ(r.counted, 40.0);
                EXPECT_NEAR(r.groupSum, singles[i].groupSum, 1e-12 * singles[i].groupSum);
                EXPECT_EQ(expectSameSums(alone[i], together[i]), 40);
            }
        }
    }
}

// The speeds kernel of the maximum run against the pair kernel, speed by speed: the same
// case sums, and an infinite value stops every speed from its vector on.
TEST(EngineSharing, SpeedsSharingAPlumeMatchTheOneCaseKernel)
{
    const OnePlume plume;
    const double speeds[] = {1.7, 5.0, 11.0};
    DirectionRuns runs;
    runs.count = 1;
    runs.to[0] = plume.p.to[0];
    for (VectorWidth width : supportedWidths()) {
        SCOPED_TRACE(vectorWidthName(width));
        std::array<std::vector<double>, 3> sums;
        std::array<SpeedLanes, 3> lanes;
        SourceLanes sl = plume.sl;
        sl.share = nullptr;
        for (std::size_t i = 0; i < 3; ++i) {
            const PairLanes one = plume.atSpeed(speeds[i], 2000.0);
            CaseSums alone(OnePlume::kStride);
            kernels(width).pair(sl, one, alone.sums());
            sums[i].assign(OnePlume::kStride, 0.0);
            lanes[i] = {one.numerator, one.twoPiWind, one.perWind, sums[i].data()};
            const SpeedsResult res = kernels(width).speeds(sl, plume.p, runs, &lanes[i], 1);
            EXPECT_EQ(res.stoppedRun, -1);
            EXPECT_EQ(res.counted, 40.0);
            for (std::size_t j = 0; j < sums[i].size(); ++j)
                EXPECT_NEAR(sums[i][j], alone.concentration[j], 1e-12 * alone.concentration[j]) << i << " " << j;
        }
        lanes[1].numerator = HUGE_VAL;
        for (auto& v : sums)
            std::fill(v.begin(), v.end(), 0.0);
        const SpeedsResult res = kernels(width).speeds(sl, plume.p, runs, lanes.data(), 3);
        EXPECT_EQ(res.stoppedRun, 0);
        EXPECT_EQ(res.stoppedAt, 0);
        EXPECT_EQ(res.stoppedSpeed, 1);
        EXPECT_EQ(res.stoppedEnd, static_cast<int>(width));
        // the first speed's first vector, direction 0 outside the sector
        EXPECT_EQ(res.counted, static_cast<double>(static_cast<int>(width) - 1));
        for (std::size_t j = 0; j < sums[1].size(); ++j)
            EXPECT_EQ(sums[1][j], 0.0) << j;
    }
}

// A contribution added alone goes where the kernels put a vector of them: the sum, the
// Alfa-weighted sum, and the Alfa of the source that first lifts the sum over each limit
// (later sources leave it).
TEST(EngineSharing, OneContributionAddsAsTheKernelsDo)
{
    CaseSums point(4);
    const PointSums ps = point.sums();  // limits 1e-3 and 1e-1
    addContribution(ps, 2, 5e-4, 0.5);
    EXPECT_EQ(point.flag0[2], 0.0);
    addContribution(ps, 2, 6e-4, 0.25);  // over the first limit
    addContribution(ps, 2, 1e-2, 0.125);
    EXPECT_EQ(point.concentration[2], 5e-4 + 6e-4 + 1e-2);
    EXPECT_EQ(point.alfaSum[2], 0.5 * 5e-4 + 0.25 * 6e-4 + 0.125 * 1e-2);
    EXPECT_EQ(point.flag0[2], 1.0);
    EXPECT_EQ(point.alfa0[2], 0.25);
    EXPECT_EQ(point.flag1[2], 0.0);
    EXPECT_EQ(point.alfa1[2], 0.0);
    addContribution(ps, 2, 0.5, 2.0);  // over the second
    EXPECT_EQ(point.alfa0[2], 0.25);
    EXPECT_EQ(point.alfa1[2], 2.0);
    for (std::size_t j : {0u, 1u, 3u})  // the other directions untouched
        EXPECT_EQ(point.concentration[j] + point.alfaSum[j] + point.flag0[j] + point.alfa0[j], 0.0);
}

}  // namespace
}  // namespace ovd
