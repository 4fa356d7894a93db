// The daily computation: hours of operation, the widened plume against the annual model,
// the sectors and the direction taken modulo 360, dust, and what is refused.
#include <gtest/gtest.h>

#include <cmath>

#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"
#include "model/daily_computation.h"

namespace ovd {
namespace {

// Source 7 under Theta 0.3, running `pd` hours a day.
ConcentrationStudy fan(std::int16_t type, const std::vector<float>& deltas, double pd = 24.0)
{
    return fanStudy(type, deltas, {.theta = 0.3f, .hours = pd, .number = 7});
}

std::vector<double> daily(const ConcentrationStudy& study, const DailyParameters& par)
{
    EXPECT_FALSE(checkDailyRun(study, par));
    DailyOutcome out = computeDaily(study, par);
    EXPECT_TRUE(out.completed) << out.problem.value_or(Problem{}).text;
    return out.concentration;
}

DailyParameters weather(int cls, double speed, double direction)
{
    DailyParameters par;
    par.stabilityClass = cls;
    par.speed = speed;
    par.direction = direction;
    return par;
}

TEST(DailyComputation, HoursOfOperationScaleTheEmission)
{
    for (std::int16_t type : {kPointSource, kAreaSource, kLineSource}) {
        const DailyParameters par = weather(4, 3.0, 0.0);
        const std::vector<float> deltas{0.0f, 5.0f};
        auto full = daily(fan(type, deltas, 24.0), par);
        auto half = daily(fan(type, deltas, 12.0), par);
        auto none = daily(fan(type, deltas, 0.0), par);
        for (std::size_t i = 0; i < deltas.size(); ++i) {
            EXPECT_GT(full[i], 0.0) << type;
            EXPECT_EQ(full[i], 2.0 * half[i]) << type;
            EXPECT_EQ(0.0, none[i]) << type;
        }
    }
}

// On the plume axis E1 = 1, so for a point source without flue gas the daily value at full
// operation is the annual model's case value divided by the widening 2.17.
TEST(DailyComputation, WidenedPlumeAgainstTheAnnualModel)
{
    for (int cls = 1; cls <= 5; ++cls) {
        ConcentrationStudy study = fan(kPointSource, {30.0f});
        study.windRose.assign(11, std::vector<double>(9, 1.0));
        ConcentrationParameters one;  // one case of a maximum run, which keeps no per-row maxima
        one.mode = ConcentrationMode::Maximum;
        one.step = 1.0;
        one.substanceClass = 2;
        auto run = prepareConcentrationRun(study, one);
        ASSERT_TRUE(run);
        run->cases = {{cls, 4.0, -1}};
        ConcentrationState st(*run);
        runReferenceLoop(*run, st, 30, [](int) { return false; });
        DailyParameters par = weather(cls, 4.0, 30.0);
        par.substanceClass = 2;
        const double value = daily(study, par)[0];
        EXPECT_GT(value, 0.0);
        EXPECT_NEAR(st.caseConcentration[0], value * kDailyLateralWidening, 1e-12 * st.caseConcentration[0]) << cls;
    }
}

TEST(DailyComputation, SectorsAndDirectionModulo360)
{
    auto point = daily(fan(kPointSource, {19.9f, 20.1f, 340.1f, 339.9f}), weather(3, 2.0, 0.0));
    EXPECT_GT(point[0], 0.0);
    EXPECT_EQ(0.0, point[1]);
    EXPECT_GT(point[2], 0.0);
    EXPECT_EQ(0.0, point[3]);
    auto area = daily(fan(kAreaSource, {139.9f, 140.1f, 60.1f, 59.9f}), weather(3, 2.0, 100.0));
    EXPECT_GT(area[0], 0.0);
    EXPECT_EQ(0.0, area[1]);
    EXPECT_GT(area[2], 0.0);
    EXPECT_EQ(0.0, area[3]);

    const ConcentrationStudy study = fan(kLineSource, {10.0f, 45.0f, 200.0f});
    const auto base = daily(study, weather(2, 2.0, 10.0));
    EXPECT_EQ(base, daily(study, weather(2, 2.0, 370.0)));
    EXPECT_EQ(base, daily(study, weather(2, 2.0, -350.0)));
    EXPECT_EQ(0.0, dailyDirection(360.0));
    EXPECT_EQ(90.0, dailyDirection(-270.0));
}

TEST(DailyComputation, DustSettlesAndASourceWithoutFractionsGivesNothing)
{
    ConcentrationStudy study = fan(kPointSource, {0.0f, 8.0f});
    study.sources[0].density = 2500.0;
    DailyParameters par = weather(4, 3.0, 0.0);
    par.dust = true;
    EXPECT_EQ(std::vector<double>(2, 0.0), daily(study, par));
    study.sources[0].fractions = {{1e-4, 1.0}};
    const auto fine = daily(study, par);
    par.dust = false;
    par.substanceClass = 3;  // the slowest decay
    const auto gas = daily(study, par);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_NEAR(gas[i], fine[i], 1e-4 * fine[i]);  // the gas decays a little on 1 km
    EXPECT_GT(fine[0], gas[0]);
    par.dust = true;
    study.sources[0].fractions = {{1e-4, 0.5}, {60.0, 0.5}};
    const auto mixed = daily(study, par);
    EXPECT_GT(mixed[0], 0.0);
    EXPECT_NE(0.5 * fine[0], mixed[0]);  // the coarse half settles on the way
}

TEST(DailyComputation, RefusedBeforeTheLoop)
{
    const ConcentrationStudy good = fan(kPointSource, {0.0f});
    auto text = [&](const ConcentrationStudy& s, const DailyParameters& p) {
        auto problem = checkDailyRun(s, p);
        return problem ? problem->caption + ": " + problem->text : std::string();
    };
    EXPECT_EQ("Chyba: Rychlost větru musí být větší než 0!", text(good, weather(1, 0.0, 0.0)));
    EXPECT_EQ("Chyba: Rychlost větru musí být větší než 0!", text(good, weather(1, -2.0, 0.0)));
    EXPECT_EQ("Chyba: Třída stability musí nabývat hodnoty 1 až 5!", text(good, weather(0, 2.0, 0.0)));
    EXPECT_EQ("Chyba: Třída stability musí nabývat hodnoty 1 až 5!", text(good, weather(6, 2.0, 0.0)));

    ConcentrationStudy s = good;
    s.matrices.rows = 2;
    DailyParameters gas = weather(1, 2.0, 0.0), dust = gas;
    dust.dust = true;
    EXPECT_EQ("Chyba: Chyba při kontrole počtu řádků vstupních matic, popřípadě překročení limitu zdrojů !",
              text(s, gas));
    EXPECT_EQ("Chyba: Chyba při kontrole počtu řádků", text(s, dust));
    s = good;
    s.matrices.delta.push_back(0.0f);
    EXPECT_EQ("Chyba: Chyba při kontrole počtu sloupců vstupních matic, popřípadě překročení limitu referenčních "
              "bodů !",
              text(s, gas));
    EXPECT_EQ("Chyba: Chyba při kontrole počtu sloupců", text(s, dust));
    s = good;
    s.sources[0].fractions = {{-3.0, 1.0}};
    EXPECT_EQ("", text(s, gas));
    EXPECT_NE(std::string::npos, text(s, dust).find("Zdroj 7 má zápornou"));
    s = good;
    s.sources[0].cluster = 4;
    gas.nearbySources = true;
    EXPECT_EQ("Chyba: Nenalezeno odpovídající číslo shluku", text(s, gas));
    s.sources[0].type = 5;
    EXPECT_EQ("Chyba: Typ zdroje musí nabývat hodnoty 1, 2, 3", text(s, gas));
}

}  // namespace
}  // namespace ovd
