#pragma once
// ovardix-cli map: the result map drawn into a file without a screen. The drawing lives in
// the map library (Qt Gui), whose renderer the programs that can draw hand to the tools
// (ToolCall services), so this core library and the programs without it stay free of Qt.
#include <optional>
#include <string>

#include "map_settings/map_request.h"
#include "tool_registry.h"

namespace ovd {

// The widest picture anyone would print; beyond it an image would not fit in memory.
inline constexpr long kMaxMapWidth = 20000;

inline constexpr OptionSpec kMapOptions[] = {
    option("--table", "DBF", "tabulka s výsledky (jinak výstup ročního výpočtu)").file().mirrors(section::kMap, "VstDbf"),
    option("--column", "SLOUPEC", "sloupec, podle kterého se body obarví").mirrors(section::kMap, "Sloupec"),
    option("--levels", "1;2;5|limity", "hladiny tříd, nebo slovo limity pro limitní koncentrace")
        .numbers(kLimitsLevelsText)
        .mirrors(section::kMap, "Urovne"),
    option("--basemap", "ZDROJ",
           "podklad mapy: rastr, šablona adres dlaždic (http://server/{z}/{x}/{y}.png), popis služby WMS "
           "nebo adresa WMS:/WMTS:")
        .fileOrService()
        .mirrors(section::kMap, "VstRastr"),
    option("--out", "SOUBOR.png|svg|pdf", "obrázek, do kterého se mapa nakreslí").file().required(),
    option("--width", "PIXELY", "šířka obrázku PNG (body SVG a PDF)").integer(100, kMaxMapWidth),
    option("--page", "A4|A3", "obrázek na celou stránku (místo --width)").choice("A4|A3"),
    flagOption("--landscape", "stránka na šířku"),
    option("--dpi", "DPI", "rozlišení obrázku").integer(kMinMapDpi, kMaxMapDpi).byDefault("150 na stránce, jinak 96"),
};

ToolStatus runMap(ToolCall&);

}  // namespace ovd
