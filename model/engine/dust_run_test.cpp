// Dust in the annual and maximum runs: the settling velocity, fine particles against the
// gas result without decay, shares that are not normalised, sources without fractions,
// and the dust values refused before the loop.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"

namespace ovd {
namespace {

ConcentrationStudy dustStudy(std::uint32_t seed, int points = 30)
{
    StudyShape shape{.points = points, .dustFractions = 3, .seed = seed};
    return generateStudy(shape);
}

ConcentrationParameters dustParameters(ConcentrationMode mode = ConcentrationMode::Annual)
{
    ConcentrationParameters par;
    par.mode = mode;
    par.step = 15.0;
    par.limits = {1.0, 0.0, 0.0};
    par.dust = true;
    return par;
}

ConcentrationState reference(const ConcentrationStudy& study, const ConcentrationParameters& par, double decay = -1)
{
    auto run = prepareConcentrationRun(study, par);
    EXPECT_TRUE(run);
    if (decay >= 0)
        run->decay = decay;
    ConcentrationState st(*run);
    EXPECT_TRUE(runReferenceLoop(*run, st, 0).completed);
    return st;
}

ConcentrationState engine(const ConcentrationStudy& study, const ConcentrationParameters& par)
{
    auto run = prepareConcentrationRun(study, par);
    EXPECT_TRUE(run);
    ConcentrationState st(*run);
    EXPECT_TRUE(runConcentrationEngine(*run, st, 0, 2).completed);
    return st;
}

void expectRelative(const std::vector<double>& expected, const std::vector<double>& actual, double tolerance)
{
    ASSERT_EQ(expected.size(), actual.size());
    int positive = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(expected[i], actual[i], tolerance * std::fabs(expected[i])) << "at " << i;
        positive += expected[i] > 0;
    }
    EXPECT_GT(positive, 0);
}

TEST(DustSettling, VelocityOfTheFormula)
{
    // d = 10 micrometres, rho = 2500: the formula as written, where it has no cancellation
    const double a = 45.0 * kModelPi / 12.0;
    const double literal = std::sqrt(a * a + 2500.0 * 10.0 * 7.848 * 1.282051282051282e-6) - a;
    EXPECT_NEAR(literal, settlingVelocity(10.0, 2500.0), 1e-12 * literal);
    EXPECT_NEAR(0.0106708, literal, 1e-7);  // about 1 cm/s
    // diameter 0 settles with velocity 0 (the formula itself has no value there)
    EXPECT_EQ(0.0, settlingVelocity(0.0, 2500.0));
    EXPECT_EQ(0.0, settlingVelocity(5.0, 0.0));
    // fine particles: v = b / (2a) to first order; the plain difference would lose every digit
    const double d = 1e-3, rho = 2000.0;
    const double aa = 45.0 * kModelPi / (1.2 * d), b = rho * d * 7.848 * 1.282051282051282e-6;
    EXPECT_NEAR(b / (2.0 * aa), settlingVelocity(d, rho), 1e-9 * b / (2.0 * aa));
    EXPECT_GT(settlingVelocity(20.0, 2500.0), settlingVelocity(10.0, 2500.0));
}

TEST(DustRun, FineParticlesGiveTheGasResultWithoutDecay)
{
    ConcentrationStudy study = dustStudy(3);
    for (SourceRecord& s : study.sources)
        s.fractions = {{1e-4, 1.0}};
    for (ConcentrationMode mode : {ConcentrationMode::Annual, ConcentrationMode::Maximum}) {
        ConcentrationParameters par = dustParameters(mode);
        ConcentrationState dust = reference(study, par);
        par.dust = false;
        ConcentrationState gas = reference(study, par, 0.0);
        expectRelative(gas.annual, dust.annual, 1e-9);
        if (mode == ConcentrationMode::Maximum)
            expectRelative(gas.maxConcentration, dust.maxConcentration, 1e-9);
        // with its decay the gas result is smaller somewhere
        ConcentrationState decaying = reference(study, par);
        double gasSum = 0, decayingSum = 0;
        for (std::size_t i = 0; i < gas.annual.size(); ++i) {
            gasSum += gas.annual[i];
            decayingSum += decaying.annual[i];
        }
        EXPECT_LT(decayingSum, gasSum);
    }
}

TEST(DustRun, SharesAreNotNormalised)
{
    ConcentrationStudy study = dustStudy(4);
    ConcentrationStudy halved = study, split = study;
    for (std::size_t s = 0; s < study.sources.size(); ++s) {
        for (DustFraction& f : halved.sources[s].fractions)
            f.share *= 0.5;
        // the first fraction split into two of the same diameter
        auto& fr = split.sources[s].fractions;
        if (!fr.empty()) {
            DustFraction first = fr.front();
            fr.front().share = first.share * 0.25;
            fr.push_back({first.diameter, first.share * 0.75});
        }
    }
    const ConcentrationParameters par = dustParameters();
    ConcentrationState whole = reference(study, par);
    ConcentrationState half = reference(halved, par);
    std::vector<double> doubled(half.annual);
    for (double& v : doubled)
        v *= 2.0;
    expectRelative(whole.annual, doubled, 1e-12);
    expectRelative(whole.annual, reference(split, par).annual, 1e-12);
    expectRelative(half.annual, engine(halved, par).annual, 1e-9);
}

TEST(DustRun, ASourceWithoutFractionsContributesNothing)
{
    ConcentrationStudy study = dustStudy(5);
    study.sources[3].fractions.clear();
    ConcentrationStudy rest = study;  // the same study without that source
    rest.sources.erase(rest.sources.begin() + 3);
    rest.matrices.rows -= 1;
    const std::size_t n = study.points.size();
    for (auto* m : {&rest.matrices.theta, &rest.matrices.delta, &rest.matrices.zmax})
        m->erase(m->begin() + static_cast<std::ptrdiff_t>(3 * n), m->begin() + static_cast<std::ptrdiff_t>(4 * n));
    const ConcentrationParameters par = dustParameters();
    ConcentrationState a = reference(study, par), b = reference(rest, par);
    ConcentrationState c = engine(study, par), d = engine(rest, par);
    EXPECT_EQ(b.annual, a.annual);
    EXPECT_EQ(b.hours[0], a.hours[0]);
    EXPECT_EQ(d.annual, c.annual);
    EXPECT_EQ(b.caseMaximum, a.caseMaximum);
}

TEST(DustRun, BadDustValuesAreRefusedNamingTheSource)
{
    const ConcentrationStudy good = dustStudy(6, 10);
    const ConcentrationParameters par = dustParameters();
    ASSERT_TRUE(prepareConcentrationRun(good, par));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto refusal = [&](auto change) {
        ConcentrationStudy s = good;
        change(s.sources[2]);
        auto refused = prepareConcentrationRun(s, par);
        EXPECT_FALSE(refused);
        ConcentrationParameters gas = par;
        gas.dust = false;  // a gas run does not read the dust values
        EXPECT_TRUE(prepareConcentrationRun(s, gas));
        return refused ? std::string() : refused.problem().caption + ": " + refused.problem().text;
    };
    const std::string expected =
        "Chyba: Zdroj 102 má zápornou nebo chybnou hustotu, průměr částic nebo podíl frakce, výpočet nelze spustit!";
    EXPECT_EQ(expected, refusal([](SourceRecord& s) { s.fractions.back().diameter = -1.0; }));
    EXPECT_EQ(expected, refusal([](SourceRecord& s) { s.density = -2000.0; }));
    EXPECT_EQ(expected, refusal([](SourceRecord& s) { s.fractions.front().share = -0.1; }));
    EXPECT_EQ(expected, refusal([&](SourceRecord& s) { s.fractions.front().diameter = nan; }));
}

}  // namespace
}  // namespace ovd
