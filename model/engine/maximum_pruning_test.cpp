// The maximum run's pruning: the pair bound against the written-out formulas, pruned against
// unpruned runs bit for bit, and exact ties.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"
#include "model/engine/maximum_bound.h"
#include "model/engine/plume_contribution.h"

namespace ovd {
namespace {

// The further speeds of a class: all but the lowest and the rose rows.
std::vector<WeatherCase> furtherSpeeds(int cls)
{
    std::vector<WeatherCase> out;
    bool first = true;
    for (const WeatherCase& wc : maximumCases())
        if (wc.stabilityClass == cls) {
            if (!first && wc.roseRow < 0)
                out.push_back(wc);
            first = false;
        }
    return out;
}

double height(const ModelSource& src, const WeatherCase& wc, const ClusterLine* cluster, double distance)
{
    const double rise = plumeRise(src, sourceCase(src, wc), distance);
    return src.h + (cluster ? clusterRise(rise, src.cluster, *cluster) : rise);
}

// The bound of pair (source s, point r) over `speeds` (ascending), the initial spreads over
// the whole circle.
BoundPair pairBound(const ConcentrationStudy& study, std::size_t s, std::size_t r, const ModelSource& src,
                    const ClusterLine* cluster, const StabilityConstants& k, const std::vector<WeatherCase>& speeds)
{
    const ReferencePoint& pt = study.points[r];
    const std::size_t cell = study.matrices.index(s, r);
    BoundPair bp;
    bp.distance = std::hypot(src.x - pt.x, src.y - pt.y);
    bp.delta = study.matrices.delta[cell];
    bp.theta = study.matrices.theta[cell];
    bp.zmax = study.matrices.zmax[cell];
    bp.heightLow = height(src, speeds.back(), cluster, bp.distance);
    bp.heightHigh = height(src, speeds.front(), cluster, bp.distance);
    bp.pointZ = pt.z;
    bp.pointL = pt.l;
    bp.sourceZ = src.z;
    bp.q = sourceCase(src, speeds.front()).q;
    bp.vs = src.type == kPointSource ? src.vs : 0.0;
    bp.half = sectorHalfWidth(src.type);
    if (src.type != kPointSource) {
        bp.syLow = bp.szLow = 1e300;
        bp.syHigh = bp.szHigh = 0.0;
        for (int phi = 0; phi < 360; ++phi) {
            const InitialSpread sp = initialSpread(src, phi, k);
            bp.syLow = std::min(bp.syLow, sp.sy0);
            bp.syHigh = std::max(bp.syHigh, sp.sy0);
            bp.szLow = std::min(bp.szLow, sp.sz0);
            bp.szHigh = std::max(bp.szHigh, sp.sz0);
        }
    }
    return bp;
}

// Every further speed's contribution in every direction lies within the pair's bound.
TEST(MaximumPruning, BoundCoversEveryFurtherSpeedAndDirection)
{
    int pairs = 0, reached = 0;
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        StudyShape shape{.points = 25, .clusters = true, .seed = seed};
        ConcentrationStudy study = generateStudy(shape);
        if (seed == 3)  // a negative exit velocity: the plume then sinks less as the wind grows
            for (SourceRecord& r : study.sources)
                if (r.type == kPointSource)
                    r.values[5] = -r.values[5];
        PlumeOptions options;
        options.decay = decayConstant(1 + static_cast<int>(seed % 3));
        options.freeAtmosphere = seed % 2 == 0;
        for (std::size_t s = 0; s < study.sources.size(); ++s) {
            const ModelSource src = modelSource(study.sources[s]);
            const ClusterLine* cluster = src.cluster ? findCluster(study.clusters, src.cluster) : nullptr;
            for (int cls = 1; cls <= kStabilityClasses; ++cls) {
                const std::vector<WeatherCase> speeds = furtherSpeeds(cls);
                const StabilityConstants& k = stabilityConstants(cls);
                BoundSpeeds bs{k, speeds.front().speed, speeds.back().speed, options.decay, options.freeAtmosphere};
                for (std::size_t r = 0; r < study.points.size(); ++r) {
                    const ReferencePoint& pt = study.points[r];
                    if (pt.x == src.x && pt.y == src.y)
                        continue;
                    const BoundPair bp = pairBound(study, s, r, src, cluster, k, speeds);
                    PairBound pb(bp);
                    ASSERT_TRUE(pb.usable() && pb.complete(bp, bs)) << "source " << s << " point " << r;
                    ++pairs;
                    for (int phi = 0; phi < 360; ++phi) {
                        const InitialSpread spread0 =
                            src.type == kPointSource ? InitialSpread{} : initialSpread(src, phi, k);
                        const double b = pb.at(phi);
                        for (const WeatherCase& wc : speeds) {
                            const double c =
                                plumeContribution(src, sourceCase(src, wc), spread0, cluster, wc, phi, pt,
                                                  PairCoefficients{bp.theta, bp.delta, bp.zmax}, {}, options);
                            ASSERT_LE(c, b) << "source " << s << " point " << r << " class " << cls << " speed "
                                            << wc.speed << " direction " << phi;
                            reached += c > 0.0 && c > b * 0.5;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(pairs, 300);
    EXPECT_GT(reached, 100) << "the bound should come close to the values somewhere";
}

ConcentrationState runMaximum(const PreparedRun& run, bool prune, std::int64_t* contributions = nullptr)
{
    ConcentrationState st(run);
    EngineOptions options;
    options.pruneMaximum = prune;
    ConcentrationEngine engine(run, 2, options);
    const LoopOutcome out = engine.run(st, 0);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    if (contributions)
        *contributions = engine.contributions();
    return st;
}

template <class T> void expectSameBits(const std::vector<T>& a, const std::vector<T>& b, const char* what)
{
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(0, std::memcmp(&a[i], &b[i], sizeof(T))) << what << " at " << i << ": " << a[i] << " vs " << b[i];
}

void expectSameState(const ConcentrationState& a, const ConcentrationState& b)
{
    expectSameBits(a.maxConcentration, b.maxConcentration, "maximum");
    expectSameBits(a.maxClass, b.maxClass, "class");
    expectSameBits(a.maxSpeed, b.maxSpeed, "speed");
    expectSameBits(a.maxDirection, b.maxDirection, "direction");
    expectSameBits(a.annual, b.annual, "annual");
    for (std::size_t m = 0; m < 3; ++m) {
        expectSameBits(a.hours[m], b.hours[m], "hours");
        expectSameBits(a.exceedAlfa[m], b.exceedAlfa[m], "exceedance Alfa");
        expectSameBits(a.exceedFlag[m], b.exceedFlag[m], "exceedance flag");
    }
    expectSameBits(a.caseConcentration, b.caseConcentration, "last case");
    expectSameBits(a.caseSum, b.caseSum, "last case sum");
}

// Random studies, gas: the pruned run skips work and gives the same bits as the unpruned one.
TEST(MaximumPruning, PrunedRunGivesTheSameBits)
{
    for (std::uint32_t seed = 51; seed <= 54; ++seed) {
        SCOPED_TRACE(seed);
        StudyShape shape{.points = 70,
                         .pointSources = 4,
                         .areaSources = 2,
                         .lineSources = 2,
                         .clusters = seed % 2 == 1,
                         .seed = seed};
        const ConcentrationStudy study = generateStudy(shape);
        ConcentrationParameters par;
        par.mode = ConcentrationMode::Maximum;
        par.step = seed % 2 ? 5.0 : 9.0;
        par.substanceClass = 1 + static_cast<int>(seed % 3);
        par.limits = {1.0, 20.0, 0.0};
        par.nearbySources = shape.clusters;
        par.freeAtmosphere = seed == 52;
        auto run = prepareConcentrationRun(study, par);
        ASSERT_TRUE(run);
        std::int64_t pruned = 0, full = 0;
        const ConcentrationState a = runMaximum(*run, true, &pruned);
        const ConcentrationState b = runMaximum(*run, false, &full);
        expectSameState(a, b);
        EXPECT_LT(pruned * 2, full) << "the bound should skip most further speeds";
    }
}

// A shortened case list that ends on a further speed still leaves that case's sums of the
// last direction in the state (the checkpoint writes them).
TEST(MaximumPruning, TheLastCaseIsComputedInFullWhateverItsSpeed)
{
    StudyShape shape{.points = 40, .seed = 61};
    const ConcentrationStudy study = generateStudy(shape);
    ConcentrationParameters par;
    par.mode = ConcentrationMode::Maximum;
    par.step = 15.0;
    par.limits = {1.0, 0.0, 0.0};
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    run->cases.resize(10);  // class I, then class II's 1.5, 1.6, 1.7 (a rose row) and 1.8
    ASSERT_LT(run->cases.back().roseRow, 0);
    ConcentrationState reference(*run);
    ASSERT_TRUE(runReferenceLoop(*run, reference, 0).completed);
    const ConcentrationState st = runMaximum(*run, true);
    int nonZero = 0;
    for (std::size_t r = 0; r < st.caseConcentration.size(); ++r) {
        EXPECT_NEAR(st.caseConcentration[r], reference.caseConcentration[r], 1e-9 * reference.caseConcentration[r]);
        EXPECT_NEAR(st.caseSum[r], reference.caseSum[r], 1e-9 * std::fabs(reference.caseSum[r]));
        EXPECT_EQ(st.exceedFlag[0][r], reference.exceedFlag[0][r]);
        nonZero += reference.caseConcentration[r] > 0.0;
    }
    EXPECT_GT(nonZero, 0);
}

// One point source without rise at H = 10 m: the corrected Delta is the matrix's Delta, so a
// Delta half way between two directions gives both exactly the same value.
TEST(MaximumPruning, ExactTiesKeepTheEarlierDirection)
{
    ConcentrationStudy study;
    SourceRecord src;
    src.number = 1;
    src.type = kPointSource;
    src.values = {2.0, 10.0, 1.0, 20.0, 1.0, 0.0, 1.0, 24.0, 0.0};  // ts 20, w0 0: no rise
    study.sources.push_back(src);
    const float deltas[] = {45.5f, 10.5f, 90.5f, 200.0f};
    for (int i = 0; i < 4; ++i) {
        ReferencePoint p;
        p.number = i + 1;
        p.x = 300.0 * (i + 1);
        p.y = 100.0;
        study.points.push_back(p);
        study.matrices.delta.push_back(deltas[i]);
        study.matrices.theta.push_back(0.0f);
        study.matrices.zmax.push_back(0.0f);
    }
    study.matrices.rows = 1;
    study.matrices.columns = 4;
    for (int row = 0; row < kRoseRows; ++row)
        study.windRose.push_back({1, 2, 3, 4, 5, 6, 7, 8, 0.5});
    ConcentrationParameters par;
    par.mode = ConcentrationMode::Maximum;
    par.step = 1.0;
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    ConcentrationState reference(*run);
    ASSERT_TRUE(runReferenceLoop(*run, reference, 0).completed);
    const double expected[] = {45.0, 10.0, 90.0, 200.0};
    for (bool prune : {true, false}) {
        const ConcentrationState st = runMaximum(*run, prune);
        for (std::size_t r = 0; r < 4; ++r) {
            EXPECT_EQ(reference.maxDirection[r], expected[r]) << r;
            EXPECT_EQ(st.maxDirection[r], expected[r]) << r << (prune ? " pruned" : " unpruned");
            EXPECT_EQ(st.maxClass[r], reference.maxClass[r]);
            EXPECT_EQ(st.maxSpeed[r], reference.maxSpeed[r]);
        }
    }
}

}  // namespace
}  // namespace ovd
