#include "model_commands.h"

#include "common/numbers.h"
#include "model/substances.h"

namespace ovd {

namespace {

constexpr const char* kUsage = "substances [add NÁZEV TŘÍDA K1 K2 K3 | delete N]";

ToolStatus usage(ToolCall& call)
{
    call.usageError = std::string("chybné argumenty příkazu ") + kUsage;
    return ToolStatus::Failed;
}

ToolStatus list(ToolCall& call, const SubstanceList& substances)
{
    std::size_t n = 0;
    for (const std::string& entry : substances.entries())
        call.out << ++n << '\t' << entry << '\n';
    return ToolStatus::Done;
}

ToolStatus add(ToolCall& call, SubstanceList& substances)
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
    if (!substances.add(s, reporter))
        return ToolStatus::Failed;
    return substances.save(call.profile, reporter) ? ToolStatus::Done : ToolStatus::Failed;
}

ToolStatus remove(ToolCall& call, SubstanceList& substances)
{
    Reporter& reporter = call.context.reporter;
    std::optional<long> n = parseLong(call.args[1]);
    if (!n)
        return usage(call);
    if (*n < 1 || static_cast<std::size_t>(*n) > substances.entries().size()) {
        reporter.error(cformat("Látka číslo %ld v seznamu není (seznam má %zu záznamů).", *n,
                               substances.entries().size()));
        return ToolStatus::Failed;
    }
    Question q{std::string(kDeleteSubstanceCaption), std::string(kDeleteSubstanceQuestion), Buttons::YesNo, Answer::Yes};
    if (reporter.ask(q) != Answer::Yes)
        return ToolStatus::Declined;
    substances.remove(static_cast<std::size_t>(*n - 1));
    return substances.save(call.profile, reporter) ? ToolStatus::Done : ToolStatus::Failed;
}

}  // namespace

ToolStatus runSubstances(ToolCall& call)
{
    SubstanceList substances = SubstanceList::load(call.profile);
    const std::vector<std::string>& a = call.args;
    if (a.empty())
        return list(call, substances);
    if (a[0] == "add" && a.size() == 6)
        return add(call, substances);
    if (a[0] == "delete" && a.size() == 2)
        return remove(call, substances);
    return usage(call);
}

}  // namespace ovd
