// The forms of the input tools: conversion, checks, reference grid, terrain, heights and
// coordinates.
#include "form_parts.h"
#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"
#include "geotools/reference_grid.h"
#include "inputs/conversion.h"
#include "inputs/height_fill.h"
#include "inputs/input_checks.h"
#include "inputs/terrain_conversion.h"

namespace ovd::mainui {

namespace {

// The text inputs of the sources, the conversion's and the check's alike.
template <class S>
std::vector<FieldBuilder> sourceTexts(std::string_view sources, std::string_view description, std::string_view dust,
                                      std::string_view groups)
{
    return {openFile(&S::sourcesText, sources, "Otevření vstupního souboru se zdroji ...", kTxt),
            openFile(&S::descriptionText, description, "Otevření vstupního souboru s popisem zdrojů ...", kTxt),
            openFile(&S::dustText, dust, "Otevření vstupního souboru s popisem prachu ...", kTxt)
                .enabledWhen(&S::dust, true),
            openFile(&S::dustGroupsText, groups, "Otevření vstupního souboru s prachovými skupinami ...", kTxt)
                .enabledWhen(&S::dust, true)};
}

// A check's dialog: the files it checks, one "Zkontroluj" button and the report's lists.
FormBuilder checkForm(std::string_view id, std::string_view title, std::string_view progress = {})
{
    return FormBuilder(id, title, {.run = "Zkontroluj", .progress = progress});
}

}  // namespace

ToolForm convertForm()
{
    using Self = ConversionSettings;
    std::vector<FieldBuilder> texts =
        sourceTexts<Self>("Textový soubor se zdroji :", "Textový soubor s popisem zdrojů :",
                          "Textový soubor s popisem prachu :", "Textový soubor s prachovými skupinami :");
    texts[0]
        .launches(Editor::SourcesOnFiles, "Dialog pro vytvoření souborů")
        .opens("check-sources", "Dialog pro kontrolu souborů");
    return FormBuilder("convert", "Převod textových souborů na binární soubory", kConvertButtons)
        .fields({
            openFile(&Self::pointsText,
                     "Textový soubor s referenčními body :", "Otevření vstupního souboru s referenčními body ...", kTxt)
                .opens("grid", "Dialog pro vytvoření souboru")
                .opens("check-points", "Dialog pro kontrolu souboru"),
            texts,
            choice(&Self::dust, "Výpočet pro ... ", {kGas, kDust})
                .optionTips({"Volba převodu souborů pro plynné látky", "Volba převodu souborů pro prachové částice"}),
            check(&Self::sortByAlfa, "Setřídit výstupní soubor podle parametru ALFA"),
            saveFile(&Self::pointsBinary, "Binární soubor s referenčními body :",
                     "Otevření výstupního souboru s referenčními body ...", kBin),
            saveFile(&Self::sourcesBinary, "Binární soubor se zdroji :", "Otevření výstupního souboru se zdroji ...",
                     kBin),
        })
        .names("Vytvoření jmen výstupních souborů na základě vstupních souborů")
        .name(&Self::pointsBinary, &Self::pointsText, 3, "bin")
        .name(&Self::sourcesBinary, &Self::sourcesText, 3, "bin");
}

ToolForm checkPointsForm()
{
    using Self = PointCheckSettings;
    return checkForm("check-points", "Kontrola vstupního souboru s referenčními body")
        .fields({openFile(&Self::pointsText,
                          "Soubor s referenčními body :", "Otevření vstupního souboru s referenčními body ...", kTxt)})
        .tables({"Nalezené hodnoty referenčních bodů :", "Výsledek kontroly :"});
}

ToolForm checkSourcesForm()
{
    using Self = SourceCheckSettings;
    return checkForm("check-sources", "Kontrola vstupních souborů s údaji o zdrojích")
        .fields({sourceTexts<Self>("Soubor se souřadnicemi zdrojů :", "Soubor s popisem zdrojů :",
                                   "Soubor s popisem prachu :", "Soubor s prachovými skupinami :"),
                 choice(&Self::dust, {kGas, kDust})})
        .tables(
            {"Textový soubor se souřadnicemi zdrojů :", "Textový soubor s popisem zdrojů :", "Výsledek kontroly :"});
}

ToolForm gridForm()
{
    using Self = GridSettings;
    return FormBuilder("grid", "Vytvoření sítě referenčních bodů ",
                       {.run = "Vytvoř", .tip = "Vytvoření souboru referenčních bodů"})
        .fields({
            group("Počáteční bod (levý dolní) ",
                  {decimal(&Self::startX, "souřadnice X :"), decimal(&Self::startY, "souřadnice Y :")}),
            group("Vzdálenost bodů od sebe",
                  {decimal(&Self::stepX, "ve směru osy X :"), decimal(&Self::stepY, "ve směru osy Y :")}),
            group("Počet bodů",
                  {integer(&Self::countX, "ve směru osy X :"), integer(&Self::countY, "ve směru osy Y :")}),
            decimal(&Self::heightL, "Standardní  hodnota L (výška nad terénem) :"),
            integer(&Self::firstNumber, "Počáteční číslo ref. bodu (pouze pro nový soubor) :"),
            group("Výstupní soubor ",
                  {saveFile(&Self::output, "Textový soubor :", "Otevření výstupního textového souboru ...",
                            "TXT soubor *.txt|*.txt|Všechny soubory *.*|*.*")
                       .tooltip("Dialog pro výběr textového souboru")
                       .opens("heights", "Dialog pro dopočet Z-souřadnice bodů"),
                   check(&Self::append, "Připojit data na konec existujícího souboru")}),
        })
        .result(&Self::output);
}

ToolForm terrainForm()
{
    using Self = TerrainSettings;
    return FormBuilder("terrain", "Převod textové matice výškopisu na binární soubor",
                       {.run = "Převeď", .progress = "Průběh převodu ", .close = "&Ukonči"})
        .fields({
            openFile(&Self::textInput, "Textový soubor s výškopisem :", "Otevření vstupní matice s výškopisem ...",
                     kTerrainTxt)
                .opens("check-terrain", "Dialog pro kontrolu souboru"),
            saveFile(&Self::binaryOutput, "Binární soubor s výškopisem :", "Otevření výstupní matice s výškopisem ...",
                     kBin),
            choice(kTerrainElement, "Výška oblasti jako ", {"celé číslo", "celé číslo >32768", "reálné číslo"}),
        })
        .names("Vytvoření jména výstupního souboru na základě vstupního souboru")
        .name(&Self::binaryOutput, &Self::textInput, 3, "bin");
}

ToolForm checkTerrainForm()
{
    using Self = TerrainSettings;
    return checkForm("check-terrain", "Kontrola textové matice výškopisu", "Průběh kontroly ")
        .fields({openFile(&Self::textInput, "Textový soubor s výškopisem :", "Otevření vstupní matice s výškopisem ...",
                          kTerrainTxt)})
        .tables({"Výsledek kontroly :"});
}

ToolForm heightsForm()
{
    using Self = HeightFillSettings;
    return FormBuilder("heights", "Dopočet Z-souřadnic", {.run = "Doplň", .progress = "Průběh doplnění "})
        .fields({
            openFile(&Self::input, "Textový soubor se souřadnicemi :", "Otevření vstupního souboru se souřadnicemi ...",
                     kTxt),
            openFile(&Self::terrain, "Binární matice výškopisu :", "Otevření vstupního souboru s výškopisem ...", kBin),
            check(&Self::overwrite, "přepsat vstupní soubor"),
            check(&Self::interpolate, "použít k dopočtu interpolaci"),
            saveFile(&Self::output, "Textový soubor :", "Otevření výstupního souboru ...", kTxt)
                .enabledWhen(&Self::overwrite, false),
        });
}

ToolForm coordsTableForm()
{
    using Self = CoordTableSettings;
    return FormBuilder("coords-table", "Převod textového souboru s převodní tabulkou na binární soubor",
                       kConvertButtons)
        .fields({
            openFile(&Self::textTable, "Textový soubor s převodní tabulkou :",
                     "Otevření vstupního souboru s převodní tabulkou ...", kTxt),
            saveFile(&Self::binaryTable, "Binární soubor s převodní tabulkou :",
                     "Otevření výstupního souboru s převodní tabulkou ...", kBin),
        });
}

ToolForm coordsForm()
{
    using Self = CoordRecomputeSettings;
    return FormBuilder("coords", "Přepočet souřadnic s volbou datového souboru", kConvertButtons)
        .fields({
            choice(&Self::withDescription,
                   {"soubor souřadnic zdrojů nebo referenčních bodů", "soubory souřadnic a popisu zdrojů"}),
            group("Vstupní soubory ",
                  {openFile(&Self::coordinates,
                            "Textový soubor se souřadnicemi :", "Otevření vstupního souboru se souřadnicemi ...", kTxt),
                   openFile(&Self::description, "Textový soubor s popisem zdrojů :",
                            "Otevření vstupního souboru s popisem zdrojů ...", kTxt)
                       .enabledWhen(&Self::withDescription, true),
                   check(&Self::overwrite, "přepsat vstupní soubory"),
                   choice(&Self::degrees, {"des. čísla", "stup/min/vt"})}),
            openFile(&Self::table, "Binární soubor s převodní tabulkou :", "Otevření souboru s převodní tabulkou ...",
                     kBin)
                .opens("coords-table", "Převod textového souboru s převodní tabulkou na binární soubor"),
            group("Výstupní soubory ",
                  {saveFile(&Self::coordinatesOutput,
                            "Textový soubor se souřadnicemi :", "Otevření výstupního souboru se souřadnicemi ...", kTxt)
                       .enabledWhen(&Self::overwrite, false),
                   saveFile(&Self::descriptionOutput, "Textový soubor s popisem zdrojů :",
                            "Otevření výstupního souboru s popisem zdrojů ...", kTxt)
                       .enabledWhen(&Self::overwrite, false)
                       .enabledWhen(&Self::withDescription, true)}),
        });
}

}  // namespace ovd::mainui
