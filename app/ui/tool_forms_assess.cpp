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
    return openFile(m, label, "Otevření vstupního DBF souboru ...", kDbf);
}

constexpr std::string_view kNoOutput = "Nebyl zadán výstupní DBF soubor!";

// A column of the table in `table`, chosen or typed by its name.
template <class S>
FieldBuilder columnName(std::string S::*m, std::string S::*table, std::string_view label, std::string_view tip)
{
    return dbfColumnName(m, label).columnsOf(table).tooltip(tip);
}
constexpr std::string_view kColumnTip = "Sloupec výsledkové tabulky (bez zadání CONC_AVG)";

// The table a tool of this file writes, its field last in the form: the name button names it
// after an input (its ".dbf" replaced by `suffix`), and a run's summary fills the one list.
template <class S> struct WrittenTable {
    std::string_view label;
    std::string S::*namedAfter;
    std::string_view suffix;
    std::string_view namesTip, summary, done;
    std::string_view frame = {};  // the output's frame; empty: none
};

template <class S> ToolForm tableTool(FormBuilder form, std::vector<FieldSet> inputs, const WrittenTable<S>& out)
{
    FieldBuilder output = outputTable(&S::output, out.label, kNoOutput);
    inputs.push_back(out.frame.empty() ? FieldSet(output) : FieldSet(group(out.frame, {output})));
    return form.fields(inputs)
        .names(out.namesTip)
        .name(&S::output, out.namedAfter, 4, out.suffix)
        .tables({out.summary})
        .done(out.done);
}

}  // namespace

ToolForm assessForm()
{
    using Self = AssessSettings;
    return tableTool<Self>(
        FormBuilder("assess", "Hodnocení imisní zátěže",
                    {"Posuď", "Průběh hodnocení ", "Příspěvek s pozadím proti imisnímu limitu"}),
        {
            group("Příspěvek zdrojů studie",
                  {inputTable(&Self::input, "DBF soubor s výsledky :"),
                   columnName(&Self::column, &Self::input, "Hodnocený sloupec :", kColumnTip)}),
            group("Pozadí",
                  {openFile(&Self::background, "Rastr, vrstva polygonů nebo číslo :", "Otevření souboru s pozadím ...",
                            kBackgroundFilter)
                       .tooltip("Soubor pozadí, nebo jedno číslo v µg/m³ pro celou studii"),
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
                   openFile(&Self::limits, "Tabulka imisních limitů :", "Otevření tabulky imisních limitů ...", kTxt)
                       .tooltip("Bez zadání tabulka dodaná s programem")}),
        },
        {"DBF soubor hodnocení :", &Self::input, "_hodnoceni.dbf",
         "Vytvoření jména výstupního souboru na základě vstupního souboru", "Souhrn hodnocení",
         "Hodnocení imisní zátěže dokončeno.", "Výstup"});
}

ToolForm compareForm()
{
    using Self = CompareSettings;
    return tableTool<Self>(
        FormBuilder("compare", "Porovnání variant",
                    {"Porovnej", "Průběh porovnání ", "Rozdíl výsledků posuzované a základní varianty bod po bodu"}),
        {inputTable(&Self::base, "Základní varianta :"), inputTable(&Self::variant, "Posuzovaná varianta :"),
         columnName(&Self::column, &Self::base, "Porovnávaný sloupec :", kColumnTip),
         text(&Self::threshold, "Práh nárůstu (µg/m³) :").tooltip("Bez zadání 0")},
        {"DBF soubor rozdílů :", &Self::variant, "_rozdil.dbf",
         "Vytvoření jména výstupního souboru na základě posuzované varianty", "Souhrn porovnání",
         "Porovnání variant dokončeno."});
}

ToolForm scaleGroupsForm()
{
    using Self = ScaleGroupsSettings;
    return tableTool<Self>(
        FormBuilder("scale-groups", "Změna emisí skupin",
                    {"Přepočti", "Průběh přepočtu ", "Roční průměry se změněnými emisemi skupin bez nového výpočtu"}),
        {inputTable(&Self::table, "DBF soubor ročních koncentrací :"),
         inputTable(&Self::shares, "DBF soubor s podíly skupin zdrojů :"),
         text(&Self::factors, "Násobky emisí skupin :")
             .tooltip("SKUPINA=FAKTOR;SKUPINA=FAKTOR, např. 2=0;4=1,5 (0 skupinu uzavře)")},
        {"Výstupní DBF soubor :", &Self::table, "_zmena.dbf",
         "Vytvoření jména výstupního souboru na základě souboru ročních koncentrací", "Souhrn přepočtu",
         "Přepočet ročních průměrů dokončen."});
}

}  // namespace ovd::mainui
