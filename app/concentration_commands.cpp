#include "concentration_commands.h"

#include "common/numbers.h"
#include "inputs/conversion.h"
#include "model/coefficient_run.h"
#include "model/concentration_tool.h"
#include "model/daily_tool.h"
#include "settings_check.h"

namespace ovd {

namespace {

ToolStatus concentrations(ToolCall& call, const RunContext& ctx)
{
    std::optional<ConcentrationSettings> settings =
        loadCheckedSettings<ConcentrationSettings>(*call.project, ctx.reporter);
    if (!settings)
        return ToolStatus::Failed;
    saveSettings(*settings, *call.project, ctx.reporter);  // a failed key is reported and the run goes on
    // The speeds are written back as read: an unreadable one refuses the run before that.
    call.profile.takeUnreadableValue();
    Profile::WindSpeeds w = call.profile.windSpeeds();
    if (call.profile.refuseUnreadableValue(ctx.reporter))
        return ToolStatus::Failed;
    call.profile.saveWindSpeeds(w, ctx.reporter);
    return computeConcentrations(*settings, {w.speed[0], w.speed[1], w.speed[2]}, ctx);
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

ToolStatus runMainRoad(ToolCall& call)
{
    RunContext ctx{call.context.reporter, true};
    ToolStatus status = convertTextInputs(loadSettings<ConversionSettings>(*call.project), ctx);
    stepFinished(call);
    const char* failedStep = status == ToolStatus::Done ? nullptr : "převod vstupních souborů";
    if (!failedStep) {
        CoefficientSettings coefficients = loadSettings<CoefficientSettings>(*call.project);
        status = computeCoefficients(coefficients, ctx);
        stepFinished(call);
        if (status != ToolStatus::Done)
            failedStep = "výpočet koeficientů Theta, Delta, ZMax";
    }
    if (!failedStep) {
        status = concentrations(call, ctx);
        stepFinished(call);
        if (status != ToolStatus::Done)
            failedStep = "výpočet koncentrací";
    }
    if (failedStep) {
        ctx.reporter.error(cformat("Výpočet bez obsluhy se zastavil v kroku: %s.", failedStep));
        return status == ToolStatus::Done ? ToolStatus::Failed : status;
    }
    return ToolStatus::Done;
}

}  // namespace ovd
