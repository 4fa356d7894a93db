#include "tool_registry.h"

#include "coefficient_commands.h"
#include "concentration_commands.h"
#include "geotools_commands.h"
#include "inputs_commands.h"
#include "model_commands.h"
#include "settings_commands.h"
#include "terrain_commands.h"

namespace ovd {

namespace {

const ToolEntry kTools[] = {
    {"get", "SECTION KEY", "vypíše hodnotu jednoho nastavení projektu", ProjectUse::Existing, 2, 2, runGetSetting},
    {"set", "SECTION KEY VALUE", "zapíše hodnotu jednoho nastavení projektu", ProjectUse::MayCreate, 3, 3,
     runSetSetting},
    // input preparation: conversion, checks, reference point grid
    {"convert", "", "převede textové vstupní soubory na binární", ProjectUse::Existing, 0, 0, runConvert},
    {"check-points", "", "zkontroluje soubor s referenčními body", ProjectUse::Existing, 0, 0, runCheckPoints},
    {"check-sources", "", "zkontroluje soubory s údaji o zdrojích", ProjectUse::Existing, 0, 0, runCheckSources},
    {"grid", "", "vytvoří síť referenčních bodů", ProjectUse::Existing, 0, 0, runGrid},
    // terrain, height fill, coordinate recomputation
    {"terrain", "", "převede textovou matici výškopisu na binární", ProjectUse::Existing, 0, 0, runTerrain},
    {"check-terrain", "", "zkontroluje textovou matici výškopisu", ProjectUse::Existing, 0, 0, runCheckTerrain},
    {"heights", "", "doplní Z-souřadnice bodů nebo zdrojů z matice výškopisu", ProjectUse::Existing, 0, 0, runHeights},
    {"coords-table", "", "převede textovou převodní tabulku souřadnic na binární", ProjectUse::Existing, 0, 0,
     runCoordsTable},
    {"coords", "", "přepočte souřadnice podle převodní tabulky", ProjectUse::Existing, 0, 0, runCoords},
    // coefficients and matrix files
    {"coefficients", "", "vypočte matice koeficientů Theta, Delta a ZMax", ProjectUse::Existing, 0, 0, runCoefficients},
    {"matrix-export", "[SOUBOR] [--out TXT]", "převede binární matici koeficientů na text", ProjectUse::Existing, 0, 3,
     runMatrixExport},
    {"matrix-show", "SOUBOR [--header]",
     "vypíše hlavičku a hodnoty binární matice koeficientů (s --header jen hlavičku)", ProjectUse::None, 1, 2,
     runMatrixShow},
    // concentrations and the unattended main road
    {"concentrations", "", "vypočte roční nebo maximální koncentrace (podle ZpusobVypoctu)", ProjectUse::Existing, 0, 0,
     runConcentrations},
    {"daily", "", "vypočte denní koncentrace pro zadanou třídu stability, rychlost a směr větru", ProjectUse::Existing,
     0, 0, runDaily},
    {"run", "", "převod, koeficienty a koncentrace bez obsluhy (jako ovardix -f)", ProjectUse::Existing, 0, 0,
     runMainRoad},
    // result tables, substance list
    {"substances", "[add NÁZEV TŘÍDA K1 K2 K3 | delete N]", "vypíše, doplní nebo smaže seznam znečišťujících látek",
     ProjectUse::None, 0, 6, runSubstances},
    // DBF display and export, isolines
    {"dbf-show", "SOUBOR", "vypíše záznamy DBF souboru s výsledky", ProjectUse::None, 1, 1, runDbfShow},
    {"dbf-export", "[--columns 1,2,6]", "exportuje DBF soubor s výsledky pro GIS, MapInfo nebo do textu",
     ProjectUse::Existing, 0, 2, runDbfExport},
    {"isolines", "", "vytvoří izolinie z DBF souboru s výsledky", ProjectUse::Existing, 0, 0, runIsolines},
};

}  // namespace

std::span<const ToolEntry> toolRegistry()
{
    return kTools;
}

const ToolEntry* findTool(std::string_view command)
{
    for (const ToolEntry& t : kTools)
        if (command == t.command)
            return &t;
    return nullptr;
}

}  // namespace ovd
