// The limit table shipped with the program, its reading, and which limit a column takes.
#include <gtest/gtest.h>

#include "assess/limit_values.h"
#include "common/file_io.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

const LimitValue& pick(const std::vector<LimitValue>& t, const char* pollutant, Averaging a)
{
    static LimitValue none;
    Outcome<LimitValue> v = chooseLimit(t, "limity.txt", pollutant, a, "2026-12-09");
    EXPECT_TRUE(v) << pollutant << ": " << (v ? "" : v.problem().text);
    for (const LimitValue& x : t)
        if (v && x.pollutant == v->pollutant && x.averaging == a && x.validFrom == v->validFrom)
            return x;
    return none;
}

TEST(LimitTable, ShippedTableHoldsTheLawsValuesInMicrogramsPerCubicMetre)
{
    Outcome<std::vector<LimitValue>> t = readLimitTable(defaultLimitTablePath());
    ASSERT_TRUE(t) << t.problem().text;
    struct Expected {
        const char* pollutant;
        Averaging a;
        double value;
        int allowed;
    };
    const Expected expected[] = {
        {"SO2", Averaging::Hour, 350, 24},    {"SO2", Averaging::Day, 125, 3},
        {"NO2", Averaging::Hour, 200, 18},    {"NO2", Averaging::Year, 40, 0},
        {"CO", Averaging::EightHours, 10000, 0}, {"benzen", Averaging::Year, 5, 0},
        {"PM10", Averaging::Day, 50, 35},     {"PM10", Averaging::Year, 40, 0},
        {"PM2.5", Averaging::Year, 20, 0},    {"Pb", Averaging::Year, 0.5, 0},
        {"As", Averaging::Year, 0.006, 0},    {"Cd", Averaging::Year, 0.005, 0},
        {"Ni", Averaging::Year, 0.02, 0},     {"benzo(a)pyren", Averaging::Year, 0.001, 0},
        {"SO2_ekosystemy", Averaging::Year, 20, 0}, {"SO2_ekosystemy", Averaging::Winter, 20, 0},
        {"NOx_ekosystemy", Averaging::Year, 30, 0},
    };
    EXPECT_EQ(t->size(), std::size(expected));
    for (const Expected& e : expected) {
        const LimitValue& v = pick(*t, e.pollutant, e.a);
        EXPECT_DOUBLE_EQ(v.value, e.value) << e.pollutant;
        EXPECT_EQ(v.allowed, e.allowed) << e.pollutant;
        EXPECT_NE(v.reference.find("201/2012 Sb."), std::string::npos) << e.pollutant;
    }
    std::optional<std::string> text = readFileBytes(defaultLimitTablePath());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("2024/2881"), std::string::npos);
    EXPECT_NE(text->find("ověřte je proti platnému znění"), std::string::npos);
}

TEST(LimitTable, ColumnsTakeTheirAveragingTime)
{
    EXPECT_EQ(columnAveraging("CONC_AVG"), Averaging::Year);
    EXPECT_EQ(columnAveraging("conc_avg"), Averaging::Year);
    EXPECT_EQ(columnAveraging("CONC_MAX"), Averaging::Hour);
    EXPECT_EQ(columnAveraging("CM_MAX"), Averaging::Hour);
    EXPECT_EQ(columnAveraging("CM_3_05_0"), Averaging::Hour);
    EXPECT_EQ(columnAveraging("CONC_VALUE"), Averaging::Day);
    EXPECT_EQ(columnAveraging("T1_200_0000"), Averaging::Hour);
    EXPECT_FALSE(columnAveraging("Z_ELEV"));
    EXPECT_FALSE(columnAveraging("CM_"));
    EXPECT_FALSE(columnAveraging("GR_000001"));

    EXPECT_EQ(hoursFieldConcentration("T1_200_0000"), 200);
    EXPECT_EQ(hoursFieldConcentration("T1_1_000000"), 1);
    EXPECT_EQ(hoursFieldConcentration("T1_35_00000"), 35);
    EXPECT_FALSE(hoursFieldConcentration("T1_CONC_1"));
    EXPECT_FALSE(hoursFieldConcentration("CONC_AVG"));
}

TEST(LimitTable, LimitIsChosenByPollutantAveragingAndDate)
{
    std::string error;
    std::optional<std::vector<LimitValue>> t = parseLimitTable("# a comment\n"
                                                               "NO2;rok;40;0;2012-09-01;old\n"
                                                               "NO2;rok;20;0;2030-01-01;new\n"
                                                               "  NO2 ; 1h ; 200 ; 18 ; 2012-09-01 ; hour\n"
                                                               "\n"
                                                               "CO;8h;10000;0;2012-09-01;co\n",
                                                               error);
    ASSERT_TRUE(t) << error;
    ASSERT_EQ(t->size(), 4u);
    Outcome<LimitValue> now = chooseLimit(*t, "l.txt", "no2", Averaging::Year, "2026-12-09");
    ASSERT_TRUE(now);
    EXPECT_EQ(now->value, 40);
    Outcome<LimitValue> later = chooseLimit(*t, "l.txt", "NO2", Averaging::Year, "2030-01-01");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->value, 20);
    Outcome<LimitValue> hour = chooseLimit(*t, "l.txt", "NO2", Averaging::Hour, "2026-12-09");
    ASSERT_TRUE(hour);
    EXPECT_EQ(hour->allowed, 18);
    EXPECT_EQ(hour->reference, "hour");

    Outcome<LimitValue> noYear = chooseLimit(*t, "l.txt", "CO", Averaging::Year, "2026-12-09");
    ASSERT_FALSE(noYear);
    EXPECT_NE(noYear.problem().text.find("CO"), std::string::npos);
    EXPECT_NE(noYear.problem().text.find("kalendářní rok"), std::string::npos);
    EXPECT_NE(noYear.problem().text.find("má limity pro 8 h"), std::string::npos);
    Outcome<LimitValue> unknown = chooseLimit(*t, "l.txt", "oxidy_dusíku", Averaging::Year, "2026-12-09");
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.problem().text,
              "Látka oxidy_dusíku není v tabulce imisních limitů l.txt (tabulka uvádí: NO2, CO).");
    // A limit not yet valid is no limit.
    Outcome<LimitValue> early = chooseLimit(*t, "l.txt", "NO2", Averaging::Year, "2011-01-01");
    EXPECT_FALSE(early);
}

TEST(LimitTable, BadRowsAreRefusedNamingTheLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"NO2;rok;40;0;2012-09-01\n", "řádek 1: má mít šest polí"},
        {"#\nNO2;týden;40;0;2012-09-01;x\n", "řádek 2: doba průměrování týden"},
        {"NO2;rok;-4;0;2012-09-01;x\n", "řádek 1: limit -4 není kladné číslo"},
        {"NO2;rok;40;1.5;2012-09-01;x\n", "řádek 1: povolený počet překročení 1.5"},
        {"NO2;rok;40;0;1.9.2012;x\n", "řádek 1: datum platnosti 1.9.2012"},
        {";rok;40;0;2012-09-01;x\n", "řádek 1: chybí jméno látky"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parseLimitTable(c.text, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
    TempDir dir;
    Outcome<std::vector<LimitValue>> missing = readLimitTable(dir.path("none.txt"));
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.problem().text.find(dir.path("none.txt")), std::string::npos);
}

}  // namespace
}  // namespace ovd
