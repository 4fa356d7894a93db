// Whole loops on hand-made studies: sectors, a point on a source, the tie rule of the
// maximum, a restart from the last checkpoint, and what is refused before the loop.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"

namespace ovd {
namespace {

ConcentrationStudy fan(std::int16_t type, const std::vector<float>& deltas)
{
    return fanStudy(type, deltas);
}

// Case concentrations of the last case after the single direction `index`, both loops.
std::vector<double> afterOneDirection(const ConcentrationStudy& study, ConcentrationParameters par, int index,
                                      bool engine)
{
    auto run = prepareConcentrationRun(study, par);
    EXPECT_TRUE(run);
    ConcentrationState st(*run);
    auto stop = [](int) { return false; };
    // the engine computes a block of directions before it reports one: the run ends at `index`
    run->directions = index + 1;
    if (engine)
        ConcentrationEngine(*run, 2).run(st, index, stop);
    else
        runReferenceLoop(*run, st, index, stop);
    return st.caseConcentration;
}

TEST(ConcentrationRun, OnlyPointsInsideTheSectorReceiveAnything)
{
    ConcentrationParameters par;
    par.step = 1.0;
    for (bool engine : {false, true}) {
        // direction 0: point sources reach 20 degrees either way
        auto c = afterOneDirection(fan(kPointSource, {19.9f, 20.1f, 340.1f, 339.9f, 0.0f}), par, 0, engine);
        EXPECT_GT(c[0], 0.0);
        EXPECT_EQ(0.0, c[1]);
        EXPECT_GT(c[2], 0.0);
        EXPECT_EQ(0.0, c[3]);
        EXPECT_GT(c[4], c[0]);
        // direction 100: area and line sources reach 40 degrees; a line source's plume
        // stays at 1 m, which turns its Delta by (10 - 1) * 0.04 = 0.36 degrees
        for (std::int16_t type : {kAreaSource, kLineSource}) {
            const float turn = type == kLineSource ? 0.36f : 0.0f;
            auto a = afterOneDirection(fan(type, {139.9f - turn, 140.1f - turn, 60.1f - turn, 59.9f - turn}), par, 100,
                                       engine);
            EXPECT_GT(a[0], 0.0) << type;
            EXPECT_EQ(0.0, a[1]) << type;
            EXPECT_GT(a[2], 0.0) << type;
            EXPECT_EQ(0.0, a[3]) << type;
        }
    }
}

TEST(ConcentrationRun, MaximumTieKeepsTheEarlierDirection)
{
    ConcentrationParameters par;
    par.mode = ConcentrationMode::Maximum;
    par.step = 5.0;
    ConcentrationStudy study = fan(kPointSource, {12.5f});  // directions 10 and 15 are equally near
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    ConcentrationState ref(*run), eng(*run);
    runReferenceLoop(*run, ref, 0);
    runConcentrationEngine(*run, eng, 0, 2);
    EXPECT_EQ(10.0, ref.maxDirection[0]);
    EXPECT_EQ(10.0, eng.maxDirection[0]);
    EXPECT_NEAR(ref.maxConcentration[0], eng.maxConcentration[0], 1e-12 * ref.maxConcentration[0]);
    EXPECT_EQ(ref.maxClass[0], eng.maxClass[0]);
    EXPECT_EQ(ref.maxSpeed[0], eng.maxSpeed[0]);
    EXPECT_GT(ref.maxConcentration[0], 0.0);
}

// Delta 47.5 with step 5: directions 45 and 50 give the same bits, and lie in different
// blocks of the engine (up to the checkpoint at 45 and after it).
TEST(ConcentrationRun, MaximumTieAcrossACheckpointKeepsTheEarlierDirection)
{
    ConcentrationParameters par;
    par.mode = ConcentrationMode::Maximum;
    par.step = 5.0;
    ConcentrationStudy study = fan(kPointSource, {47.5f, 47.5f});
    study.points[1].y = -3000.0;  // farther: its maximum comes with other weather
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    ConcentrationState ref(*run), eng(*run);
    runReferenceLoop(*run, ref, 0);
    runConcentrationEngine(*run, eng, 0, 2);
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(45.0, ref.maxDirection[r]);
        EXPECT_EQ(45.0, eng.maxDirection[r]);
        EXPECT_EQ(ref.maxClass[r], eng.maxClass[r]);
        EXPECT_EQ(ref.maxSpeed[r], eng.maxSpeed[r]);
        EXPECT_NEAR(ref.maxConcentration[r], eng.maxConcentration[r], 1e-12 * ref.maxConcentration[r]);
    }
}

TEST(ConcentrationRun, APointOnASourceStillGetsTheOtherSources)
{
    StudyShape shape{.points = 20, .pointOnSource = true, .seed = 5};
    ConcentrationStudy full = generateStudy(shape);
    ConcentrationStudy rest = full;  // the same study without the source under point 1
    rest.sources.erase(rest.sources.begin());
    rest.matrices.rows -= 1;
    for (auto* m : {&rest.matrices.theta, &rest.matrices.delta, &rest.matrices.zmax})
        m->erase(m->begin(), m->begin() + shape.points);
    ConcentrationParameters par;
    par.step = 5.0;
    par.limits = {1.0, 10.0, 0.0};
    auto runFull = prepareConcentrationRun(full, par);
    auto runRest = prepareConcentrationRun(rest, par);
    ConcentrationState a(*runFull), b(*runRest), c(*runFull);
    runReferenceLoop(*runFull, a, 0);
    runReferenceLoop(*runRest, b, 0);
    runConcentrationEngine(*runFull, c, 0, 2);
    EXPECT_GT(a.annual[0], 0.0);
    EXPECT_EQ(b.annual[0], a.annual[0]);
    EXPECT_NEAR(b.annual[0], c.annual[0], 1e-12 * b.annual[0]);
    EXPECT_EQ(b.hours[0][0], a.hours[0][0]);
    EXPECT_NE(b.annual[1], a.annual[1]);  // other points do get the first source
}

TEST(ConcentrationRun, RestartFromTheLastCheckpointGivesTheSameResults)
{
    StudyShape shape{.points = 25, .pointSources = 2, .areaSources = 1, .lineSources = 1, .seed = 9};
    ConcentrationStudy study = generateStudy(shape);
    for (ConcentrationMode mode : {ConcentrationMode::Annual, ConcentrationMode::Maximum}) {
        ConcentrationParameters par;
        par.mode = mode;
        par.step = mode == ConcentrationMode::Annual ? 1.0 : 9.0;
        par.limits = {1.0, 0.0, 30.0};
        par.groupShares = true;
        auto run = prepareConcentrationRun(study, par);
        ASSERT_TRUE(run);
        ConcentrationState whole(*run);
        runConcentrationEngine(*run, whole, 0, 2);

        const int crashAt = mode == ConcentrationMode::Annual ? 200 : 22;  // 200 and 198 degrees
        ConcentrationState broken(*run);
        std::optional<ConcentrationState> saved;
        int savedAt = -1;
        ConcentrationEngine engine(*run, 2);
        engine.run(broken, 0, [&](int i) {
            if (run->checkpointAfter(i)) {
                saved = broken;
                savedAt = i;
            }
            return i < crashAt;
        });
        ASSERT_TRUE(saved);
        EXPECT_EQ(180.0, run->direction(savedAt));
        ConcentrationState resumed = *saved;
        runConcentrationEngine(*run, resumed, savedAt + 1, 1);
        auto same = [](const std::vector<double>& x, const std::vector<double>& y) {
            return x.size() == y.size() &&
                (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof(double)) == 0);
        };
        EXPECT_TRUE(same(whole.annual, resumed.annual));
        EXPECT_TRUE(same(whole.hours[0], resumed.hours[0]));
        EXPECT_TRUE(same(whole.hours[2], resumed.hours[2]));
        EXPECT_TRUE(same(whole.caseMaximum, resumed.caseMaximum));
        EXPECT_TRUE(same(whole.maxConcentration, resumed.maxConcentration));
        EXPECT_TRUE(same(whole.maxDirection, resumed.maxDirection));
        EXPECT_TRUE(same(whole.groupAnnual, resumed.groupAnnual));
    }
}

