// The forms of the assessment tools: the total load against the limit values, the
// comparison of two variants, the annual mean with changed emissions of source groups.
#include "assess/assess_settings.h"
#include "form_parts.h"
#include "geotools/scale_groups.h"

namespace ovd::mainui {

namespace {

constexpr std::string_view kBackgroundFilter =
    "Rastr GeoTIFF *.tif|*.tif *.tiff|ASCII grid *.asc|*.asc|Shapefile *.shp|*.shp|GeoPackage *.gpkg|*.gpkg|"
    "Všechny soubory *.*|*.*";

// A result table the tool reads.
template <class S> FieldBuilder inputTable(std::string S::*m, std::string_view label)
{
    return openFile(m, label).title("Otevření vstupního DBF souboru ...").filter(kDbf);
}

constexpr std::string_view kNoOutput = "Nebyl zadán výstupní DBF soubor!";

// A column of the table in `table`, chosen or typed by its name.
template <class S>
FieldBuilder columnName(std::string S::*m, std::string S::*table, std::string_view label, std::string_view tip)
{
    return dbfColumnName(m, label).columnsOf(table).tooltip(tip);
}
constexpr std::string_view kColumnTip = "Sloupec výsledkové tabulky (bez zadání CONC_AVG)";

}  // namespace

ToolForm assessForm()
{
    using Self = AssessSettings;
    return FormBuilder("assess", "Hodnocení imisní zátěže")
        .run("Posuď", "Příspěvek s pozadím proti imisnímu limitu")
        .close("Ukonči")
        .progress("Průběh hodnocení ")
        .fields({
            group("Příspěvek zdrojů studie",
                  {inputTable(&Self::input, "DBF soubor s výsledky :"),
                   columnName(&Self::column, &Self::input, "Hodnocený sloupec :", kColumnTip)}),
            group("Pozadí",
                  {openFile(&Self::background, "Rastr, vrstva polygonů nebo číslo :")
                       .tooltip("Soubor pozadí, nebo jedno číslo v µg/m³ pro celou studii")
                       .title("Otevření souboru s pozadím ...")
                       .filter(kBackgroundFilter),
                   text(&Self::backgroundColumn, "Sloupec vrstvy polygonů :")
                       .tooltip("Atribut polygonu s pozadím; bez zadání je soubor pozadí rastr"),
                   check(&Self::bilinear, "bilineární interpolace rastru"),
                   text(&Self::fill, "Pozadí bodů mimo vrstvu :")
                       .tooltip("Bez zadání se body mimo pozadí nebo na buňce bez hodnoty odmítnou")}),
            group("Imisní limit",
                  {text(&Self::pollutant, "Látka :")
                       .tooltip("Jméno látky v tabulce imisních limitů, např. NO2")
                       .startingColumn(),
                   text(&Self::limit, "Limit (µg/m³) :").tooltip("Bez zadání limit z tabulky"),
                   columnName(&Self::hoursColumn, &Self::input,
                              "Sloupec hodin překročení :", "Sloupec T1_... výsledkové tabulky"),
                   text(&Self::allowedHours, "Povolený počet překročení :").tooltip("Bez zadání počet z tabulky"),
                   openFile(&Self::limits, "Tabulka imisních limitů :")
                       .tooltip("Bez zadání tabulka dodaná s programem")
                       .title("Otevření tabulky imisních limitů ...")
                       .filter(kTxt)}),
            group("Výstup", {outputTable(&Self::output, "DBF soubor hodnocení :", kNoOutput)}),
        })
        .names("Vytvoření jména výstupního souboru na základě vstupního souboru")
        .name(&Self::output, &Self::input, 4, "_hodnoceni.dbf")
        .tables({"Souhrn hodnocení"})
        .done("Hodnocení imisní zátěže dokončeno.");
}

ToolForm compareForm()
{
    using Self = CompareSettings;
    return FormBuilder("compare", "Porovnání variant")
        .run("Porovnej", "Rozdíl výsledků posuzované a základní varianty bod po bodu")
        .close("Ukonči")
        .progress("Průběh porovnání ")
        .fields({
            inputTable(&Self::base, "Základní varianta :"),
            inputTable(&Self::variant, "Posuzovaná varianta :"),
            columnName(&Self::column, &Self::base, "Porovnávaný sloupec :", kColumnTip),
            text(&Self::threshold, "Práh nárůstu (µg/m³) :").tooltip("Bez zadání 0"),
            outputTable(&Self::output, "DBF soubor rozdílů :", kNoOutput),
        })
        .names("Vytvoření jména výstupního souboru na základě posuzované varianty")
        .name(&Self::output, &Self::variant, 4, "_rozdil.dbf")
        .tables({"Souhrn porovnání"})
        .done("Porovnání variant dokončeno.");
}

ToolForm scaleGroupsForm()
{
    using Self = ScaleGroupsSettings;
    return FormBuilder("scale-groups", "Změna emisí skupin")
        .run("Přepočti", "Roční průměry se změněnými emisemi skupin bez nového výpočtu")
        .close("Ukonči")
        .progress("Průběh přepočtu ")
        .fields({
            inputTable(&Self::table, "DBF soubor ročních koncentrací :"),
            inputTable(&Self::shares, "DBF soubor s podíly skupin zdrojů :"),
            text(&Self::factors, "Násobky emisí skupin :")
                .tooltip("SKUPINA=FAKTOR;SKUPINA=FAKTOR, např. 2=0;4=1,5 (0 skupinu uzavře)"),
            outputTable(&Self::output, "Výstupní DBF soubor :", kNoOutput),
        })
        .names("Vytvoření jména výstupního souboru na základě souboru ročních koncentrací")
        .name(&Self::output, &Self::table, 4, "_zmena.dbf")
        .tables({"Souhrn přepočtu"})
        .done("Přepočet ročních průměrů dokončen.");
}

}  // namespace ovd::mainui
