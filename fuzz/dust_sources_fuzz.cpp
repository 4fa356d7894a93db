// Any bytes as a binary source file of a small dust study: a file that decodes goes
// through the checks of the annual and daily runs and, when they accept it, through both
// loops of the annual run and the daily computation, whatever the densities, diameters and
// shares it holds. Both loops must agree on whether the run completes, and when both
// complete on a study whose emissions and Alfa are not negative (so that no sum cancels),
// their annual means and maxima agree within 1e-9.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "inputs/binary_inputs.h"
#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/concentration_study_generator.h"
#include "model/daily_computation.h"

namespace {

constexpr int kMaxSources = 4;

bool close(double a, double b)
{
    // equal covers two sums that both overflowed (an absurd Alfa or emission)
    return a == b || std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b)) || std::fabs(a - b) < 1e-300;
}

bool allClose(const std::vector<double>& a, const std::vector<double>& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!close(a[i], b[i]))
            return false;
    return a.size() == b.size();
}

// Emission and Alfa of every source at least 0: contributions do not cancel in the sums.
bool sameSigned(const std::vector<ovd::SourceRecord>& sources)
{
    for (const ovd::SourceRecord& s : sources)
        if (!(s.values[0] >= 0.0) || !(s.alfa() >= 0.0))
            return false;
    return true;
}

// Three points with matrices for up to four sources.
const ovd::ConcentrationStudy& base()
{
    static const ovd::ConcentrationStudy study = [] {
        ovd::StudyShape shape;
        shape.points = 3;
        shape.pointSources = 2;
        shape.areaSources = 1;
        shape.lineSources = 1;
        shape.pointOnSource = false;
        return ovd::generateStudy(shape);
    }();
    return study;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    auto file = ovd::decodeSources(bytes);
    if (!file || file->records.empty() || file->records.size() > kMaxSources)
        return 0;
    ovd::ConcentrationStudy study = base();
    study.sources = file->records;
    const auto rows = static_cast<std::int32_t>(study.sources.size());
    const std::size_t cells = static_cast<std::size_t>(rows) * study.points.size();
    study.matrices.rows = rows;
    study.matrices.theta.resize(cells);
    study.matrices.delta.resize(cells);
    study.matrices.zmax.resize(cells);

    ovd::ConcentrationParameters par;
    par.dust = true;
    par.step = 45.0;
    par.mode = data[0] & 1 ? ovd::ConcentrationMode::Maximum : ovd::ConcentrationMode::Annual;
    par.nearbySources = false;
    par.limits = {1.0, 0.0, 0.0};
    if (auto run = ovd::prepareConcentrationRun(study, par)) {
        if (par.mode == ovd::ConcentrationMode::Maximum)
            run->cases.resize(12);  // a few cases are enough to exercise the formulas
        ovd::ConcentrationState a(*run), b(*run);
        const ovd::LoopOutcome ref = ovd::runReferenceLoop(*run, a, 0);
        const ovd::LoopOutcome eng = ovd::runConcentrationEngine(*run, b, 0, 2);
        if (ref.completed != eng.completed)
            __builtin_trap();
        if (ref.completed && sameSigned(study.sources) &&
            !(allClose(a.annual, b.annual) && allClose(a.caseMaximum, b.caseMaximum) &&
              allClose(a.maxConcentration, b.maxConcentration)))
            __builtin_trap();
    }
    ovd::DailyParameters daily;
    daily.dust = (data[0] & 2) != 0;
    daily.stabilityClass = 1 + (data[0] >> 2) % 5;
    daily.speed = 0.5 + (data[0] >> 4);
    daily.direction = 45.0 * (data[0] >> 5);
    if (!ovd::checkDailyRun(study, daily)) {
        const ovd::DailyOutcome out = ovd::computeDaily(study, daily);
        if (out.completed == out.problem.has_value())
            __builtin_trap();
    }
    return 0;
}
