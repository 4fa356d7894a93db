#pragma once
// Command-line glue of the dispersion computation's tools: the substance list.
#include "tool_registry.h"

namespace ovd {

// substances: lists the profile's list; substances add NAME CLASS L1 L2 L3 appends an
// entry; substances delete N removes entry N (from 1) after the confirmation question.
inline constexpr OptionSpec kSubstancesOptions[] = {
    argument("add|delete", "doplnit nebo smazat látku (bez argumentů se seznam vypíše)").optional(),
    argument("NÁZEV|N", "název nové látky, nebo číslo mazané látky (od 1)").optional(),
    argument("TŘÍDA", "třída látky 1 až 3").optional(),
    argument("K1", "první limitní koncentrace").optional(),
    argument("K2", "druhá limitní koncentrace").optional(),
    argument("K3", "třetí limitní koncentrace").optional(),
};

ToolStatus runSubstances(ToolCall&);

}  // namespace ovd
