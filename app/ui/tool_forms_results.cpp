// The forms of the result tools: the DBF viewer and export, the isolines.
#include "form_parts.h"
#include "geotools/dbf_export.h"
#include "geotools/isolines.h"
#include "gis/gis_export.h"

namespace ovd::mainui {

namespace {

using Export = DbfExportSettings;
using Gis = GisExportSettings;

// The outputs of the first three targets: SHP and SHX, MIF and MID, text.
std::vector<FieldBuilder> exportFiles()
{
    return {saveFile(&Export::shp, "SHP soubor :", "Otevření výstupního SHP souboru pro GIS ...", kShp)
                .tooltip("Dialog pro výběr SHP souboru")
                .enabledWhen(&Export::target, {0}),
            saveFile(&Export::shx, "SHX soubor :", "Otevření výstupního SHX souboru pro GIS ...", kShx)
                .tooltip("Dialog pro výběr SHX souboru")
                .enabledWhen(&Export::target, {0}),
            saveFile(&Export::mif, "MIF soubor :", "Otevření výstupního MIF souboru pro MapInfo ...",
                     "MIF soubor *.mif|*.mif")
                .tooltip("Dialog pro výběr MIF souboru")
                .enabledWhen(&Export::target, {1}),
            saveFile(&Export::mid, "MID soubor :", "Otevření výstupního MID souboru pro MapInfo ...",
                     "MID soubor *.mid|*.mid")
                .tooltip("Dialog pro výběr MID souboru")
                .enabledWhen(&Export::target, {1}),
            saveFile(&Export::txt, "Textový soubor : ", "Otevření výstupního TXT souboru ...", kTxt)
                .tooltip("Dialog pro výběr TXT souboru")
                .enabledWhen(&Export::target, {2})};
}

// The GIS formats' output and the column of the raster and the isobands.
std::vector<FieldBuilder> gisFields()
{
    return {saveFile(&Gis::output, "Soubor GIS : ", "Otevření výstupního souboru GIS ...",
                     "GeoPackage *.gpkg|*.gpkg|GeoJSON *.geojson|*.geojson|KML *.kml|*.kml|CSV *.csv|*.csv|"
                     "GeoTIFF *.tif|*.tif|Všechny soubory *.*|*.*")
                .tooltip("Dialog pro výběr souboru GIS (prázdné jméno: jméno DBF souboru s příponou formátu)")
                .enabledWhen(&Export::target, {3, 4, 5, 6, 7}),
            text(&Gis::column, "Sloupec hodnot : ")
                .tooltip("Sloupec DBF souboru pro GeoTIFF a pro izopásma v GeoPackage")
                .enabledWhen(&Export::target, {3, 7})};
}

}  // namespace

ToolForm dbfExportForm()
{
    using Self = DbfExportSettings;
    return FormBuilder("dbf-export", "Zobrazení a export DBF souboru",
                       {"Převeď", "Průběh exportu ", "Provedení exportu do zvoleného souboru"})
        .fields({
            openFile(&Self::input, "DBF soubor :", "Otevření vstupního DBF souboru ...", kDbf)
                .tooltip("Dialog pro výběr DBF souboru"),
            choice(&Self::target,
                   {"export do souborů pro zobrazení v GIS", "export do souborů pro zobrazení v MapInfo",
                    "export do textového souboru s možností výběru sloupce",
                    "export do GeoPackage (body, izolinie, zdroje, izopásma)", "export do GeoJSON (WGS 84)",
                    "export do KML (WGS 84)", "export do CSV se souřadnicemi", "export sloupce do rastru GeoTIFF"}),
            exportFiles(),
            gisFields(),
        })
        .names("Vytvoření jmen výstupních souborů na základě vstupního souboru")
        .followingName(&Self::shp, &Self::input, 3, "shp")
        .followingName(&Self::shx, &Self::input, 3, "shx")
        .name(&Self::mif, &Self::input, 3, "mif")
        .name(&Self::mid, &Self::input, 3, "mid")
        .name(&Self::txt, &Self::input, 3, "txt")
        .tables({"Nalezené hodnoty DBF souboru"})
        .view("zobrazit hodnoty", "dbf-show", &Self::input)
        .before(BeforeRun::ChooseDbfColumns);
}

ToolForm isolinesForm()
{
    using Self = IsolineSettings;
    constexpr std::string_view kLattice = "Rozdělení oblasti na trojúhelníky ";
    constexpr std::string_view kLevels = "Rozdělení izolinií ";
    constexpr std::string_view kOutputs = "Výstupní soubory izolinií";
    return FormBuilder("isolines", "Vytvoření izolinií",
                       {"Vytvořit", "Průběh výpočtu ", "Vytvoření souborů s izoliniemi", "Ukončit"})
        .fields({
            group("Vstupní soubor ",
                  {openFile(&Self::input, "DBF soubor :", "Otevření vstupního DBF souboru ...", kDbf)}),
            group(kOutputs,
                  {saveFile(&Self::shp, "SHP soubor :", "Otevření výstupního SHP souboru pro GIS ...", kShp),
                   saveFile(&Self::shx, "SHX soubor :", "Otevření výstupního SHX souboru pro GIS ...", kShx),
                   saveFile(&Self::dbf, "DBF soubor :", "Otevření výstupního DBF souboru ...", kDbf)}),
            group("Vyhledávání bodů s nejbližší hodnotou",
                  {list(&Self::neighbourPosition, "Počet bodů :", {" 6", " 7", " 8", " 9", "10", "11", "12"})
                       .alsoText(&Self::neighbourText)}),
            group("Výběr sloupce s hodnotami ",
                  {dbfColumn(&Self::column, "Jméno sloupce :")
                       .columnsOf(&Self::input)
                       .button(RereadColumns{}, "Aktualizace seznamu sloupců vstupního DBF souboru")}),
            group(kLattice,
                  {choice(&Self::latticeMode,
                          {"Podle počtu úseků na straně", "Podle počtu vrcholů trojúhelníků",
                           "Podle velikosti úseku na straně"})
                       .startingColumn(),
                   integer(&Self::segmentsPerSide, "počet úseků :").enabledWhen(&Self::latticeMode, {0}),
                   integer(&Self::vertexCount, "počet vrcholů :").enabledWhen(&Self::latticeMode, {1}),
                   decimal(&Self::segmentLength, "velikost úseku (m) :").enabledWhen(&Self::latticeMode, {2})}),
            group(kLevels,
                  {choice(&Self::levelMode, {"na odstupňovanou škálu", "podle seznamu jmenovitých hodnot"}),
                   decimal(&Self::scaleFrom, "od :").enabledWhen(&Self::levelMode, {0}),
                   decimal(&Self::scaleStep, "po kroku :").enabledWhen(&Self::levelMode, {0}),
                   decimal(&Self::nominalValue, "Hodnota :")
                       .enabledWhen(&Self::levelMode, {1})
                       .button(AddNominal{}, "Přidání jmenovité hodnoty do seznamu"),
                   valueList(&Self::nominalList, "Seznam hodnot :")
                       .enabledWhen(&Self::levelMode, {1})
                       .button(RemoveNominal{}, "Odebrání jmenovité hodnoty ze seznamu")}),
        })
        .names("Vytvoření jmen výstupních souborů na základě vstupního souboru")
        .name(&Self::shp, &Self::input, 4, "_izolinie.shp")
        .name(&Self::shx, &Self::input, 4, "_izolinie.shx")
        .name(&Self::dbf, &Self::input, 4, "_izolinie.dbf")
        .done("Vytváření izolinií dokončeno.");
}

}  // namespace ovd::mainui
