// The engine's shortcuts against the written-out formulas: pairs left out of a block of
// directions before any case is looked at, and plumes whose geometry several speeds share.
#include <gtest/gtest.h>

#include <cmath>

#include "model/concentration_engine.h"
#include "model/concentration_reference.h"
#include "model/concentration_study_generator.h"

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

}  // namespace
}  // namespace ovd
