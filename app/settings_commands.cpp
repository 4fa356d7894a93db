#include "settings_commands.h"

#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/text.h"
#include "study_area.h"

namespace ovd {

ToolStatus runGetSetting(ToolCall& call)
{
    // A project that cannot be read would print every key as empty, as if it were unset.
    if (!readFileBytes(call.project->path())) {
        call.context.reporter.error("Soubor projektu " + call.project->path() + " nelze přečíst.");
        return ToolStatus::Failed;
    }
    call.result.line(call.project->readString(call.args[0], call.args[1]));
    return ToolStatus::Done;
}

ToolStatus runSetSetting(ToolCall& call)
{
    // A coordinate system the GIS library does not know would only fail later, in an export.
    if (equalsIgnoreCase(call.args[0], section::kGlobal) && equalsIgnoreCase(call.args[1], kStudySystemKey) &&
        !call.args[2].empty()) {
        if (std::optional<Problem> p = checkStudySystem(call.args[2])) {
            p->report(call.context.reporter);
            return ToolStatus::Failed;
        }
        if (std::optional<Problem> p = studyAreaProblem(*call.project, call.args[2]))
            call.context.reporter.warning(p->text);
    }
    bool ok = call.project->writeString(call.args[0], call.args[1], call.args[2], call.context.reporter);
    return ok ? ToolStatus::Done : ToolStatus::Failed;
}

}  // namespace ovd
