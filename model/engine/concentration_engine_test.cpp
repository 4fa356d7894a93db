// The engine against the plain reference loop on random small studies, and the engine
// against itself with different thread counts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"

namespace ovd {
namespace {

constexpr double kTolerance = 1e-9;

bool close(double a, double b)
{
    return std::fabs(a - b) <= kTolerance * std::max(std::fabs(a), std::fabs(b)) || std::fabs(a - b) < 1e-300;
}

ConcentrationState runReference(const PreparedRun& run)
{
    ConcentrationState st(run);
    LoopOutcome out = runReferenceLoop(run, st, 0);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    return st;
}

ConcentrationState runEngine(const PreparedRun& run, unsigned threads, int tilePoints = kDefaultTilePoints)
{
    ConcentrationState st(run);
    LoopOutcome out = ConcentrationEngine(run, threads, tilePoints).run(st, 0);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    return st;
}

// Hours at one point and limit when the limit moves by the tolerance: differing results
// mean the reference's own case values lie within the tolerance of that limit.
bool limitIsBorderline(const ConcentrationStudy& study, ConcentrationParameters par, int m, int point)
{
    double hours[2];
    for (int side = 0; side < 2; ++side) {
        ConcentrationParameters p = par;
        p.limits[static_cast<std::size_t>(m)] *= side == 0 ? 1.0 - kTolerance : 1.0 + kTolerance;
        auto run = prepareConcentrationRun(study, p);
        hours[side] = runReference(*run).hours[static_cast<std::size_t>(m)][static_cast<std::size_t>(point)];
    }
    return hours[0] != hours[1];
}

// The reference's case concentration at one point for one case and direction.
double referenceCaseValue(const PreparedRun& run, int caseIndex, int direction, int point)
{
    PreparedRun one = run;
    one.cases = {run.cases[static_cast<std::size_t>(caseIndex)]};
    ConcentrationState st(one);
    runReferenceLoop(one, st, direction, [](int) { return false; });
    return st.caseConcentration[static_cast<std::size_t>(point)];
}

int caseIndexOf(const PreparedRun& run, int cls, double speed)
{
    for (std::size_t q = 0; q < run.cases.size(); ++q)
        if (run.cases[q].stabilityClass == cls && run.cases[q].speed == speed)
            return static_cast<int>(q);
    return -1;
}

void compareWithReference(const ConcentrationStudy& study, const ConcentrationParameters& par,
                          std::optional<VectorWidth> width = std::nullopt)
{
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run) << run.problem().text;
    if (width)
        run->vectorWidth = *width;
    ConcentrationState ref = runReference(*run);
    ConcentrationState eng = runEngine(*run, 2);
    int nonZero = 0, withHours = 0;
    for (int r = 0; r < ref.points; ++r) {
        const auto i = static_cast<std::size_t>(r);
        EXPECT_TRUE(close(ref.annual[i], eng.annual[i]))
            << "point " << r << ": " << ref.annual[i] << " vs " << eng.annual[i];
        nonZero += ref.annual[i] > 0;
        for (int m = 0; m < 3; ++m) {
            const auto mi = static_cast<std::size_t>(m);
            if (!close(ref.hours[mi][i], eng.hours[mi][i])) {
                EXPECT_TRUE(limitIsBorderline(study, par, m, r)) << "hours " << m << " at point " << r;
            }
            withHours += ref.hours[mi][i] > 0;
        }
        for (int g = 0; g < ref.groupSlots; ++g) {
            const auto gi = static_cast<std::size_t>(g) * ref.annual.size() + i;
            EXPECT_TRUE(close(ref.groupAnnual[gi], eng.groupAnnual[gi]));
        }
        if (run->maximum()) {
            EXPECT_TRUE(close(ref.maxConcentration[i], eng.maxConcentration[i]));
            if (ref.maxClass[i] != eng.maxClass[i] || ref.maxSpeed[i] != eng.maxSpeed[i] ||
                ref.maxDirection[i] != eng.maxDirection[i]) {
                // only a tie within the tolerance may pick another case
                int q = caseIndexOf(*run, eng.maxClass[i], eng.maxSpeed[i]);
                ASSERT_GE(q, 0);
                int dir = static_cast<int>(std::lround(eng.maxDirection[i] / par.step));
                EXPECT_TRUE(close(referenceCaseValue(*run, q, dir, r), ref.maxConcentration[i])) << "point " << r;
            }
        } else {
            for (int q = 0; q < kRoseRows; ++q) {
                const auto qi = static_cast<std::size_t>(q) * ref.annual.size() + i;
                EXPECT_TRUE(close(ref.caseMaximum[qi], eng.caseMaximum[qi]));
            }
        }
    }
    EXPECT_GT(nonZero, ref.points / 4) << "the study should reach most points";
    EXPECT_GT(withHours, 0) << "some limit should be exceeded";
}

ConcentrationParameters randomParameters(std::uint32_t seed, ConcentrationMode mode)
{
    ConcentrationParameters par;
    par.mode = mode;
    const double steps[] = {5.0, 9.0, 15.0};
    par.step = steps[seed % 3];
    par.rotation = (seed % 4 == 1) ? 20.0 : (seed % 4 == 2 ? -35.0 : 0.0);
    par.rotateLeft = seed % 2 == 0;
    par.substanceClass = 1 + static_cast<int>(seed % 3);
    par.limits = {seed % 2 ? 1.0 : 0.0, 20.0, seed % 3 ? 150.0 : 0.0};
    par.nearbySources = seed % 3 != 0;
    par.groupShares = true;
    par.freeAtmosphere = seed % 2 == 1;
    return par;
}

TEST(ConcentrationEngine, AnnualRunsMatchTheReference)
{
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        StudyShape shape{.points = 60, .clusters = true, .seed = seed};
        compareWithReference(generateStudy(shape), randomParameters(seed, ConcentrationMode::Annual));
    }
}

