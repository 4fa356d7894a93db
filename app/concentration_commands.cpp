#include "concentration_commands.h"

#include <cstdlib>

#include "common/limits.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/reporter_wrapper.h"
#include "inputs/binary_inputs.h"
#include "inputs/conversion.h"
#include "model/coefficient_run.h"
#include "model/concentration_tool.h"
#include "model/daily_tool.h"
#include "model/vector_width.h"
#include "settings_check.h"
#include "tiles/tile_stamp.h"

namespace ovd {

namespace {

// A study over the limit is refused with the run's own message; this line tells the way past it.
void suggestTiling(const std::string& points, Reporter& reporter)
{
    const std::optional<long long> size = fileSize(points);
    if (!size || pointRecordsIn(*size) <= kMaxReferencePoints)
        return;
    reporter.message(Severity::Info, "",
                     cformat("Studii s více než %ld referenčními body rozdělte na dlaždice: ovardix-cli tile "
                             "PROJEKT.ovd, dlaždice spočtěte (ovardix-cli run v každé z nich nebo mpirun "
                             "ovardix-mpi PROJEKT.ovd) a výsledky sloučte: ovardix-cli merge PROJEKT.ovd",
                             kMaxReferencePoints));
}

// A tile computes with the width fixed when it was made, and records what it used once its
// results are complete (the record of an earlier run goes when this one starts).
ToolStatus tileConcentrations(ToolCall& call, const ConcentrationSettings& settings,
                              const std::array<double, 3>& speeds, const RunContext& ctx)
{
    const std::string width = tileWidthOf(*call.project);
    const Outcome<VectorWidth> used = width.empty() ? vectorWidthFromEnvironment() : chooseVectorWidth(width);
    if (!used) {
        used.problem().report(ctx.reporter);
        return ToolStatus::Failed;
    }
    if (const char* env = std::getenv("OVARDIX_VECTOR_WIDTH"); env && *env && !width.empty() && width != env) {
        ctx.reporter.error(cformat("Dlaždice se počítá se šířkou vektorů %s, proměnná OVARDIX_VECTOR_WIDTH ale "
                                   "zvolila %s, výpočet nelze spustit!",
                                   width.c_str(), env));
        return ToolStatus::Failed;
    }
    removeTileStamp(*call.project);
    ToolStatus status = computeConcentrations(settings, speeds, ctx, 0, width);
    if (status != ToolStatus::Done)
        return status;
    if (std::optional<Problem> p = recordTileRun(*call.project, speeds, vectorWidthName(*used))) {
        p->report(ctx.reporter);
        return ToolStatus::Failed;
    }
    return status;
}

ToolStatus concentrations(ToolCall& call, const RunContext& ctx)
{
    std::optional<ConcentrationSettings> settings =
        loadCheckedSettings<ConcentrationSettings>(*call.project, ctx.reporter);
    if (!settings)
        return ToolStatus::Failed;
    saveSettings(*settings, *call.project, ctx.reporter);  // a failed key is reported and the run goes on
    // The speeds are written back as read: an unreadable one refuses the run before that.
    Outcome<Profile::WindSpeeds> w = call.profile.checkedWindSpeeds();
    if (!w) {
        w.problem().report(ctx.reporter);
        return ToolStatus::Failed;
    }
    call.profile.saveWindSpeeds(*w, ctx.reporter);
    const std::array<double, 3> speeds{w->speed[0], w->speed[1], w->speed[2]};
    if (isTileProject(*call.project))
        return tileConcentrations(call, *settings, speeds, ctx);
    ToolStatus status = computeConcentrations(*settings, speeds, ctx);
    if (status == ToolStatus::Failed)
        suggestTiling(settings->points, ctx.reporter);
    return status;
}

void stepFinished(ToolCall& call)
{
    if (call.stepFinished)
        call.stepFinished();
}

}  // namespace

ToolStatus runConcentrations(ToolCall& call)
{
    return concentrations(call, call.context);
}

ToolStatus runDaily(ToolCall& call)
{
    std::optional<DailySettings> settings = loadCheckedSettings<DailySettings>(*call.project, call.context.reporter);
    if (!settings)
        return ToolStatus::Failed;
    saveSettings(*settings, *call.project, call.context.reporter);  // a failed key is reported and the run goes on
    return computeDailyConcentrations(*settings, call.context);
}

namespace {

// Answers an overwrite and the offer to continue from a checkpoint Yes, anything else No.
class ResumingReporter : public ReporterWrapper {
public:
    using ReporterWrapper::ReporterWrapper;
    Answer ask(const Question& q) override { return q.kind == QuestionKind::Other ? Answer::No : Answer::Yes; }
};

// `resume`: the concentrations go on from their checkpoint, whose inputs are then kept as
// they are (written again, they would no longer match it).
ToolStatus mainRoad(ToolCall& call, bool resume)
{
    RunContext ctx = call.context;
    ctx.unattended = true;
    ResumingReporter resuming(call.context.reporter);
    ToolStatus status = ToolStatus::Done;
    const RoadStep* failedStep = nullptr;
    if (!resume) {
        status = convertTextInputs(loadSettings<ConversionSettings>(*call.project), ctx);
        stepFinished(call);
        failedStep = status == ToolStatus::Done ? nullptr : &kMainRoad[0];
    }
    if (!failedStep && !resume) {
        CoefficientSettings coefficients = loadSettings<CoefficientSettings>(*call.project);
        status = computeCoefficients(coefficients, ctx);
        stepFinished(call);
        if (status != ToolStatus::Done)
            failedStep = &kMainRoad[1];
    }
    if (!failedStep) {
        RunContext resumed = call.context.withReporter(resuming);
        resumed.answeredByOption = true;
        status = resume ? concentrations(call, resumed) : concentrations(call, ctx);
        stepFinished(call);
        if (status != ToolStatus::Done)
            failedStep = &kMainRoad[2];
    }
    if (failedStep) {
        ctx.reporter.error(roadStoppedText(*failedStep));
        return status == ToolStatus::Done ? ToolStatus::Failed : status;
    }
    return ToolStatus::Done;
}

}  // namespace

std::string roadStoppedText(const RoadStep& step)
{
    return cformat("Výpočet bez obsluhy se zastavil v kroku: %s.", step.name);
}

ToolStatus runMainRoad(ToolCall& call)
{
    return mainRoad(call, false);
}

ToolStatus runResumableRoad(ToolCall& call)
{
    const ConcentrationSettings s = loadSettings<ConcentrationSettings>(*call.project);
    bool resume = !s.output.empty() && fileExists(s.checkpointPath());
    for (const std::string* input : {&s.points, &s.sources, &s.theta, &s.delta, &s.zmax})
        resume = resume && fileExists(*input);
    return mainRoad(call, resume);
}

}  // namespace ovd
