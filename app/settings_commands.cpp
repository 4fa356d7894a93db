#include "settings_commands.h"

#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "common/text.h"
#ifdef OVD_WITH_GIS
#include "study_area.h"
#endif

namespace ovd {

namespace {

// Whether some tool reads the key, and whether some tool reads any key of its section.
struct KeyUse {
    bool sectionKnown = false, declared = false;
};

KeyUse keyUse(std::string_view section, std::string_view key)
{
    KeyUse use;
    for (const ToolEntry& tool : toolRegistry())
        for (const ParamInfo& p : tool.params ? tool.params() : std::vector<ParamInfo>{})
            if (equalsIgnoreCase(p.section, section)) {
                use.sectionKnown = true;
                use.declared = use.declared || equalsIgnoreCase(p.key, key);
            }
    return use;
}

}  // namespace

ToolStatus runGetSetting(ToolCall& call)
{
    // A project that cannot be read would print every key as empty, as if it were unset.
    if (!readFileBytes(call.project->path())) {
        call.context.reporter.error("Soubor projektu " + call.project->path() + " nelze přečíst.");
        return ToolStatus::Failed;
    }
    const std::string& section = call.args[0];
    const std::string& key = call.args[1];
    // A key the file does not hold is not the same as a key set to nothing.
    std::optional<std::string> value = IniFile(call.project->path()).find(section, key);
    if (!value) {
        call.context.reporter.error("Soubor projektu " + call.project->path() + " nemá v sekci " + section +
                                    " klíč " + key + ".");
        return ToolStatus::Failed;
    }
    call.result.line(call.project->readString(section, key));
    return ToolStatus::Done;
}

ToolStatus runSetSetting(ToolCall& call)
{
    const std::string& section = call.args[0];
    const std::string& key = call.args[1];
    Reporter& reporter = call.context.reporter;
    // A coordinate system the GIS library does not know would only fail later, in an export.
    if (equalsIgnoreCase(section, section::kGlobal) && equalsIgnoreCase(key, kStudySystemKey) &&
        !call.args[2].empty()) {
        if (std::optional<Problem> p = checkStudySystem(call.context.gis, call.args[2])) {
            p->report(reporter);
            return ToolStatus::Failed;
        }
#ifdef OVD_WITH_GIS
        if (std::optional<Problem> p = studyAreaProblem(*call.project, call.args[2]))
            call.context.reporter.warning(p->text);
#endif
    }
    // A mistyped key would be written and never read.
    if (const KeyUse use = keyUse(section, key); use.sectionKnown && !use.declared)
        reporter.warning("Klíč " + key + " v sekci " + section + " nečte žádný nástroj (překlep v názvu?).");
    if (!fileExists(call.project->path()))
        reporter.info("Soubor projektu " + call.project->path() + " neexistuje, zakládá se nový.");
    bool ok = call.project->writeString(section, key, call.args[2], reporter);
    return ok ? ToolStatus::Done : ToolStatus::Failed;
}

}  // namespace ovd
