#include "model_commands.h"

#include "common/czech_plural.h"
#include "common/numbers.h"
#include "model/substances.h"

namespace ovd {

namespace {

constexpr const char* kUsage = "substances [add NÁZEV TŘÍDA K1 K2 K3 | delete N]";

ToolStatus usage(ToolCall& call)
{
    return call.refuseUsage(std::string("chybné argumenty příkazu ") + kUsage);
}

ToolStatus list(ToolCall& call, const SubstanceList& substances)
{
    std::size_t n = 0;
    for (const std::string& entry : substances.entries())
        call.result.line(std::to_string(++n) + '\t' + entry);
    return ToolStatus::Done;
}

ToolStatus add(ToolCall& call)
{
    Reporter& reporter = call.context.reporter;
    Substance s;
    s.name = call.args[1];
    std::optional<long> cls = parseLong(call.args[2]);
    if (!cls || *cls < 1 || *cls > 3)
        return usage(call);
    s.substanceClass = *cls;
    for (int i = 0; i < 3; ++i) {
        std::optional<double> limit = parseDouble(call.args[3 + i]);
        if (!limit)
            return usage(call);
        s.limits[i] = *limit;
    }
    bool ok = SubstanceList::update(call.profile, reporter,
                                    [&](SubstanceList& list) { return list.add(s, reporter).has_value(); });
    return ok ? ToolStatus::Done : ToolStatus::Failed;
}

ToolStatus remove(ToolCall& call)
{
    Reporter& reporter = call.context.reporter;
    std::optional<long> n = parseLong(call.args[1]);
    if (!n)
        return usage(call);
    auto missing = [&](std::size_t size) {
        if (*n >= 1 && static_cast<std::size_t>(*n) <= size)
            return false;
        reporter.error(cformat("Látka číslo %ld v seznamu není (seznam má ", *n) +
                       czechCount(static_cast<long long>(size), "záznam", "záznamy", "záznamů") + ").");
        return true;
    };
    if (missing(SubstanceList::load(call.profile).entries().size()))
        return ToolStatus::Failed;
    Question q{std::string(kDeleteSubstanceCaption), std::string(kDeleteSubstanceQuestion), Buttons::YesNo,
               Answer::Yes};
    if (reporter.ask(q) != Answer::Yes)
        return ToolStatus::Declined;
    // The list as it is now: another process may have changed it while the question waited.
    bool ok = SubstanceList::update(call.profile, reporter, [&](SubstanceList& list) {
        return !missing(list.entries().size()) && list.remove(static_cast<std::size_t>(*n - 1));
    });
    return ok ? ToolStatus::Done : ToolStatus::Failed;
}

}  // namespace

ToolStatus runSubstances(ToolCall& call)
{
    const std::vector<std::string>& a = call.args;
    if (a.empty())
        return list(call, SubstanceList::load(call.profile));
    if (a[0] == "add" && a.size() == 6)
        return add(call);
    if (a[0] == "delete" && a.size() == 2)
        return remove(call);
    return usage(call);
}

}  // namespace ovd
