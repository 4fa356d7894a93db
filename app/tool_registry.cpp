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
#include "geotools/gis_export_settings.h"
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
#include "report_commands.h"
#include "run_signatures.h"
#include "scale_groups_commands.h"
#include "settings_commands.h"
#include "terrain_commands.h"
#include "tile_commands.h"
#include "tiles/study_signature.h"

namespace ovd {

namespace {

// A tool on an existing project, whose keys are those of its settings S.
template <class S>
ToolEntry projectTool(const char* command, const char* summary, ToolStatus (*run)(ToolCall&),
                      std::span<const OptionSpec> options = {})
{
    return {command, summary, ProjectUse::Existing, run, options, paramInfos<S>};
}

const ToolEntry kTools[] = {
    {"get", "vypíše hodnotu jednoho nastavení projektu", ProjectUse::Existing, runGetSetting, kGetOptions},
    {"set", "zapíše hodnotu jednoho nastavení projektu", ProjectUse::MayCreate, runSetSetting, kSetOptions},
    // input preparation: conversion, checks, reference point grid
    projectTool<ConversionSettings>("convert", "převede textové vstupní soubory na binární", runConvert),
    projectTool<PointCheckSettings>("check-points", "zkontroluje soubor s referenčními body", runCheckPoints),
    projectTool<SourceCheckSettings>("check-sources", "zkontroluje soubory s údaji o zdrojích", runCheckSources),
    projectTool<GridSettings>("grid", "vytvoří síť referenčních bodů", runGrid),
    // terrain, height fill, coordinate recomputation
    projectTool<TerrainSettings>("terrain", "převede textovou matici výškopisu na binární", runTerrain),
    projectTool<TerrainSettings>("check-terrain", "zkontroluje textovou matici výškopisu", runCheckTerrain),
    projectTool<HeightFillSettings>("heights", "doplní Z-souřadnice bodů nebo zdrojů z matice výškopisu", runHeights),
    projectTool<CoordTableSettings>("coords-table", "převede textovou převodní tabulku souřadnic na binární",
                                    runCoordsTable),
    projectTool<CoordRecomputeSettings>("coords", "přepočte souřadnice podle převodní tabulky", runCoords),
    // coefficients and matrix files
    projectTool<CoefficientSettings>("coefficients", "vypočte matice koeficientů Theta, Delta a ZMax", runCoefficients),
    projectTool<MatrixExportSettings>("matrix-export", "převede binární matici koeficientů na text", runMatrixExport,
                                      kMatrixExportOptions),
    {"matrix-show", "vypíše hlavičku a hodnoty binární matice koeficientů (s --header jen hlavičku)",
     ProjectUse::None, runMatrixShow, kMatrixShowOptions},
    // concentrations and the unattended main road
    projectTool<ConcentrationSettings>(
        "concentrations", "vypočte roční nebo maximální koncentrace (podle ZpusobVypoctu)", runConcentrations),
    projectTool<DailySettings>("daily", "vypočte denní koncentrace pro zadanou třídu stability, rychlost a směr větru",
                               runDaily),
    {"run", "převod, koeficienty a koncentrace bez obsluhy (jako ovardix -f)", ProjectUse::Existing, runMainRoad, {},
     nullptr, mainRoadParams},
    // studies larger than one run: tiles computed anywhere, merged exactly
    {"tile", "rozdělí velkou studii na dlaždice (běžné studie po nejvýše N bodech)", ProjectUse::Existing, runTile,
     kTileOptions},
    {"merge", "sloučí výsledky spočtených dlaždic do výsledků studie", ProjectUse::Existing, runMerge},
    // the annual mean of changed group emissions, from the group shares of an annual run
    projectTool<ScaleGroupsSettings>("scale-groups",
                                     "přepočte roční průměry se změněnými emisemi skupin zdrojů bez nového výpočtu",
                                     runScaleGroups, kScaleGroupsOptions),
    // result tables, substance list
    {"substances", "vypíše, doplní nebo smaže seznam znečišťujících látek", ProjectUse::None, runSubstances,
     kSubstancesOptions},
    // DBF display and export, isolines
    {"dbf-show", "vypíše záznamy DBF souboru s výsledky", ProjectUse::None, runDbfShow, kDbfShowOptions},
    {"dbf-export", "exportuje DBF soubor s výsledky pro GIS, MapInfo nebo do textu", ProjectUse::Existing,
     runDbfExport, kDbfExportOptions, dbfExportParams},
    projectTool<IsolineSettings>("isolines", "vytvoří izolinie z DBF souboru s výsledky", runIsolines),
    projectTool<GisExportSettings>("gis-export",
                                   "exportuje DBF soubor s výsledky do GeoPackage, GeoJSON, KML, CSV nebo GeoTIFF",
                                   runGisExport, kGisExportOptions),
    projectTool<MapSettings>("map", "nakreslí mapu výsledků do obrázku PNG, SVG nebo PDF", runMap, kMapOptions),
    // the assessment: background and limit values, two variants
    projectTool<AssessSettings>("assess", "posoudí příspěvek s pozadím proti imisnímu limitu", runAssess,
                                kAssessOptions),
    projectTool<CompareSettings>("compare", "porovná výsledky dvou variant bod po bodu", runCompare, kCompareOptions),
    // the study written up: sources, settings, results, maps and the checksums of the files
    {"report", "vytvoří zprávu o studii (ODT, PDF nebo HTML)", ProjectUse::Existing, runReport, kReportOptions, nullptr,
     nullptr, false},
};

// The project file a command works on, always its first argument.
constexpr OptionSpec kProjectFile = argument(kProjectArgument, "soubor projektu");

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

ToolStatus runWithArgs(const ToolEntry& tool, ToolCall& call)
{
    const std::vector<ParamInfo> keys = tool.params ? tool.params() : std::vector<ParamInfo>{};
    Outcome<ParsedCommand> parsed = parseCommandArgs(tool.command, tool.options, keys, call.args);
    if (!parsed)
        return call.refuseUsage(parsed.problem().text);
    call.args = std::move(parsed->args.positional);
    call.options = std::move(parsed->args);
    return runTool(tool, call);
}

ToolStatus runTool(const ToolEntry& tool, ToolCall& call)
{
    if (!call.project || !tool.signsOutputs)
        return tool.run(call);
    const std::vector<ParamInfo> keys = tool.files ? tool.files() : tool.params ? tool.params() : std::vector<ParamInfo>{};
    const RunSignatures before = RunSignatures::before(*call.project, keys, tool.options, call.options);
    ToolStatus status = tool.run(call);
    if (status == ToolStatus::Done && call.usageError.empty())
        before.record(*call.project, call.context.reporter);
    return status;
}

std::vector<OptionSpec> commandOptions(const ToolEntry& tool)
{
    std::vector<OptionSpec> all;
    if (tool.project != ProjectUse::None)
        all.push_back(kProjectFile);
    all.insert(all.end(), tool.options.begin(), tool.options.end());
    return all;
}

const ToolEntry* findTool(std::string_view command)
{
    for (const ToolEntry& t : kTools)
        if (command == t.command)
            return &t;
    return nullptr;
}

}  // namespace ovd
