#include "assess_commands.h"

#include "assess/assessment.h"
#include "assess/comparison.h"

namespace ovd {

namespace {

void assessOptions(const CommandArgs& o, AssessSettings& s)
{
    o.take("--table", s.input);
    o.take("--column", s.column);
    o.take("--background", s.background);
    o.take("--background-column", s.backgroundColumn);
    if (o.has("--bilinear"))
        s.bilinear = true;
    o.take("--fill", s.fill);
    o.take("--pollutant", s.pollutant);
    o.take("--limit", s.limit);
    o.take("--hours-column", s.hoursColumn);
    o.take("--allowed-hours", s.allowedHours);
    o.take("--limits", s.limits);
    o.take("--out", s.output);
}

void compareOptions(const CommandArgs& o, CompareSettings& s)
{
    o.take("--base", s.base);
    o.take("--variant", s.variant);
    o.take("--column", s.column);
    o.take("--threshold", s.threshold);
    o.take("--out", s.output);
}

// The summary goes to the command's result: stdout, or the JSON.
ToolStatus finish(ToolCall& call, ToolStatus status, const std::vector<std::string>& summary)
{
    for (const std::string& line : summary)
        call.result.line(line);
    return status;
}

}  // namespace

ToolStatus runAssess(ToolCall& call)
{
    AssessSettings s = loadSettings<AssessSettings>(*call.project);
    assessOptions(call.options, s);
    std::vector<std::string> summary;
    ToolStatus status = runAssessment(s, {call.project->path(), call.profile.path()}, call.context, summary);
    return finish(call, status, status == ToolStatus::Done ? summary : std::vector<std::string>{});
}

ToolStatus runCompare(ToolCall& call)
{
    CompareSettings s = loadSettings<CompareSettings>(*call.project);
    compareOptions(call.options, s);
    std::vector<std::string> summary;
    ToolStatus status = runComparison(s, {call.project->path(), call.profile.path()}, call.context, summary);
    return finish(call, status, status == ToolStatus::Done ? summary : std::vector<std::string>{});
}

}  // namespace ovd
