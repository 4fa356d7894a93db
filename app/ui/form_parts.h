#pragma once
// What several tools' forms show alike: the file dialogs' filters and the study's fields.
#include "form_builder.h"
#include "geotools/dbf_export.h"

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

// A tool's output table, with the DBF viewer beside it; `missing` is said when the viewer is
// asked for while the field is empty.
template <class S> FieldBuilder outputTable(std::string S::*m, std::string_view label, std::string_view missing)
{
    return saveFile(m, label, "Otevření výstupního DBF souboru ...", kDbf)
        .opens("dbf-export", "Zobrazení a export DBF souboru")
        .passing(&DbfExportSettings::input)
        .requiring(missing);
}

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
