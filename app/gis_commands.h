#pragma once
// The exports to GIS formats: ovardix-cli gis-export, and the DBF export's GIS targets.
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kGisExportOptions[] = {
    option("--format", "gpkg|geojson|kml|csv|tif", "formát výstupu (jinak podle ZapisGis 3 až 7)")
        .choice("gpkg|geojson|kml|csv|tif"),
    option("--column", "SLOUPEC", "sloupec hodnot (izopásma, rastr)").mirrors(section::kDbfExport, "SloupecGis"),
    option("--levels", "1;2;5", "hladiny izopásem (jinak podle nastavení izolinií)").numbers(),
    option("--out", "SOUBOR", "výstupní soubor (jinak jméno tabulky s příponou formátu)").file()
        .mirrors(section::kDbfExport, "VystGis"),
};

// What the exports say in a program built without the GIS library.
inline constexpr std::string_view kNoGisLibraryText =
    "Tento program je sestaven bez knihovny GIS: export do formátů GIS v něm není k dispozici.";

ToolStatus runGisExport(ToolCall&);
// The export of "ZapisGis" 3 to 7 from the DBF export: false when the target is not one.
bool isGisTarget(int target);
ToolStatus runGisTarget(ToolCall&);
// The DBF export's keys together with those of its GIS targets.
std::vector<ParamInfo> dbfExportParams();

}  // namespace ovd
