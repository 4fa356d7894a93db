#include "assess_commands.h"

#include "assess/assessment.h"
#include "assess/comparison.h"

namespace ovd {

namespace {

void assessOptions(const CommandArgs& o, AssessSettings& s)
{
    o.takeMirrored(s, kAssessOptions);
    o.take("--fill", s.fill);
    o.take("--limit", s.limit);
    o.take("--allowed-hours", s.allowedHours);
    if (o.has("--bilinear"))
        s.bilinear = true;
}

void compareOptions(const CommandArgs& o, CompareSettings& s)
{
    o.takeMirrored(s, kCompareOptions);
    o.take("--threshold", s.threshold);
}

// Loads the tool's settings, applies the command's options and runs it; the summary of a run
// that ended well goes to the command's result: stdout, or the JSON.
template <class S>
ToolStatus runSummarised(ToolCall& call, void (*options)(const CommandArgs&, S&),
                         ToolStatus (*run)(const S&, const RunFiles&, const RunContext&, std::vector<std::string>&))
{
    S s = loadSettings<S>(*call.project);
    options(call.options, s);
    std::vector<std::string> summary;
    const ToolStatus status = run(s, {call.project->path(), call.profile.path()}, call.context, summary);
    if (status == ToolStatus::Done)
        for (const std::string& line : summary)
            call.result.line(line);
    return status;
}

}  // namespace

ToolStatus runAssess(ToolCall& call)
{
    return runSummarised(call, assessOptions, runAssessment);
}

ToolStatus runCompare(ToolCall& call)
{
    return runSummarised(call, compareOptions, runComparison);
}

}  // namespace ovd
