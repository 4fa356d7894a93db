#pragma once
// ovardix-cli scale-groups: the annual mean with changed emissions of source groups.
#include "common/project_sections.h"
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kScaleGroupsOptions[] = {
    option("--shares", "DBF", "tabulka podílů skupin zdrojů ročního výpočtu").file().mirrors(section::kScaleGroups, "VstDbfPodily"),
    option("--table", "DBF", "tabulka ročních koncentrací téhož výpočtu").file().mirrors(section::kScaleGroups, "VstDbf"),
    option("--factors", "SKUPINA=FAKTOR;...", "násobky emisí skupin (0 skupinu vypne)")
        .mirrors(section::kScaleGroups, "Faktory"),
    option("--out", "DBF", "výstupní tabulka").file().mirrors(section::kScaleGroups, "VystDbf"),
};

ToolStatus runScaleGroups(ToolCall&);

}  // namespace ovd