TEST(ConcentrationEngine, MaximumRunsMatchTheReference)
{
    for (std::uint32_t seed = 11; seed <= 13; ++seed) {
        SCOPED_TRACE(seed);
        StudyShape shape{
            .points = 30, .pointSources = 2, .areaSources = 1, .lineSources = 1, .clusters = true, .seed = seed};
        ConcentrationParameters par = randomParameters(seed, ConcentrationMode::Maximum);
        par.step = 15.0;
        compareWithReference(generateStudy(shape), par);
    }
}

// Dust: up to three fractions per source, one source without any, one diameter of 0.
TEST(ConcentrationEngine, DustRunsMatchTheReference)
{
    for (std::uint32_t seed = 31; seed <= 34; ++seed) {
        SCOPED_TRACE(seed);
        StudyShape shape{.points = 40, .clusters = true, .dustFractions = 3, .seed = seed};
        const ConcentrationMode mode = seed % 2 ? ConcentrationMode::Annual : ConcentrationMode::Maximum;
        ConcentrationParameters par = randomParameters(seed, mode);
        par.dust = true;
        if (mode == ConcentrationMode::Maximum)
            par.step = 15.0;
        compareWithReference(generateStudy(shape), par);
    }
}

void expectSameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    ASSERT_EQ(a.size(), b.size());
    if (!a.empty()) {
        EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(double)));
    }
}

TEST(ConcentrationEngine, ThreadCountDoesNotChangeABit)
{
    StudyShape shape;
    shape.points = 300;  // several blocks per thread
    shape.clusters = true;
    shape.seed = 21;
    ConcentrationStudy study = generateStudy(shape);
    shape.dustFractions = 3;
    ConcentrationStudy dustStudy = generateStudy(shape);
    for (int variant = 0; variant < 3; ++variant) {
        const ConcentrationMode mode = variant == 1 ? ConcentrationMode::Maximum : ConcentrationMode::Annual;
        ConcentrationParameters par = randomParameters(4, mode);
        par.step = 15.0;
        par.dust = variant == 2;
        auto run = prepareConcentrationRun(par.dust ? dustStudy : study, par);
        ASSERT_TRUE(run);
        ConcentrationState one = runEngine(*run, 1);
        for (unsigned threads : {2u, 3u}) {
            ConcentrationState many = runEngine(*run, threads);
            expectSameBits(one.annual, many.annual);
            for (int m = 0; m < 3; ++m)
                expectSameBits(one.hours[static_cast<std::size_t>(m)], many.hours[static_cast<std::size_t>(m)]);
            expectSameBits(one.caseMaximum, many.caseMaximum);
            expectSameBits(one.maxConcentration, many.maxConcentration);
            expectSameBits(one.maxDirection, many.maxDirection);
            expectSameBits(one.groupAnnual, many.groupAnnual);
        }
    }
}

// Each vector width this processor runs, gas and dust, against the written-out formulas.
TEST(ConcentrationEngine, EveryVectorWidthMatchesTheReference)
{
    for (VectorWidth width : supportedWidths()) {
        SCOPED_TRACE(vectorWidthName(width));
        for (std::uint32_t seed = 41; seed <= 42; ++seed) {
            StudyShape shape{.points = 50, .clusters = true, .dustFractions = seed == 42 ? 3 : 0, .seed = seed};
            ConcentrationParameters par = randomParameters(seed, ConcentrationMode::Annual);
            par.dust = seed == 42;
            compareWithReference(generateStudy(shape), par, width);
        }
    }
}

// Plumes around north: Delta just below 360 (angles past 180 that count as inside) and,
// with a high stack, corrected Deltas below 0; every width against the written-out formulas.
TEST(ConcentrationEngine, PlumesAroundNorthMatchTheReference)
{
    for (double height : {10.0, 600.0}) {
        SCOPED_TRACE(height);
        ConcentrationStudy study = fanStudy(kPointSource, {359.9f, 359.0f, 0.0f, 0.4f, 3.0f, 12.0f, 21.0f, 340.0f});
        study.sources[0].values[1] = height;
        ConcentrationParameters par;
        par.step = 1.0;
        for (VectorWidth width : supportedWidths()) {
            SCOPED_TRACE(vectorWidthName(width));
            auto run = prepareConcentrationRun(study, par);
            ASSERT_TRUE(run) << run.problem().text;
            run->vectorWidth = width;
            const ConcentrationState ref = runReference(*run);
            const ConcentrationState eng = runEngine(*run, 2);
            int reached = 0;
            for (std::size_t i = 0; i < ref.annual.size(); ++i) {
                EXPECT_TRUE(close(ref.annual[i], eng.annual[i]))
                    << i << ": " << ref.annual[i] << " vs " << eng.annual[i];
                reached += ref.annual[i] > 0.0;
            }
            for (std::size_t i = 0; i < ref.caseMaximum.size(); ++i)
                EXPECT_TRUE(close(ref.caseMaximum[i], eng.caseMaximum[i])) << i;
            EXPECT_EQ(reached, static_cast<int>(ref.annual.size()));
        }
    }
}

