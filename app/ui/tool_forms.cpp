#include "tool_form.h"

#include "common/paths.h"

namespace ovd::mainui {

namespace {

using K = FieldKind;

constexpr const char* kTxt = "Textový soubor *.txt|*.txt|Všechny soubory *.*|*.*";
constexpr const char* kBin = "Binární soubor *.bin|*.bin|Všechny soubory *.*|*.*";
constexpr const char* kDbf = "DBF soubor *.dbf|*.dbf";
constexpr const char* kShp = "SHP soubor *.shp|*.shp";
constexpr const char* kShx = "SHX soubor *.shx|*.shx";
constexpr const char* kTerrainTxt =
    "Textový soubor *.txt|*.txt|Textový soubor aplikace Surfer *.grd|*.grd|Všechny soubory *.*|*.*";
constexpr const char* kGasDust = "plynné látky|prachové částice";
constexpr const char* kSubstanceClasses = "I - 20 hodin|II - 6 dní|III - 2 roky";
constexpr const char* kDbfViewTip = "Zobrazení a export DBF souboru";

// Fields several tools show alike.
constexpr FieldForm kPointsBinary{K::OpenFile,
                                  "Binární soubor s referenčními body :",
                                  "VstReferBodBin",
                                  "",
                                  "Otevření vstupního souboru s referenčními body ...",
                                  kBin};
constexpr FieldForm kSourcesBinary{
    K::OpenFile, "Binární soubor se zdroji :", "VstZdrojBodBin", "", "Otevření vstupního souboru se zdroji ...", kBin};
constexpr FieldForm kTheta{
    K::OpenFile, "Binární matice Theta :", "VstThetaBin", "", "Otevření vstupního souboru s maticí Theta ...", kBin};
constexpr FieldForm kDelta{
    K::OpenFile, "Binární matice Delta :", "VstDeltaBin", "", "Otevření vstupního souboru s maticí Delta ...", kBin};
constexpr FieldForm kZmax{
    K::OpenFile, "Binární matice Zmax :", "VstZmaxBin", "", "Otevření vstupního souboru s maticí Zmax ...", kBin};
constexpr FieldForm kNearbySources{K::Check, "Akceptovat blízké zdroje", "BlizkeZdroje"};
constexpr FieldForm kClusters{K::OpenFile,
                              "Textový soubor s popisem shluků :",
                              "VstPopisTxt",
                              "",
                              "Otevření vstupního souboru s popisem shluků ...",
                              kTxt,
                              "",
                              "",
                              "BlizkeZdroje=1"};
constexpr FieldForm kGasOrDust{K::Choice, "", "TypVypoctu", "", "", "", kGasDust};
constexpr FieldForm kSubstanceClass{K::Choice, "Třída látky", "TridaLatky", "", "", "", kSubstanceClasses,
                                    "",        "TypVypoctu=0"};

ToolForm convertForm()
{
    return ToolForm{
        "convert",
        "Převod textových souborů na binární soubory",
        "Převeď",
        "",
        "Ukonči",
        "Průběh převodu ",
        {
            {K::OpenFile, "Textový soubor s referenčními body :", "VstReferBodTxt", "",
             "Otevření vstupního souboru s referenčními body ...", kTxt, "", "", "", "grid|check-points",
             "Dialog pro vytvoření souboru|Dialog pro kontrolu souboru"},
            {K::OpenFile, "Textový soubor se zdroji :", "VstZdrojBodTxt", "",
             "Otevření vstupního souboru se zdroji ...", kTxt, "", "", "", "@sources-files|check-sources",
             "Dialog pro vytvoření souborů|Dialog pro kontrolu souborů"},
            {K::OpenFile, "Textový soubor s popisem zdrojů :", "VstZdrojPopTxt", "",
             "Otevření vstupního souboru s popisem zdrojů ...", kTxt},
            {K::OpenFile, "Textový soubor s popisem prachu :", "VstZdrojPrachTxt", "",
             "Otevření vstupního souboru s popisem prachu ...", kTxt, "", "", "TypVypoctu=1"},
            {K::OpenFile, "Textový soubor s prachovými skupinami :", "VstZdrojSkupTxt", "",
             "Otevření vstupního souboru s prachovými skupinami ...", kTxt, "", "", "TypVypoctu=1"},
            {K::Choice, "Výpočet pro ... ", "TypVypoctu",
             "Volba převodu souborů pro plynné látky|Volba převodu souborů pro prachové částice", "", "", kGasDust},
            {K::Check, "Setřídit výstupní soubor podle parametru ALFA", "TriditPodleAlfa"},
            {K::SaveFile, "Binární soubor s referenčními body :", "VstReferBodBin", "",
             "Otevření výstupního souboru s referenčními body ...", kBin},
            {K::SaveFile, "Binární soubor se zdroji :", "VstZdrojBodBin", "",
             "Otevření výstupního souboru se zdroji ...", kBin},
        },
        "Vytvoření jmen výstupních souborů na základě vstupních souborů",
        {{"VstReferBodBin", "VstReferBodTxt", 3, "bin"}, {"VstZdrojBodBin", "VstZdrojBodTxt", 3, "bin"}}};
}

// A check's dialog: the files it checks, one "Zkontroluj" button and the captions of the
// report's lists.
ToolForm checkForm(const char* id, const char* title, const char* progressTitle, std::vector<FieldForm> fields,
                   const char* outputTitle)
{
    return ToolForm{.id = id,
                    .title = title,
                    .runLabel = "Zkontroluj",
                    .runTooltip = "",
                    .closeLabel = "Ukonči",
                    .progressTitle = progressTitle,
                    .fields = std::move(fields),
                    .outputTitle = outputTitle};
}

ToolForm checkPointsForm()
{
    return checkForm("check-points", "Kontrola vstupního souboru s referenčními body", "",
                     {{K::OpenFile, "Soubor s referenčními body :", "VstReferBodTxt", "",
                       "Otevření vstupního souboru s referenčními body ...", kTxt}},
                     "Nalezené hodnoty referenčních bodů :|Výsledek kontroly :");
}

ToolForm checkSourcesForm()
{
    return checkForm("check-sources", "Kontrola vstupních souborů s údaji o zdrojích", "",
                     {
                         {K::OpenFile, "Soubor se souřadnicemi zdrojů :", "VstZdrojBodTxt", "",
                          "Otevření vstupního souboru se zdroji ...", kTxt},
                         {K::OpenFile, "Soubor s popisem zdrojů :", "VstZdrojPopTxt", "",
                          "Otevření vstupního souboru s popisem zdrojů ...", kTxt},
                         {K::OpenFile, "Soubor s popisem prachu :", "VstZdrojPrachTxt", "",
                          "Otevření vstupního souboru s popisem prachu ...", kTxt, "", "", "TypVypoctu=1"},
                         {K::OpenFile, "Soubor s prachovými skupinami :", "VstZdrojSkupTxt", "",
                          "Otevření vstupního souboru s prachovými skupinami ...", kTxt, "", "", "TypVypoctu=1"},
                         kGasOrDust,
                     },
                     "Textový soubor se souřadnicemi zdrojů :|Textový soubor s popisem zdrojů :|Výsledek kontroly :");
}

ToolForm gridForm()
{
    ToolForm f{
        "grid",
        "Vytvoření sítě referenčních bodů ",
        "Vytvoř",
        "Vytvoření souboru referenčních bodů",
        "Ukonči",
        "",
        {
            {K::Decimal, "souřadnice X :", "PocBodX", "", "", "", "", "Počáteční bod (levý dolní) "},
            {K::Decimal, "souřadnice Y :", "PocBodY", "", "", "", "", "Počáteční bod (levý dolní) "},
            {K::Decimal, "ve směru osy X :", "KrokX", "", "", "", "", "Vzdálenost bodů od sebe"},
            {K::Decimal, "ve směru osy Y :", "KrokY", "", "", "", "", "Vzdálenost bodů od sebe"},
            {K::Integer, "ve směru osy X :", "PocetX", "", "", "", "", "Počet bodů"},
            {K::Integer, "ve směru osy Y :", "PocetY", "", "", "", "", "Počet bodů"},
            {K::Decimal, "Standardní  hodnota L (výška nad terénem) :", "HodnotaL"},
            {K::Integer, "Počáteční číslo ref. bodu (pouze pro nový soubor) :", "Pocatekrefer"},
            {K::SaveFile, "Textový soubor :", "VystTxt", "Dialog pro výběr textového souboru",
             "Otevření výstupního textového souboru ...", "TXT soubor *.txt|*.txt|Všechny soubory *.*|*.*", "",
             "Výstupní soubor ", "", "heights", "Dialog pro dopočet Z-souřadnice bodů"},
            {K::Check, "Připojit data na konec existujícího souboru", "PripojData", "", "", "", "", "Výstupní soubor "},
        }};
    f.resultKey = "VystTxt";
    return f;
}

ToolForm terrainForm()
{
    return ToolForm{
        "terrain",
        "Převod textové matice výškopisu na binární soubor",
        "Převeď",
        "",
        "&Ukonči",
        "Průběh převodu ",
        {
            {K::OpenFile, "Textový soubor s výškopisem :", "VstVyskoTxt", "",
             "Otevření vstupní matice s výškopisem ...", kTerrainTxt, "", "", "", "check-terrain",
             "Dialog pro kontrolu souboru"},
            {K::SaveFile, "Binární soubor s výškopisem :", "VstVyskoBin", "",
             "Otevření výstupní matice s výškopisem ...", kBin},
            {K::Choice, "Výška oblasti jako ", "TypZapisu", "", "", "", "celé číslo|celé číslo >32768|reálné číslo"},
        },
        "Vytvoření jména výstupního souboru na základě vstupního souboru",
        {{"VstVyskoBin", "VstVyskoTxt", 3, "bin"}}};
}

ToolForm checkTerrainForm()
{
    return checkForm("check-terrain", "Kontrola textové matice výškopisu", "Průběh kontroly ",
                     {{K::OpenFile, "Textový soubor s výškopisem :", "VstVyskoTxt", "",
                       "Otevření vstupní matice s výškopisem ...", kTerrainTxt}},
                     "Výsledek kontroly :");
}

ToolForm heightsForm()
{
    return ToolForm{"heights",
                    "Dopočet Z-souřadnic",
                    "Doplň",
                    "",
                    "Ukonči",
                    "Průběh doplnění ",
                    {
                        {K::OpenFile, "Textový soubor se souřadnicemi :", "VstSouradniceTxt", "",
                         "Otevření vstupního souboru se souřadnicemi ...", kTxt},
                        {K::OpenFile, "Binární matice výškopisu :", "VstVyskoBin", "",
                         "Otevření vstupního souboru s výškopisem ...", kBin},
                        {K::Check, "přepsat vstupní soubor", "PrepsatSoubor"},
                        {K::Check, "použít k dopočtu interpolaci", "PouzijInterpolaci"},
                        {K::SaveFile, "Textový soubor :", "VystSouborTxt", "", "Otevření výstupního souboru ...", kTxt,
                         "", "", "PrepsatSoubor=0"},
                    }};
}

ToolForm coordsTableForm()
{
    return ToolForm{"coords-table",
                    "Převod textového souboru s převodní tabulkou na binární soubor",
                    "Převeď",
                    "",
                    "Ukonči",
                    "Průběh převodu ",
                    {
                        {K::OpenFile, "Textový soubor s převodní tabulkou :", "VstTxtPrevod", "",
                         "Otevření vstupního souboru s převodní tabulkou ...", kTxt},
                        {K::SaveFile, "Binární soubor s převodní tabulkou :", "VystBinPrevod", "",
                         "Otevření výstupního souboru s převodní tabulkou ...", kBin},
                    }};
}

ToolForm coordsForm()
{
    return ToolForm{
        "coords",
        "Přepočet souřadnic s volbou datového souboru",
        "Převeď",
        "",
        "Ukonči",
        "Průběh převodu ",
        {
            {K::Choice, "", "TypSouboru", "", "", "",
             "soubor souřadnic zdrojů nebo referenčních bodů|soubory souřadnic a popisu zdrojů"},
            {K::OpenFile, "Textový soubor se souřadnicemi :", "VstSourad", "",
             "Otevření vstupního souboru se souřadnicemi ...", kTxt, "", "Vstupní soubory "},
            {K::OpenFile, "Textový soubor s popisem zdrojů :", "VstPopis", "",
             "Otevření vstupního souboru s popisem zdrojů ...", kTxt, "", "Vstupní soubory ", "TypSouboru=1"},
            {K::Check, "přepsat vstupní soubory", "PrepsatSoubor", "", "", "", "", "Vstupní soubory "},
            {K::Choice, "", "DesetinyMinuty", "", "", "", "des. čísla|stup/min/vt", "Vstupní soubory "},
            {K::OpenFile, "Binární soubor s převodní tabulkou :", "VstBinSourad", "",
             "Otevření souboru s převodní tabulkou ...", kBin, "", "", "", "coords-table",
             "Převod textového souboru s převodní tabulkou na binární soubor"},
            {K::SaveFile, "Textový soubor se souřadnicemi :", "VystSourad", "",
             "Otevření výstupního souboru se souřadnicemi ...", kTxt, "", "Výstupní soubory ", "PrepsatSoubor=0"},
            {K::SaveFile, "Textový soubor s popisem zdrojů :", "VystPopis", "",
             "Otevření výstupního souboru s popisem zdrojů ...", kTxt, "", "Výstupní soubory ",
             "PrepsatSoubor=0;TypSouboru=1"},
        }};
}

ToolForm coefficientsForm()
{
    const char* matrixTip = "Dialog pro kontrolu a export binární matice";
    return ToolForm{
        "coefficients",
        "Výpočet koeficientů Theta, Delta, ZMax",
        "Počítej",
        "",
        "Ukonči",
        "Průběh výpočtu ",
        {
            {K::OpenFile, "Binární soubor s výškopisem :", "VstVyskoBin", "",
             "Otevření vstupního souboru s výškopisem ...", kBin, "", "", "", "terrain",
             "Dialog pro vytvoření binárního souboru s výškopisem"},
            kPointsBinary,
            kSourcesBinary,
            {K::SaveFile, "Binární soubor pro THETU :", "VstThetaBin", "", "Otevření výstupního souboru pro Thetu ...",
             kBin, "", "", "", "matrix-export", matrixTip, "MaticeExport/VstBinMatice"},
            {K::SaveFile, "Binární matice pro DELTU :", "VstDeltaBin", "", "Otevření výstupního souboru pro Deltu ...",
             kBin, "", "", "", "matrix-export", matrixTip, "MaticeExport/VstBinMatice"},
            {K::SaveFile, "Binární matice pro ZMAX :", "VstZmaxBin", "", "Otevření výstupního souboru pro ZMax ...",
             kBin, "", "", "", "matrix-export", matrixTip, "MaticeExport/VstBinMatice"},
            {K::Integer, "Vzdálenost mezi vnitřními body :", "VzdalenostBodu"},
            {K::Check, "použít k výpočtu interpolaci", "PouzijInterpolaci"},
        },
        "Vytvoření jmen výstupních souborů na základě souboru se zdroji",
        {{"VstThetaBin", "VstZdrojBodBin", 0, "theta.bin", true},
         {"VstDeltaBin", "VstZdrojBodBin", 0, "delta.bin", true},
         {"VstZmaxBin", "VstZdrojBodBin", 0, "zmax.bin", true}}};
}

ToolForm matrixExportForm()
{
    ToolForm f{"matrix-export",
               "Kontrola a export binární matice",
               "Převeď",
               "",
               "Ukonči",
               "Průběh převodu ",
               {
                   {K::OpenFile, "Binární soubor s maticí :", "VstBinMatice", "",
                    "Otevření vstupního souboru s binární maticí ...", kBin},
                   {K::SaveFile, "Textový soubor s maticí :", "VystTxtMatice", "",
                    "Otevření výstupního souboru s textovou maticí ...", kTxt},
               },
               "Vytvoření jména výstupního souboru na základě vstupního souboru",
               {{"VystTxtMatice", "VstBinMatice", 3, "txt"}},
               "Nalezená hlavička binárního souboru|Nalezené hodnoty binárního souboru",
               "zobrazit hodnoty",
               "matrix-show",
               "VstBinMatice"};
    f.viewUncheckedArg = "--header";
    return f;
}

// The dialog of a run over the study: its five binary inputs first, then the tool's own fields.
ToolForm studyRunForm(const char* id, const char* title, std::initializer_list<FieldForm> own)
{
    std::vector<FieldForm> fields{kPointsBinary, kSourcesBinary, kTheta, kDelta, kZmax};
    fields.insert(fields.end(), own);
    return ToolForm{.id = id,
                    .title = title,
                    .runLabel = "Počítej",
                    .runTooltip = "",
                    .closeLabel = "Ukonči",
                    .progressTitle = "Průběh výpočtu ",
                    .fields = std::move(fields)};
}

ToolForm concentrationsForm()
{
    ToolForm f = studyRunForm(
        "concentrations", "Výpočet ročních a maximálních koncentrací znečištujících látek",
        {
            {K::OpenFile, "Textový soubor s větrnou růžicí :", "VstRuziceTxt", "",
             "Otevření vstupního souboru s větrnou růžicí ...", kTxt, "", "", "", "@windrose",
             "Dialog pro vytvoření souboru s větrnou růžicí"},
            kNearbySources,
            kClusters,
            {K::Choice, "", "ZpusobVypoctu", "", "", "", "roční koncentrace|maximální koncentrace"},
            kGasOrDust,
            {K::Substance, "Znečišťující látka; třída látky;      doby překročení :", "PoziceLatky", "", "", "", "", "",
             "TypVypoctu=0"},
            kSubstanceClass,
            // Dust runs count exceedance hours too: the limits stay open in the dust mode.
            {K::Decimal, "Koncentrace 1 :", "KoncDobyPrek1"},
            {K::Decimal, "Koncentrace 2 :", "KoncDobyPrek2"},
            {K::Decimal, "Koncentrace 3 :", "KoncDobyPrek3"},
            {K::Decimal, "Otočení :", "OtoceniRuzice"},
            {K::Check, "vlevo", "OtoceniRuziceVlevo"},
            {K::Choice, "Po stupni", "KrokVypoctu", "", "", "", "0.5 °|1 °|3 °|vlastní"},
            {K::Decimal, "vlastní :", "KrokVypoctuVlastni", "", "", "", "", "", "KrokVypoctu=3"},
            {K::SaveFile, "DBF soubor ročních koncentrací :", "VystDbf", "", "Otevření výstupního DBF souboru ...",
             kDbf, "", "", "", "dbf-export", kDbfViewTip, "DbfExport/VstDbf",
             "Nebyl zadán výstupní DBF soubor s výsledky výpočtu  !",
             "DBF soubor maximálních koncentrací :", "ZpusobVypoctu=1"},
            {K::Check, "počítat podíly skupin zdrojů", "PodilySkupinZdroju"},
            {K::SaveFile, "Soubor s podíly skupin zdrojů :", "VystDbfPodily", "", "Otevření výstupního DBF souboru ...",
             kDbf, "", "", "PodilySkupinZdroju=1", "dbf-export", kDbfViewTip, "DbfExport/VstDbf",
             "Nebyl zadán výstupní DBF soubor s výsledky podílů skupin zdrojů !"},
            {K::Check, "výpočet ve volné atmosféře", "VolnaAtmosfera"},
            {K::Check, "spustit minimalizovaně", "SpustMinim"},
        });
    f.secondColumn = "PoziceLatky";
    return f;
}

// One weather situation: the stability class, wind speed and direction replace the wind
// rose. For dust there is no decay, so the substance controls are disabled as above.
ToolForm dailyForm()
{
    return studyRunForm("daily", "Výpočet denních koncentrací znečišťujících látek",
                        {
                            kNearbySources,
                            kClusters,
                            kGasOrDust,
                            {K::Substance, "zneč. látka; třída látky; doby překročení ", "PoziceLatky", "", "", "", "",
                             "", "TypVypoctu=0"},
                            {K::Choice, "Třída stability", "TridaStability", "", "", "",
                             "superstabilní|stabilní|izotermní|normální|konvektivní"},
                            {K::Decimal, "Rychlost :", "RychlostVetru"},
                            {K::Decimal, "Směr :", "SmerVetru"},
                            kSubstanceClass,
                            {K::SaveFile, "DBF soubor denních koncentrací :", "VystDbf", "",
                             "Otevření výstupního DBF souboru ...", kDbf, "", "", "", "dbf-export", kDbfViewTip,
                             "DbfExport/VstDbf", "Nebyl zadán výstupní DBF soubor s výsledky výpočtu !"},
                        });
}

ToolForm dbfExportForm()
{
    return ToolForm{
        "dbf-export",
        "Zobrazení a export DBF souboru",
        "Převeď",
        "Provedení exportu do zvoleného souboru",
        "Ukonči",
        "Průběh exportu ",
        {
            {K::OpenFile, "DBF soubor :", "VstDbf", "Dialog pro výběr DBF souboru",
             "Otevření vstupního DBF souboru ...", kDbf},
            {K::Choice, "", "ZapisGis", "", "", "",
             "export do souborů pro zobrazení v GIS|export do souborů pro zobrazení v MapInfo|"
             "export do textového souboru s možností výběru sloupce|"
             "export do GeoPackage (body, izolinie, zdroje, izopásma)|export do GeoJSON (WGS 84)|"
             "export do KML (WGS 84)|export do CSV se souřadnicemi|export sloupce do rastru GeoTIFF"},
            {K::SaveFile, "SHP soubor :", "VystShp", "Dialog pro výběr SHP souboru",
             "Otevření výstupního SHP souboru pro GIS ...", kShp, "", "", "ZapisGis=0"},
            {K::SaveFile, "SHX soubor :", "VystShx", "Dialog pro výběr SHX souboru",
             "Otevření výstupního SHX souboru pro GIS ...", kShx, "", "", "ZapisGis=0"},
            {K::SaveFile, "MIF soubor :", "VystMif", "Dialog pro výběr MIF souboru",
             "Otevření výstupního MIF souboru pro MapInfo ...", "MIF soubor *.mif|*.mif", "", "", "ZapisGis=1"},
            {K::SaveFile, "MID soubor :", "VystMid", "Dialog pro výběr MID souboru",
             "Otevření výstupního MID souboru pro MapInfo ...", "MID soubor *.mid|*.mid", "", "", "ZapisGis=1"},
            {K::SaveFile, "Textový soubor : ", "VystTxt", "Dialog pro výběr TXT souboru",
             "Otevření výstupního TXT souboru ...", kTxt, "", "", "ZapisGis=2"},
            {K::SaveFile, "Soubor GIS : ", "VystGis",
             "Dialog pro výběr souboru GIS (prázdné jméno: jméno DBF souboru s příponou formátu)",
             "Otevření výstupního souboru GIS ...",
             "GeoPackage *.gpkg|*.gpkg|GeoJSON *.geojson|*.geojson|KML *.kml|*.kml|CSV *.csv|*.csv|"
             "GeoTIFF *.tif|*.tif|Všechny soubory *.*|*.*",
             "", "", "ZapisGis=3,4,5,6,7"},
            {K::Text, "Sloupec hodnot : ", "SloupecGis", "Sloupec DBF souboru pro GeoTIFF a pro izopásma v GeoPackage",
             "", "", "", "", "ZapisGis=3,7"},
        },
        "Vytvoření jmen výstupních souborů na základě vstupního souboru",
        {{"VystShp", "VstDbf", 3, "shp", false, true},
         {"VystShx", "VstDbf", 3, "shx", false, true},
         {"VystMif", "VstDbf", 3, "mif"},
         {"VystMid", "VstDbf", 3, "mid"},
         {"VystTxt", "VstDbf", 3, "txt"}},
        "Nalezené hodnoty DBF souboru",
        "zobrazit hodnoty",
        "dbf-show",
        "VstDbf",
        BeforeRun::ChooseDbfColumns};
}

ToolForm isolinesForm()
{
    ToolForm f{"isolines",
               "Vytvoření izolinií",
               "Vytvořit",
               "Vytvoření souborů s izoliniemi",
               "Ukončit",
               "Průběh výpočtu ",
               {
                   {K::OpenFile, "DBF soubor :", "VstDbf", "", "Otevření vstupního DBF souboru ...", kDbf, "",
                    "Vstupní soubor "},
                   {K::SaveFile, "SHP soubor :", "VystShp", "", "Otevření výstupního SHP souboru pro GIS ...", kShp, "",
                    "Výstupní soubory izolinií"},
                   {K::SaveFile, "SHX soubor :", "VystShx", "", "Otevření výstupního SHX souboru pro GIS ...", kShx, "",
                    "Výstupní soubory izolinií"},
                   {K::SaveFile, "DBF soubor :", "VystDbf", "", "Otevření výstupního DBF souboru ...", kDbf, "",
                    "Výstupní soubory izolinií"},
                   {K::List, "Počet bodů :", "PozPocOkolBodu", "", "", "", " 6| 7| 8| 9|10|11|12",
                    "Vyhledávání bodů s nejbližší hodnotou", "", "", "", "", "", "", "", "PocOkolBodu"},
                   {K::DbfColumn, "Jméno sloupce :", "PozSeznamSloupcu", "", "", "", "", "Výběr sloupce s hodnotami ",
                    "", "!columns", "Aktualizace seznamu sloupců vstupního DBF souboru", "", "", "", "", "", "VstDbf"},
                   {K::Choice, "", "TypTvorbyTrojuhelniku", "", "", "",
                    "Podle počtu úseků na straně|Podle počtu vrcholů trojúhelníků|Podle velikosti úseku na straně",
                    "Rozdělení oblasti na trojúhelníky "},
                   {K::Integer, "počet úseků :", "PocetUsekuNaStrane", "", "", "", "",
                    "Rozdělení oblasti na trojúhelníky ", "TypTvorbyTrojuhelniku=0"},
                   {K::Integer, "počet vrcholů :", "PocetTrojuhelniku", "", "", "", "",
                    "Rozdělení oblasti na trojúhelníky ", "TypTvorbyTrojuhelniku=1"},
                   {K::Decimal, "velikost úseku (m) :", "VelikostUsekuNaStrane", "", "", "", "",
                    "Rozdělení oblasti na trojúhelníky ", "TypTvorbyTrojuhelniku=2"},
                   {K::Choice, "", "TypIzolinie", "", "", "", "na odstupňovanou škálu|podle seznamu jmenovitých hodnot",
                    "Rozdělení izolinií "},
                   {K::Decimal, "od :", "SkalaOd", "", "", "", "", "Rozdělení izolinií ", "TypIzolinie=0"},
                   {K::Decimal, "po kroku :", "SkalaKrok", "", "", "", "", "Rozdělení izolinií ", "TypIzolinie=0"},
                   {K::Decimal, "Hodnota :", "JmenHodnota", "", "", "", "", "Rozdělení izolinií ", "TypIzolinie=1",
                    "+nominal", "Přidání jmenovité hodnoty do seznamu"},
                   {K::ValueList, "Seznam hodnot :", "SeznamJmenHodnot", "", "", "", "", "Rozdělení izolinií ",
                    "TypIzolinie=1", "-nominal", "Odebrání jmenovité hodnoty ze seznamu"},
               },
               "Vytvoření jmen výstupních souborů na základě vstupního souboru",
               {{"VystShp", "VstDbf", 4, "_izolinie.shp"},
                {"VystShx", "VstDbf", 4, "_izolinie.shx"},
                {"VystDbf", "VstDbf", 4, "_izolinie.dbf"}}};
    f.secondColumn = "TypTvorbyTrojuhelniku";
    f.doneStatus = "Vytváření izolinií dokončeno.";
    return f;
}

std::vector<ToolForm> makeForms()
{
    return {convertForm(),      checkPointsForm(),    checkSourcesForm(), gridForm(),      terrainForm(),
            checkTerrainForm(), heightsForm(),        coordsTableForm(),  coordsForm(),    coefficientsForm(),
            matrixExportForm(), concentrationsForm(), dailyForm(),        dbfExportForm(), isolinesForm()};
}

}  // namespace

const std::vector<ToolForm>& toolForms()
{
    static const std::vector<ToolForm> forms = makeForms();
    return forms;
}

const ToolForm* findToolForm(std::string_view id)
{
    for (const ToolForm& s : toolForms())
        if (id == s.id)
            return &s;
    return nullptr;
}

std::string qtFilter(std::string_view filter)
{
    std::string out;
    while (!filter.empty()) {
        std::size_t bar = filter.find('|');
        std::string_view name = filter.substr(0, bar);
        std::string_view pattern;
        if (bar == std::string_view::npos) {
            filter = {};
        } else {
            filter.remove_prefix(bar + 1);
            std::size_t next = filter.find('|');
            pattern = filter.substr(0, next);
            filter = next == std::string_view::npos ? std::string_view{} : filter.substr(next + 1);
        }
        if (!out.empty())
            out += ";;";
        out += std::string(name) + " (" + std::string(pattern.empty() ? "*" : pattern) + ")";
    }
    return out;
}

std::string applyNameRule(const NameRule& rule, const std::string& input)
{
    if (input.empty())
        return {};
    if (rule.folder)
        return folderOf(input) + rule.suffix;
    std::size_t keep = input.size() > static_cast<std::size_t>(rule.cut) ? input.size() - rule.cut : 0;
    return input.substr(0, keep) + rule.suffix;
}

}  // namespace ovd::mainui
