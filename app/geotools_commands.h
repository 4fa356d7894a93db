#pragma once
// Display and export of result tables, isolines.
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kDbfShowOptions[] = {argument("SOUBOR", "DBF soubor s výsledky")};
inline constexpr OptionSpec kDbfExportOptions[] = {
    option("--columns", "1,2,6", "čísla sloupců od 1 oddělená čárkou (jen pro export do textu, ZapisGis 2)"),
};

ToolStatus runDbfShow(ToolCall&);
ToolStatus runDbfExport(ToolCall&);
ToolStatus runIsolines(ToolCall&);

}  // namespace ovd