// The points [begin, end) of a study as a study of their own.
ConcentrationStudy pointsOf(const ConcentrationStudy& study, int begin, int end)
{
    ConcentrationStudy part = study;
    part.points.assign(study.points.begin() + begin, study.points.begin() + end);
    CoefficientMatrices& m = part.matrices;
    m.columns = end - begin;
    m.theta.clear();
    m.delta.clear();
    m.zmax.clear();
    for (int s = 0; s < study.matrices.rows; ++s) {
        const std::size_t row = study.matrices.index(static_cast<std::size_t>(s), 0);
        for (int r = begin; r < end; ++r) {
            m.theta.push_back(study.matrices.theta[row + static_cast<std::size_t>(r)]);
            m.delta.push_back(study.matrices.delta[row + static_cast<std::size_t>(r)]);
            m.zmax.push_back(study.matrices.zmax[row + static_cast<std::size_t>(r)]);
        }
    }
    return part;
}

// Every result field of points [begin, end) of `whole` against the same fields of `part`.
void expectSamePoints(const ConcentrationState& whole, const ConcentrationState& part, int begin)
{
    auto same = [&](const auto& a, const auto& b, int blocks, const char* what) {
        const std::size_t nw = static_cast<std::size_t>(whole.points), np = static_cast<std::size_t>(part.points);
        for (int k = 0; k < blocks; ++k)
            for (std::size_t r = 0; r < np; ++r)
                ASSERT_EQ(0,
                          std::memcmp(&a[static_cast<std::size_t>(k) * nw + r + static_cast<std::size_t>(begin)],
                                      &b[static_cast<std::size_t>(k) * np + r], sizeof(a[0])))
                    << what << " block " << k << " point " << r + static_cast<std::size_t>(begin);
    };
    same(whole.annual, part.annual, 1, "annual");
    for (std::size_t m = 0; m < 3; ++m)
        same(whole.hours[m], part.hours[m], 1, "hours");
    same(whole.caseMaximum, part.caseMaximum, whole.caseMaximum.empty() ? 0 : kRoseRows, "case maxima");
    same(whole.groupAnnual, part.groupAnnual, whole.groupSlots, "groups");
    const int maxBlocks = whole.maxConcentration.empty() ? 0 : 1;
    same(whole.maxConcentration, part.maxConcentration, maxBlocks, "maximum");
    same(whole.maxClass, part.maxClass, maxBlocks, "class");
    same(whole.maxSpeed, part.maxSpeed, maxBlocks, "speed");
    same(whole.maxDirection, part.maxDirection, maxBlocks, "direction");
    same(whole.caseConcentration, part.caseConcentration, 1, "last case");
    same(whole.caseSum, part.caseSum, 1, "last case sum");
}

// A point's results depend on that point alone: tile sizes, thread counts and splits of the
// points into separate runs give the same bits.
TEST(ConcentrationEngine, TilesThreadsAndSplitsDoNotChangeABit)
{
    StudyShape shape{.points = 90, .clusters = true, .seed = 23};
    const ConcentrationStudy study = generateStudy(shape);
    shape.dustFractions = 2;
    const ConcentrationStudy dustStudy = generateStudy(shape);
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        ConcentrationParameters par =
            randomParameters(5, variant == 1 ? ConcentrationMode::Maximum : ConcentrationMode::Annual);
        par.step = 9.0;
        par.dust = variant == 2;
        const ConcentrationStudy& base = par.dust ? dustStudy : study;
        auto run = prepareConcentrationRun(base, par);
        ASSERT_TRUE(run);
        const ConcentrationState whole = runEngine(*run, 1, 32);
        for (auto [threads, tile] : {std::pair{2u, 1}, std::pair{3u, 7}, std::pair{2u, 90}}) {
            SCOPED_TRACE(tile);
            expectSamePoints(whole, runEngine(*run, threads, tile), 0);
        }
        for (auto [begin, end] : {std::pair{0, 13}, std::pair{13, 61}, std::pair{61, 90}}) {
            SCOPED_TRACE(begin);
            const ConcentrationStudy part = pointsOf(base, begin, end);
            auto partRun = prepareConcentrationRun(part, par);
            ASSERT_TRUE(partRun);
            expectSamePoints(whole, runEngine(*partRun, 2, 5), begin);
        }
    }
}

}  // namespace
}  // namespace ovd
