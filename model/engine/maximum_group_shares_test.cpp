// The source groups' shares of the maximum against the reference loop run for each group
// alone at each point's maximum weather; a group alone, thread counts and tile sizes, an
// interrupted pass, and the maximum itself unchanged by the option.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "model/concentration_study_generator.h"
#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/engine/maximum_group_shares.h"

namespace ovd {
namespace {

ConcentrationParameters maximumParameters()
{
    ConcentrationParameters par;
    par.mode = ConcentrationMode::Maximum;
    par.step = 15.0;
    par.nearbySources = true;
    par.groupShares = true;
    return par;
}

ConcentrationState engineMaximum(const PreparedRun& run, unsigned threads = 2, int tilePoints = kDefaultTilePoints)
{
    ConcentrationState st(run);
    const LoopOutcome out = ConcentrationEngine(run, threads, tilePoints).run(st, 0);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    return st;
}

MaximumGroupShares sharesOf(const PreparedRun& run, const ConcentrationState& st, unsigned threads = 2)
{
    MaximumGroupShares shares;
    const LoopOutcome out = maximumGroupShares(run, st, threads, shares);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    return shares;
}

// The study with only the sources of group g, their rows of the matrices with them.
ConcentrationStudy groupAlone(const ConcentrationStudy& study, int g)
{
    ConcentrationStudy out = study;
    out.sources.clear();
    std::vector<float> theta, delta, zmax;
    for (std::size_t s = 0; s < study.sources.size(); ++s) {
        if (study.sources[s].groupIndex != g)
            continue;
        out.sources.push_back(study.sources[s]);
        const std::size_t row = study.matrices.index(s, 0);
        const std::size_t n = study.points.size();
        theta.insert(theta.end(), study.matrices.theta.begin() + row, study.matrices.theta.begin() + row + n);
        delta.insert(delta.end(), study.matrices.delta.begin() + row, study.matrices.delta.begin() + row + n);
        zmax.insert(zmax.end(), study.matrices.zmax.begin() + row, study.matrices.zmax.begin() + row + n);
    }
    out.matrices.rows = static_cast<std::int32_t>(out.sources.size());
    out.matrices.theta = std::move(theta);
    out.matrices.delta = std::move(delta);
    out.matrices.zmax = std::move(zmax);
    return out;
}

// The case concentration of group g's sources at each point's maximum weather, by the
// reference loop run case by case over every direction.
std::vector<double> groupAtMaximum(const ConcentrationStudy& study, const ConcentrationParameters& par, int g,
                                   const ConcentrationState& st)
{
    const ConcentrationStudy alone = groupAlone(study, g);
    auto run = prepareConcentrationRun(alone, par);
    EXPECT_TRUE(run) << run.problem().text;
    std::vector<double> out(study.points.size(), 0.0);
    const std::vector<WeatherCase> cases = run->cases;
    for (const WeatherCase& wc : cases) {
        run->cases = {wc};
        ConcentrationState one(*run);
        runReferenceLoop(*run, one, 0, [&](int i) {
            for (std::size_t r = 0; r < out.size(); ++r)
                if (st.maxClass[r] == wc.stabilityClass && st.maxSpeed[r] == wc.speed &&
                    st.maxDirection[r] == run->direction(i))
                    out[r] = one.caseConcentration[r];
            return true;
        });
    }
    return out;
}

TEST(MaximumGroupShares, RandomStudiesMatchEachGroupAloneAtTheMaximumWeather)
{
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        StudyShape shape{.points = 30, .clusters = true, .groups = 3, .dustFractions = seed == 3 ? 2 : 0, .seed = seed};
        const ConcentrationStudy study = generateStudy(shape);
        ConcentrationParameters par = maximumParameters();
        par.dust = seed == 3;
        auto run = prepareConcentrationRun(study, par);
        ASSERT_TRUE(run) << run.problem().text;
        const ConcentrationState st = engineMaximum(*run);
        const MaximumGroupShares shares = sharesOf(*run, st);
        ASSERT_GE(shares.groupOfSlot.size(), 2u);
        int reached = 0;
        std::vector<double> total(study.points.size(), 0.0);
        for (std::size_t slot = 0; slot < shares.groupOfSlot.size(); ++slot) {
            const std::vector<double> alone = groupAtMaximum(study, par, shares.groupOfSlot[slot], st);
            for (std::size_t r = 0; r < alone.size(); ++r) {
                const double max = st.maxConcentration[r];
                const double expected = max > 0.0 ? 100.0 * alone[r] / max : 0.0;
                const double got = shares.share(static_cast<int>(slot), static_cast<int>(r));
                EXPECT_NEAR(got, expected, 1e-9 * std::max(1.0, std::fabs(expected)))
                    << "slot " << slot << " point " << r;
                total[r] += got;
                reached += got > 1.0;
            }
        }
        for (std::size_t r = 0; r < total.size(); ++r)
            EXPECT_NEAR(total[r], st.maxConcentration[r] > 0.0 ? 100.0 : 0.0, 1e-9) << r;
        EXPECT_GT(reached, 20);
    }
}

// One group makes the whole maximum: 100 % wherever the maximum is above 0, 0 where it is 0
// (the point on the first source gets nothing from it).
TEST(MaximumGroupShares, AGroupAloneMakesAHundredPercent)
{
    StudyShape shape{.points = 40, .groups = 1, .seed = 5};
    const ConcentrationStudy study = generateStudy(shape);
    auto run = prepareConcentrationRun(study, maximumParameters());
    ASSERT_TRUE(run) << run.problem().text;
    const ConcentrationState st = engineMaximum(*run);
    const MaximumGroupShares shares = sharesOf(*run, st);
    ASSERT_EQ(shares.groupOfSlot.size(), 1u);
    int full = 0;
    for (int r = 0; r < shares.points; ++r) {
        if (st.maxConcentration[static_cast<std::size_t>(r)] > 0.0) {
            EXPECT_NEAR(shares.share(0, r), 100.0, 1e-9) << r;
            ++full;
        } else {
            EXPECT_EQ(shares.share(0, r), 0.0) << r;
        }
    }
    EXPECT_GT(full, 30);
}

// Every point alone: the same bits for any thread count, tile size and split of the points
// into tiles; the maximum itself the same with and without the option.
TEST(MaximumGroupShares, SameBitsForAnyThreadsAndTiles)
{
    StudyShape shape{.points = 150, .clusters = true, .groups = 4, .seed = 9};
    const ConcentrationStudy study = generateStudy(shape);
    auto run = prepareConcentrationRun(study, maximumParameters());
    ASSERT_TRUE(run) << run.problem().text;
    const ConcentrationState st = engineMaximum(*run, 1, 7);
    const std::vector<double> first = sharesOf(*run, st, 1).percent;
    for (auto [threads, tile] : {std::pair{2u, 64}, std::pair{3u, 1}, std::pair{4u, 150}}) {
        SCOPED_TRACE(tile);
        const ConcentrationState other = engineMaximum(*run, threads, tile);
        EXPECT_EQ(sharesOf(*run, other, threads).percent, first);
    }
    ConcentrationParameters without = maximumParameters();
    without.groupShares = false;
    auto plain = prepareConcentrationRun(study, without);
    ASSERT_TRUE(plain);
    const ConcentrationState unshared = engineMaximum(*plain, 1, 7);
    EXPECT_EQ(unshared.maxConcentration, st.maxConcentration);
    EXPECT_EQ(unshared.maxClass, st.maxClass);
    EXPECT_EQ(unshared.maxSpeed, st.maxSpeed);
    EXPECT_EQ(unshared.maxDirection, st.maxDirection);
}

// An interrupted pass is not complete and reports no problem; a contribution without a
// finite value stops it naming the source and point.
TEST(MaximumGroupShares, InterruptionAndNonFiniteValues)
{
    StudyShape shape{.points = 30, .seed = 2};
    ConcentrationStudy study = generateStudy(shape);
    auto run = prepareConcentrationRun(study, maximumParameters());
    ASSERT_TRUE(run);
    const ConcentrationState st = engineMaximum(*run);
    MaximumGroupShares shares;
    LoopOutcome out = maximumGroupShares(*run, st, 2, shares, [] { return true; });
    EXPECT_FALSE(out.completed);
    EXPECT_FALSE(out.problem);
    for (ModelSource& src : run->sources)
        src.emission = HUGE_VAL;
    out = maximumGroupShares(*run, st, 2, shares);
    EXPECT_FALSE(out.completed);
    ASSERT_TRUE(out.problem);
    EXPECT_NE(out.problem->text.find("nemá konečnou hodnotu"), std::string::npos) << out.problem->text;
}

}  // namespace
}  // namespace ovd
