// The comparison of two variants on tables built by hand.
#include <gtest/gtest.h>

#include "assess/comparison.h"
#include "assess/table_output.h"
#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "testing/dbf_column.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

struct Row {
    double id, x, y, conc;
};

void writeTable(const std::string& path, const std::vector<Row>& rows, const char* first = "ID_POINT")
{
    std::vector<DbfField> fields = {{first, 10, 0, 0},    {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                                    {"Z_ELEV", 15, 6, 1}, {"L_ELEV", 15, 6, 1},  {"CONC_MAX", 15, 6, 1}};
    std::vector<OutputRow> values;
    for (const Row& r : rows)
        values.push_back({r.id, r.x, r.y, 250.0, 1.5, r.conc});
    ASSERT_TRUE(writeFileAtomically(path, tableBytes(fields, values, {2026, 12, 9})));
}

class Comparison : public ::testing::Test {
protected:
    void SetUp() override
    {
        s.base = dir.path("zaklad.dbf");
        s.variant = dir.path("varianta.dbf");
        s.column = "CONC_MAX";
        writeTable(s.base, {{1, 0, 0, 10}, {2, 50, 0, 0}, {3, 100, 0, 4}, {4, 150, 0, 8}});
        writeTable(s.variant, {{1, 0, 0, 12.5}, {2, 50, 0, 0.75}, {3, 100, 0, 1}, {4, 150, 0, 8}});
    }
    ToolStatus run() { return runComparison(s, {dir.path("study.ovd"), ""}, RunContext{rep, true}, summary); }
    std::vector<std::string> column(const std::string& field)
    {
        return dbfColumnTexts(dir.path("varianta_rozdil.dbf"), field);
    }
    std::string lastError() const { return rep.lastError(); }

    TempDir dir;
    CompareSettings s;
    RecordingReporter rep;
    std::vector<std::string> summary;
};

TEST_F(Comparison, DifferenceAndChangeAtEveryPoint)
{
    ASSERT_EQ(run(), ToolStatus::Done) << lastError();
    Outcome<DbfTable> t = DbfTable::load(dir.path("varianta_rozdil.dbf"));
    ASSERT_TRUE(t);
    std::string names;
    for (const DbfFieldInfo& f : t->fields())
        names += f.shortName().substr(0, f.shortName().find(' ')) + " ";
    EXPECT_EQ(names, "ID_POINT X_COORD Y_COORD Z_ELEV L_ELEV ZAKLAD VARIANTA ROZDIL ZMENA_PROC ");
    EXPECT_EQ(column("ROZDIL"), (std::vector<std::string>{"       2.500000", "       0.750000", "      -3.000000",
                                                          "       0.000000"}));
    // Left empty where the base is 0.
    EXPECT_EQ(column("ZMENA_PROC"), (std::vector<std::string>{"      25.000000", "               ",
                                                              "     -75.000000", "       0.000000"}));
    EXPECT_EQ(column("Z_ELEV")[0], "     250.000000");
    EXPECT_EQ(summary, (std::vector<std::string>{
                           "Porovnáno bodů: 4",
                           "Největší nárůst: 2.500000 µg/m³ v bodě 1 (X 0.00, Y 0.00)",
                           "Největší pokles: -3.000000 µg/m³ v bodě 3 (X 100.00, Y 0.00)",
                           "Nárůst nad práh 0 µg/m³ v 2 bodech",
                       }));
    s.threshold = "1";
    ASSERT_EQ(run(), ToolStatus::Done);
    EXPECT_EQ(summary.back(), "Nárůst nad práh 1 µg/m³ v 1 bodě");
    std::optional<std::string> log = readFileBytes(dir.path("varianta_rozdil.vst"));
    ASSERT_TRUE(log);
    EXPECT_NE(log->find("Nárůst nad práh 1 µg/m³ v 1 bodě"), std::string::npos);
}

TEST_F(Comparison, NoIncreaseNoDecrease)
{
    writeTable(s.variant, {{1, 0, 0, 10}, {2, 50, 0, 0}, {3, 100, 0, 4}, {4, 150, 0, 8}});
    ASSERT_EQ(run(), ToolStatus::Done);
    EXPECT_EQ(summary[1], "Největší nárůst: žádný bod nevzrostl");
    EXPECT_EQ(summary[2], "Největší pokles: žádný bod neklesl");
}

TEST_F(Comparison, TablesOfOtherPointsAreRefusedNamingTheFirstThatDiffers)
{
    writeTable(s.variant, {{1, 0, 0, 10}, {2, 50, 0, 0}, {3, 100, 0.5, 4}, {4, 150, 0, 8}});
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_EQ(lastError(), "Tabulky " + s.base + " a " + s.variant +
                               " nemají stejné body: 3. záznam je v první bod 3 (X 100.000000, Y 0.000000), ve druhé "
                               "bod 3 (X 100.000000, Y 0.500000).");
    writeTable(s.variant, {{1, 0, 0, 10}, {7, 50, 0, 0}, {3, 100, 0, 4}, {4, 150, 0, 8}});
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_NE(lastError().find("2. záznam je v první bod 2"), std::string::npos);
    writeTable(s.variant, {{1, 0, 0, 10}, {2, 50, 0, 0}, {3, 100, 0, 4}});
    EXPECT_EQ(run(), ToolStatus::Failed);
    EXPECT_NE(lastError().find(s.base + " má 4 body, " + s.variant + " jen 3; první bod navíc je bod 4"),
              std::string::npos);
    EXPECT_FALSE(fileExists(dir.path("varianta_rozdil.dbf")));
}

TEST_F(Comparison, RefusalsWriteNothing)
{
    struct Case {
        const char* what;
        std::function<void(CompareSettings&)> change;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"output is the base", [](CompareSettings& c) { c.output = c.base; }, "DBF soubor základní varianty i"},
        {"log is the variant",
         [&](CompareSettings& c) {
             c.output = dir.path("varianta.dbf.dbf");
             c.variant = dir.path("varianta.dbf.vst");
             writeTable(c.variant, {{1, 0, 0, 1}});
         },
         "porovnávané varianty i jako protokol o porovnání"},
        {"output is the project", [&](CompareSettings& c) { c.output = dir.path("study.ovd"); }, "soubor projektu i"},
        {"no variant", [](CompareSettings& c) { c.variant.clear(); }, "Nebyly zadány oba"},
        {"threshold not a number", [](CompareSettings& c) { c.threshold = "x"; }, "Práh nárůstu x není číslo"},
        {"unknown column", [](CompareSettings& c) { c.column = "CONC_AVG"; }, "nemá sloupec CONC_AVG"},
    };
    for (const Case& c : cases) {
        CompareSettings keep = s;
        c.change(s);
        rep.messages.clear();
        EXPECT_EQ(run(), ToolStatus::Failed) << c.what;
        EXPECT_NE(lastError().find(c.error), std::string::npos) << c.what << ": " << lastError();
        EXPECT_FALSE(fileExists(dir.path("varianta_rozdil.dbf"))) << c.what;
        EXPECT_FALSE(fileExists(dir.path("varianta.dbf.dbf"))) << c.what;
        s = keep;
    }
}

}  // namespace
}  // namespace ovd
