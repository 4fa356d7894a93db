#pragma once
// What several tools' forms show alike: the file dialogs' filters and the study's fields.
#include "form_builder.h"

namespace ovd::mainui {

inline constexpr std::string_view kTxt = "Textový soubor *.txt|*.txt|Všechny soubory *.*|*.*";
inline constexpr std::string_view kBin = "Binární soubor *.bin|*.bin|Všechny soubory *.*|*.*";
inline constexpr std::string_view kDbf = "DBF soubor *.dbf|*.dbf";
inline constexpr std::string_view kShp = "SHP soubor *.shp|*.shp";
inline constexpr std::string_view kShx = "SHX soubor *.shx|*.shx";
inline constexpr std::string_view kTerrainTxt =
    "Textový soubor *.txt|*.txt|Textový soubor aplikace Surfer *.grd|*.grd|Všechny soubory *.*|*.*";
inline constexpr std::string_view kGas = "plynné látky";
inline constexpr std::string_view kDust = "prachové částice";

// Forms of the input tools, the study's computations, the result tools and the assessment.
ToolForm convertForm();
ToolForm checkPointsForm();
ToolForm checkSourcesForm();
ToolForm gridForm();
ToolForm terrainForm();
ToolForm checkTerrainForm();
ToolForm heightsForm();
ToolForm coordsTableForm();
ToolForm coordsForm();
ToolForm coefficientsForm();
ToolForm matrixExportForm();
ToolForm concentrationsForm();
ToolForm dailyForm();
ToolForm dbfExportForm();
ToolForm isolinesForm();
ToolForm assessForm();
ToolForm compareForm();
ToolForm scaleGroupsForm();

}  // namespace ovd::mainui
