#include "tool_registry.h"

#include "assess/assess_settings.h"
#include "assess_commands.h"
#include "coefficient_commands.h"
#include "concentration_commands.h"
#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"
#include "geotools/dbf_export.h"
#include "geotools/isolines.h"
#include "geotools/reference_grid.h"
#include "geotools/scale_groups.h"
#include "geotools_commands.h"
#include "gis/gis_export.h"
#include "gis_commands.h"
#include "inputs/conversion.h"
#include "inputs/height_fill.h"
#include "inputs/input_checks.h"
#include "inputs/terrain_conversion.h"
#include "inputs_commands.h"
#include "map_commands.h"
#include "model/coefficient_settings.h"
#include "model/concentration_settings.h"
#include "model/daily_settings.h"
#include "model/matrix_text.h"
#include "model_commands.h"
#include "scale_groups_commands.h"
#include "settings_commands.h"
#include "terrain_commands.h"
#include "tile_commands.h"

namespace ovd {

namespace {

const ToolEntry kTools[] = {
    {"get", "SECTION KEY", "vypíše hodnotu jednoho nastavení projektu", ProjectUse::Existing, 2, 2, runGetSetting},
    {"set", "SECTION KEY VALUE", "zapíše hodnotu jednoho nastavení projektu", ProjectUse::MayCreate, 3, 3,
     runSetSetting},
    // input preparation: conversion, checks, reference point grid
    {"convert", "", "převede textové vstupní soubory na binární", ProjectUse::Existing, 0, 0, runConvert,
     paramInfos<ConversionSettings>},
    {"check-points", "", "zkontroluje soubor s referenčními body", ProjectUse::Existing, 0, 0, runCheckPoints,
     paramInfos<PointCheckSettings>},
    {"check-sources", "", "zkontroluje soubory s údaji o zdrojích", ProjectUse::Existing, 0, 0, runCheckSources,
     paramInfos<SourceCheckSettings>},
    {"grid", "", "vytvoří síť referenčních bodů", ProjectUse::Existing, 0, 0, runGrid, paramInfos<GridSettings>},
    // terrain, height fill, coordinate recomputation
    {"terrain", "", "převede textovou matici výškopisu na binární", ProjectUse::Existing, 0, 0, runTerrain,
     paramInfos<TerrainSettings>},
    {"check-terrain", "", "zkontroluje textovou matici výškopisu", ProjectUse::Existing, 0, 0, runCheckTerrain,
     paramInfos<TerrainSettings>},
    {"heights", "", "doplní Z-souřadnice bodů nebo zdrojů z matice výškopisu", ProjectUse::Existing, 0, 0, runHeights,
     paramInfos<HeightFillSettings>},
    {"coords-table", "", "převede textovou převodní tabulku souřadnic na binární", ProjectUse::Existing, 0, 0,
     runCoordsTable, paramInfos<CoordTableSettings>},
    {"coords", "", "přepočte souřadnice podle převodní tabulky", ProjectUse::Existing, 0, 0, runCoords,
     paramInfos<CoordRecomputeSettings>},
    // coefficients and matrix files
    {"coefficients", "", "vypočte matice koeficientů Theta, Delta a ZMax", ProjectUse::Existing, 0, 0, runCoefficients,
     paramInfos<CoefficientSettings>},
    {"matrix-export", "[SOUBOR] [--out TXT]", "převede binární matici koeficientů na text", ProjectUse::Existing, 0, 3,
     runMatrixExport, paramInfos<MatrixExportSettings>},
    {"matrix-show", "SOUBOR [--header]",
     "vypíše hlavičku a hodnoty binární matice koeficientů (s --header jen hlavičku)", ProjectUse::None, 1, 2,
     runMatrixShow},
    // concentrations and the unattended main road
    {"concentrations", "", "vypočte roční nebo maximální koncentrace (podle ZpusobVypoctu)", ProjectUse::Existing, 0, 0,
     runConcentrations, paramInfos<ConcentrationSettings>},
    {"daily", "", "vypočte denní koncentrace pro zadanou třídu stability, rychlost a směr větru", ProjectUse::Existing,
     0, 0, runDaily, paramInfos<DailySettings>},
    {"run", "", "převod, koeficienty a koncentrace bez obsluhy (jako ovardix -f)", ProjectUse::Existing, 0, 0,
     runMainRoad},
    // studies larger than one run: tiles computed anywhere, merged exactly
    {"tile", "[--points N] [--width W]", "rozdělí velkou studii na dlaždice (běžné studie po nejvýše N bodech)",
     ProjectUse::Existing, 0, 4, runTile},
    {"merge", "", "sloučí výsledky spočtených dlaždic do výsledků studie", ProjectUse::Existing, 0, 0, runMerge},
    // the annual mean of changed group emissions, from the group shares of an annual run
    {"scale-groups", "--shares DBF --table DBF --factors \"SKUPINA=FAKTOR;...\" [--out DBF]",
     "přepočte roční průměry se změněnými emisemi skupin zdrojů bez nového výpočtu", ProjectUse::Existing, 0, 8,
     runScaleGroups, paramInfos<ScaleGroupsSettings>},
    // result tables, substance list
    {"substances", "[add NÁZEV TŘÍDA K1 K2 K3 | delete N]", "vypíše, doplní nebo smaže seznam znečišťujících látek",
     ProjectUse::None, 0, 6, runSubstances},
    // DBF display and export, isolines
    {"dbf-show", "SOUBOR", "vypíše záznamy DBF souboru s výsledky", ProjectUse::None, 1, 1, runDbfShow},
    {"dbf-export", "[--columns 1,2,6]", "exportuje DBF soubor s výsledky pro GIS, MapInfo nebo do textu",
     ProjectUse::Existing, 0, 2, runDbfExport, dbfExportParams},
    {"isolines", "", "vytvoří izolinie z DBF souboru s výsledky", ProjectUse::Existing, 0, 0, runIsolines,
     paramInfos<IsolineSettings>},
    {"gis-export", "--format gpkg|geojson|kml|csv|tif [--column SLOUPEC] [--levels 1;2;5] [--out SOUBOR]",
     "exportuje DBF soubor s výsledky do GeoPackage, GeoJSON, KML, CSV nebo GeoTIFF", ProjectUse::Existing, 0, 8,
     runGisExport, paramInfos<GisExportSettings>},
    {"map", "[--table DBF] [--column SLOUPEC] [--levels 1;2;5|limity] --out SOUBOR.png|svg|pdf [--width PIXELY]",
     "nakreslí mapu výsledků do obrázku PNG, SVG nebo PDF", ProjectUse::Existing, 0, 10, runMap,
     paramInfos<MapSettings>},
    // the assessment: background and limit values, two variants
    {"assess",
     "[--table DBF] [--column SLOUPEC] [--background SOUBOR|ČÍSLO] [--background-column SLOUPEC] [--bilinear] "
     "[--fill HODNOTA] [--pollutant LÁTKA] [--limit HODNOTA] [--hours-column SLOUPEC --allowed-hours POČET] "
     "[--limits SOUBOR] [--out DBF]",
     "posoudí příspěvek s pozadím proti imisnímu limitu", ProjectUse::Existing, 0, 24, runAssess,
     paramInfos<AssessSettings>},
    {"compare", "--base DBF --variant DBF [--column SLOUPEC] [--threshold HODNOTA] [--out DBF]",
     "porovná výsledky dvou variant bod po bodu", ProjectUse::Existing, 0, 10, runCompare,
     paramInfos<CompareSettings>},
};

}  // namespace

std::span<const ToolEntry> toolRegistry()
{
    return kTools;
}

std::vector<ParamInfo> toolParams(std::string_view command)
{
    const ToolEntry* tool = findTool(command);
    return tool && tool->params ? tool->params() : std::vector<ParamInfo>{};
}

const ToolEntry* findTool(std::string_view command)
{
    for (const ToolEntry& t : kTools)
        if (command == t.command)
            return &t;
    return nullptr;
}

}  // namespace ovd
