#include "scale_groups_commands.h"

#include "common/numbers.h"
#include "geotools/scale_groups.h"

namespace ovd {

namespace {

constexpr const char* kUsage = "příkaz scale-groups přijímá volby --shares DBF (podíly skupin zdrojů), --table DBF "
                               "(roční koncentrace), --factors \"SKUPINA=FAKTOR;...\" a --out DBF";

// The command's options over the project's keys; false (usage error set) for a wrong argument.
bool applyOptions(ToolCall& call, ScaleGroupsSettings& s)
{
    const std::vector<std::string>& a = call.args;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::string name = a[i], value;
        if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (name.rfind("--", 0) == 0 && i + 1 < a.size()) {
            value = a[++i];
        } else {
            call.usageError = kUsage;
            return false;
        }
        if (name == "--shares")
            s.shares = value;
        else if (name == "--table")
            s.table = value;
        else if (name == "--factors")
            s.factors = value;
        else if (name == "--out")
            s.output = value;
        else {
            call.usageError = kUsage;
            return false;
        }
    }
    return true;
}

}  // namespace

ToolStatus runScaleGroups(ToolCall& call)
{
    ScaleGroupsSettings s = loadSettings<ScaleGroupsSettings>(*call.project);
    if (!applyOptions(call, s))
        return ToolStatus::Failed;
    ScaleGroupsSummary summary;
    ToolStatus status = scaleGroups(
        s, {{"soubor projektu", call.project->path()}, {"uživatelský profil programu", call.profile.path()}},
        call.context, &summary);
    if (status == ToolStatus::Done) {
        call.result.line(cformat("Přepočteno bodů: %zu", summary.points));
        call.result.line(cformat("Nejmenší změna ročního průměru (ROZDIL): %.6f", summary.lowestChange));
        call.result.line(cformat("Největší změna ročního průměru (ROZDIL): %.6f", summary.highestChange));
        call.result.line("Maxima a doby překročení se takto nepřepočítávají, k jejich změně je třeba nový výpočet.");
    }
    return status;
}

}  // namespace ovd
