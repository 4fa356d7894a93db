#include "scale_groups_commands.h"

#include "common/numbers.h"
#include "geotools/scale_groups.h"

namespace ovd {

ToolStatus runScaleGroups(ToolCall& call)
{
    ScaleGroupsSettings s = loadSettings<ScaleGroupsSettings>(*call.project);
    call.options.takeMirrored(s, kScaleGroupsOptions);
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
