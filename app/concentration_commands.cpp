#include "concentration_commands.h"

#include "common/numbers.h"
#include "inputs/conversion.h"
#include "model/coefficient_run.h"
#include "model/concentration_tool.h"
#include "model/daily_tool.h"

namespace ovd {

namespace {

ToolStatus concentrations(ToolCall& call, const RunContext& ctx)
{
    ConcentrationSettings settings = ConcentrationSettings::load(*call.project);
    if (!settings.save(*call.project, ctx.reporter))
        return ToolStatus::Failed;
    Profile::WindSpeeds w = call.profile.windSpeeds();
    call.profile.saveWindSpeeds(w, ctx.reporter);
    return computeConcentrations(settings, {w.speed[0], w.speed[1], w.speed[2]}, ctx);
}

}  // namespace

ToolStatus runConcentrations(ToolCall& call)
{
    return concentrations(call, call.context);
}

ToolStatus runDaily(ToolCall& call)
{
    DailySettings settings = DailySettings::load(*call.project);
    if (!settings.save(*call.project, call.context.reporter))
        return ToolStatus::Failed;
    return computeDailyConcentrations(settings, call.context);
}

ToolStatus runMainRoad(ToolCall& call)
{
    RunContext ctx{call.context.reporter, true};
    ToolStatus status = convertTextInputs(ConversionSettings::load(*call.project), ctx);
    const char* failedStep = status == ToolStatus::Done ? nullptr : "převod vstupních souborů";
    if (!failedStep) {
        CoefficientSettings coefficients = CoefficientSettings::load(*call.project);
        status = computeCoefficients(coefficients, ctx);
        if (status != ToolStatus::Done)
            failedStep = "výpočet koeficientů Theta, Delta, ZMax";
    }
    if (!failedStep) {
        status = concentrations(call, ctx);
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
