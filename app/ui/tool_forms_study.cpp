// The forms of the study's computations: coefficients, matrices, annual and daily runs.
#include "form_parts.h"
#include "model/coefficient_settings.h"
#include "model/concentration_settings.h"
#include "model/daily_settings.h"
#include "model/matrix_text.h"

namespace ovd::mainui {

namespace {

constexpr std::string_view kMatrixTip = "Dialog pro kontrolu a export binární matice";

// The binary points and sources, the coefficients' inputs and the runs' alike.
template <class S> std::vector<FieldBuilder> pointsAndSources()
{
    return {openFile(&S::points, "Binární soubor s referenčními body :",
                     "Otevření vstupního souboru s referenčními body ...", kBin),
            openFile(&S::sources, "Binární soubor se zdroji :", "Otevření vstupního souboru se zdroji ...", kBin)};
}

// A coefficient matrix made by the coefficients tool, with the matrix viewer beside it.
template <class S> FieldBuilder matrixOutput(std::string S::*m, std::string_view label, std::string_view title)
{
    return saveFile(m, label, title, kBin)
        .opens("matrix-export", kMatrixTip)
        .passing(&MatrixExportSettings::binaryInput);
}

// The dialog of a run over the study: its five binary inputs first, then the tool's own fields.
template <class S> FormBuilder studyRun(std::string_view id, std::string_view title)
{
    FormBuilder f(id, title, kComputeButtons);
    f.fields({pointsAndSources<S>(),
              openFile(&S::theta, "Binární matice Theta :", "Otevření vstupního souboru s maticí Theta ...", kBin),
              openFile(&S::delta, "Binární matice Delta :", "Otevření vstupního souboru s maticí Delta ...", kBin),
              openFile(&S::zmax, "Binární matice Zmax :", "Otevření vstupního souboru s maticí Zmax ...", kBin)});
    return f;
}

// Nearby sources and their clusters, the gas or dust choice: the runs' alike.
template <class S> std::vector<FieldBuilder> sourcesAndMode(bool withMode)
{
    std::vector<FieldBuilder> fields{check(&S::nearbySources, "Akceptovat blízké zdroje"),
                                     openFile(&S::clusters, "Textový soubor s popisem shluků :",
                                              "Otevření vstupního souboru s popisem shluků ...", kTxt)
                                         .enabledWhen(&S::nearbySources, true)};
    if (withMode)
        fields.push_back(choice(&S::dust, {kGas, kDust}));
    return fields;
}

template <class S> FieldBuilder substanceClass()
{
    return choice(&S::substanceClass, "Třída látky", {"I - 20 hodin", "II - 6 dní", "III - 2 roky"})
        .enabledWhen(&S::dust, false);
}

}  // namespace

ToolForm coefficientsForm()
{
    using Self = CoefficientSettings;
    return FormBuilder("coefficients", "Výpočet koeficientů Theta, Delta, ZMax", kComputeButtons)
        .fields({
            openFile(&Self::terrain, "Binární soubor s výškopisem :", "Otevření vstupního souboru s výškopisem ...",
                     kBin)
                .opens("terrain", "Dialog pro vytvoření binárního souboru s výškopisem"),
            pointsAndSources<Self>(),
            matrixOutput(&Self::theta, "Binární soubor pro THETU :", "Otevření výstupního souboru pro Thetu ..."),
            matrixOutput(&Self::delta, "Binární matice pro DELTU :", "Otevření výstupního souboru pro Deltu ..."),
            matrixOutput(&Self::zmax, "Binární matice pro ZMAX :", "Otevření výstupního souboru pro ZMax ..."),
            integer(&Self::step, "Vzdálenost mezi vnitřními body :"),
            check(&Self::interpolate, "použít k výpočtu interpolaci"),
        })
        .names("Vytvoření jmen výstupních souborů na základě souboru se zdroji")
        .nameInFolder(&Self::theta, &Self::sources, "theta.bin")
        .nameInFolder(&Self::delta, &Self::sources, "delta.bin")
        .nameInFolder(&Self::zmax, &Self::sources, "zmax.bin");
}

ToolForm matrixExportForm()
{
    using Self = MatrixExportSettings;
    return FormBuilder("matrix-export", "Kontrola a export binární matice", kConvertButtons)
        .fields({
            openFile(&Self::binaryInput, "Binární soubor s maticí :", "Otevření vstupního souboru s binární maticí ...",
                     kBin),
            saveFile(&Self::textOutput,
                     "Textový soubor s maticí :", "Otevření výstupního souboru s textovou maticí ...", kTxt),
        })
        .names("Vytvoření jména výstupního souboru na základě vstupního souboru")
        .name(&Self::textOutput, &Self::binaryInput, 3, "txt")
        .tables({"Nalezená hlavička binárního souboru", "Nalezené hodnoty binárního souboru"})
        .view("zobrazit hodnoty", "matrix-show", &Self::binaryInput, "--header");
}

ToolForm concentrationsForm()
{
    using Self = ConcentrationSettings;
    return studyRun<Self>("concentrations", "Výpočet ročních a maximálních koncentrací znečištujících látek")
        .fields({
            openFile(&Self::windRose,
                     "Textový soubor s větrnou růžicí :", "Otevření vstupního souboru s větrnou růžicí ...", kTxt)
                .launches(Editor::WindRose, "Dialog pro vytvoření souboru s větrnou růžicí"),
            sourcesAndMode<Self>(false),
            choice(&Self::maximum, {"roční koncentrace", "maximální koncentrace"}),
            choice(&Self::dust, {kGas, kDust}),
            substance(&Self::substancePosition, "Znečišťující látka; třída látky;      doby překročení :")
                .enabledWhen(&Self::dust, false)
                .startingColumn(),
            substanceClass<Self>(),
            // Dust runs count exceedance hours too: the limits stay open in the dust mode.
            decimal(&arrayItem<&Self::limits, 0>, "Koncentrace 1 :"),
            decimal(&arrayItem<&Self::limits, 1>, "Koncentrace 2 :"),
            decimal(&arrayItem<&Self::limits, 2>, "Koncentrace 3 :"),
            decimal(&Self::rotation, "Otočení :"),
            check(&Self::rotateLeft, "vlevo"),
            choice(&Self::stepChoice, "Po stupni", {"0.5 °", "1 °", "3 °", "vlastní"}),
            decimal(&Self::customStep, "vlastní :").enabledWhen(&Self::stepChoice, {3}),
            outputTable(&Self::output,
                        "DBF soubor ročních koncentrací :", "Nebyl zadán výstupní DBF soubor s výsledky výpočtu  !")
                .labelWhen(&Self::maximum, true, "DBF soubor maximálních koncentrací :"),
            check(&Self::groupShares, "počítat podíly skupin zdrojů"),
            outputTable(&Self::groupOutput, "Soubor s podíly skupin zdrojů :",
                        "Nebyl zadán výstupní DBF soubor s výsledky podílů skupin zdrojů !")
                .enabledWhen(&Self::groupShares, true),
            check(&Self::freeAtmosphere, "výpočet ve volné atmosféře"),
            check(&Self::minimized, "spustit minimalizovaně"),
        });
}

// One weather situation: the stability class, wind speed and direction replace the wind
// rose. For dust there is no decay, so the substance controls are disabled as above.
ToolForm dailyForm()
{
    using Self = DailySettings;
    return studyRun<Self>("daily", "Výpočet denních koncentrací znečišťujících látek")
        .fields({
            sourcesAndMode<Self>(true),
            substance(&Self::substancePosition, "zneč. látka; třída látky; doby překročení ")
                .enabledWhen(&Self::dust, false),
            choice(&Self::stabilityChoice, "Třída stability",
                   {"superstabilní", "stabilní", "izotermní", "normální", "konvektivní"}),
            decimal(&Self::speed, "Rychlost :"),
            decimal(&Self::direction, "Směr :"),
            substanceClass<Self>(),
            outputTable(&Self::output,
                        "DBF soubor denních koncentrací :", "Nebyl zadán výstupní DBF soubor s výsledky výpočtu !"),
        });
}

}  // namespace ovd::mainui
