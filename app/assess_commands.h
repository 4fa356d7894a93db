#pragma once
// The assessment of a result table against the background and the limit values, and the
// comparison of two variants: ovardix-cli assess and compare.
#include "assess/assess_settings.h"
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kAssessOptions[] = {
    option("--table", "DBF", "tabulka s výsledky").file().mirrors(section::kAssessment, "VstDbf"),
    option("--column", "SLOUPEC", "sloupec s příspěvkem (jinak CONC_AVG)").mirrors(section::kAssessment, "Sloupec"),
    option("--background", "SOUBOR|ČÍSLO", "pozadí: rastr, polygonová vrstva nebo jedno číslo").fileOrNumber()
        .mirrors(section::kAssessment, "Pozadi"),
    option("--background-column", "SLOUPEC", "atribut polygonové vrstvy s pozadím")
        .mirrors(section::kAssessment, "SloupecPozadi"),
    flagOption("--bilinear", "pozadí z rastru interpolované bilineárně"),
    option("--fill", "HODNOTA", "pozadí bodů mimo vrstvu nebo na buňkách bez hodnoty").decimal(),
    option("--pollutant", "LÁTKA", "látka z tabulky imisních limitů").mirrors(section::kAssessment, "Latka"),
    option("--limit", "HODNOTA", "imisní limit v µg/m³ místo limitu z tabulky").decimal(),
    option("--hours-column", "SLOUPEC", "sloupec s počtem hodin překročení (T1_...)")
        .mirrors(section::kAssessment, "SloupecHodin"),
    option("--allowed-hours", "POČET", "povolený počet překročení za rok").decimal(),
    option("--limits", "SOUBOR", "tabulka imisních limitů").file().mirrors(section::kAssessment, "Limity"),
    option("--out", "DBF", "výstupní tabulka hodnocení").file().mirrors(section::kAssessment, "VystDbf"),
};

inline constexpr OptionSpec kCompareOptions[] = {
    option("--base", "DBF", "tabulka výsledků základní varianty").file().mirrors(section::kVariants, "VstZaklad"),
    option("--variant", "DBF", "tabulka výsledků posuzované varianty").file().mirrors(section::kVariants, "VstVarianta"),
    option("--column", "SLOUPEC", "porovnávaný sloupec (jinak CONC_AVG)").mirrors(section::kVariants, "Sloupec"),
    option("--threshold", "HODNOTA", "práh nárůstu, nad kterým se body vypíší").decimal(),
    option("--out", "DBF", "výstupní tabulka porovnání").file().mirrors(section::kVariants, "VystDbf"),
};

ToolStatus runAssess(ToolCall&);
ToolStatus runCompare(ToolCall&);

}  // namespace ovd