std::string refusal(const ConcentrationStudy& study, const ConcentrationParameters& par)
{
    auto run = prepareConcentrationRun(study, par);
    return run ? "" : run.problem().text;
}

TEST(ConcentrationRun, RefusedBeforeTheLoop)
{
    StudyShape shape{.points = 10, .clusters = true};
    ConcentrationStudy good = generateStudy(shape);
    ConcentrationParameters par;
    par.nearbySources = true;
    par.groupShares = true;
    EXPECT_EQ("", refusal(good, par));

    ConcentrationParameters p = par;
    p.step = 0.7;
    EXPECT_EQ("Krok po stupních nedělí 45 nebo je menší než 0.5!", refusal(good, p));
    p = par;
    p.speeds[1] = 0.0;
    EXPECT_EQ("Rychlost větru pro třídu rychlosti 2 musí být větší než 0!", refusal(good, p));
    p = par;
    p.limits[2] = -1.0;
    EXPECT_EQ("Koncentrace pro dobu překročení 3 nesmí být záporná!", refusal(good, p));

    ConcentrationStudy s = good;
    s.matrices.rows += 1;
    EXPECT_EQ("Chyba při kontrole počtu řádků vstupních matic, popřípadě překročení limitu zdrojů !", refusal(s, par));
    s = good;
    s.matrices.zmax.pop_back();
    EXPECT_EQ("Chyba při kontrole počtu sloupců vstupních matic, popřípadě překročení limitu referenčních bodů !",
              refusal(s, par));
    s = good;
    s.sources[1].type = 4;
    EXPECT_EQ("Typ zdroje musí nabývat hodnoty 1, 2, 3", refusal(s, par));
    s = good;
    s.sources[2].cluster = 77;
    EXPECT_EQ("Nenalezeno odpovídající číslo shluku", refusal(s, par));
    p = par;
    p.nearbySources = false;  // without the switch clusters are not looked up
    EXPECT_EQ("", refusal(s, p));
    s = good;
    s.sources[2].cluster = 3;
    s.clusters[0].count = 0;
    EXPECT_EQ("Popis shluku 3 je chybný: počet zdrojů musí být větší než 0 a vzdálenost nesmí být záporná!",
              refusal(s, par));
    s = good;
    s.sources[0].groupIndex = 200;
    EXPECT_EQ("Počet skupin zdrojů je větší než 200, nelze spustit výpočet pro jednotlivé skupiny zdrojů !",
              refusal(s, par));
    p = par;
    p.mode = ConcentrationMode::Maximum;  // the maximum run has no group shares
    EXPECT_EQ("", refusal(s, p));
    s = good;
    s.windRose.resize(10);
    EXPECT_EQ("Špatné rozložení vstupního souboru !!!", refusal(s, par));
}

TEST(ConcentrationRun, ANonFiniteContributionStopsTheRunNamingSourceAndPoint)
{
    ConcentrationStudy study = fan(kAreaSource, {0.0f});
    study.sources[0].values[8] = -10.0;  // negative element spacing: no real initial spread
    ConcentrationParameters par;
    par.step = 45.0;
    auto run = prepareConcentrationRun(study, par);
    ASSERT_TRUE(run);
    ConcentrationState a(*run), b(*run);
    LoopOutcome ref = runReferenceLoop(*run, a, 0);
    LoopOutcome eng = runConcentrationEngine(*run, b, 0, 2);
    EXPECT_FALSE(ref.completed);
    EXPECT_FALSE(eng.completed);
    ASSERT_TRUE(ref.problem && eng.problem);
    EXPECT_EQ(*ref.problem, *eng.problem);
    EXPECT_NE(std::string::npos, ref.problem->text.find("zdroje 1 v referenčním bodě 1"));
}

}  // namespace
}  // namespace ovd
