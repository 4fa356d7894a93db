#include "tiles/tile_join.h"

#include <gtest/gtest.h>

#include "common/dbf_reader.h"
#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "model/concentration_texts.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A table as the result writers make it: ID and one value per row.
std::string table(const std::vector<std::pair<int, double>>& rows, const char* valueField = "CONC_AVG",
                  DbfDate date = {2020, 5, 6})
{
    TempDir dir;
    DbfWriter w;
    std::vector<DbfField> fields{{"ID", 10, 0, 0}, {valueField, 15, 6}};
    EXPECT_TRUE(w.open(dir.path("t.dbf"), fields, static_cast<std::uint32_t>(rows.size()), date));
    for (const auto& [id, v] : rows)
        EXPECT_TRUE(w.writeRecord(std::vector<double>{double(id), v}));
    EXPECT_TRUE(w.finish());
    return *readFileBytes(dir.path("t.dbf"));
}

TEST(JoinDbfTables, RecordsOfAllTablesInTileOrderUnderOneHeader)
{
    const std::string whole = table({{1, 0.5}, {2, 1.5}, {3, 2.5}, {4, 3.5}, {5, 4.5}}, "CONC_AVG", {2026, 12, 9});
    Outcome<std::string> joined = joinDbfTables(
        {table({{1, 0.5}, {2, 1.5}}), table({{3, 2.5}}), table({{4, 3.5}, {5, 4.5}}, "CONC_AVG", {2019, 1, 1})},
        {2026, 12, 9}, "výsledků");
    ASSERT_TRUE(joined.ok()) << joined.problem().text;
    EXPECT_EQ(*joined, whole);
}

TEST(JoinDbfTables, RefusesTablesThatDoNotBelongTogether)
{
    const std::string a = table({{1, 0.5}});
    EXPECT_FALSE(joinDbfTables({a, table({{2, 1.0}}, "CONC_MAX")}, {2026, 1, 1}, "výsledků").ok());
    // a table cut short loses records the header promises
    EXPECT_FALSE(joinDbfTables({a, table({{2, 1.0}, {3, 2.0}}).substr(0, a.size() + 10)}, {2026, 1, 1}, "x").ok());
    EXPECT_FALSE(joinDbfTables({}, {2026, 1, 1}, "x").ok());
}

std::string protocol(const std::string& files, const std::string& params, const std::vector<std::string>& points)
{
    std::string out = files + kProtocolParametersStart + params;
    for (const std::string& p : points)
        out += std::string(kProtocolPointStart) + p + "\n";
    return out;
}

TEST(JoinProtocols, StudyFilesThenParametersOnceThenEveryPointInOrder)
{
    const std::string params = "1\nKrok cyklu ve stupnich    : 3.000000\nNeakceptuji blizke zdroje. \n";
    Outcome<std::string> joined = joinProtocols(
        "STUDY FILES\n", {protocol("tile 1 files\n", params, {"1", "2"}), protocol("tile 2 files\n", params, {"3"})});
    ASSERT_TRUE(joined.ok());
    EXPECT_EQ(*joined, protocol("STUDY FILES\n", params, {"1", "2", "3"}));
}

TEST(JoinProtocols, RefusesOtherParametersOrAProtocolWithoutThem)
{
    EXPECT_FALSE(joinProtocols("F\n", {protocol("a\n", "1\n", {"1"}), protocol("a\n", "2\n", {"2"})}).ok());
    EXPECT_FALSE(joinProtocols("F\n", {protocol("a\n", "1\n", {"1"}), "Vypocet probehl v poradku.\n"}).ok());
}

TEST(JoinRunLogs, PointNotesOfEveryTileThenTheSourceTableNotesOnce)
{
    const std::string date = "Dnesni datum :  9. 12. 2026\n", done = "Vypocet probehl v poradku.\n";
    const std::string src = "Zaznam ID 7: hodnota 1e+20 se nevejde do pole X_COORD (15.6), zapsana jako *\n";
    auto point = [](int id) { return "Zaznam ID " + std::to_string(id) + ": hodnota 2e+09 se nevejde ...\n"; };
    const std::string end = "Hodnoty zapsany do DBF.";
    Outcome<std::string> joined = joinRunLogs("NEW DATE\n",
                                              {"old\n" + done + point(1) + src + end, "old\n" + done + src + end,
                                               "old\n" + done + point(5) + point(6) + src + end});
    ASSERT_TRUE(joined.ok());
    EXPECT_EQ(*joined, "NEW DATE\n" + done + point(1) + point(5) + point(6) + src + end);
    // one tile: its notes as they are
    Outcome<std::string> one = joinRunLogs(date, {"x\n" + done + point(2) + src + end + "\n"});
    ASSERT_TRUE(one.ok());
    EXPECT_EQ(*one, date + done + point(2) + src + end + "\n");
}

TEST(JoinRunLogs, RefusesALogOfARunThatDidNotEnd)
{
    Outcome<std::string> joined = joinRunLogs("D\n", {"d\nVypocet probehl v poradku.\nHodnoty zapsany do DBF.", "d\n"});
    ASSERT_FALSE(joined.ok());
    EXPECT_EQ(joined.problem().text, "Soubor s průběhem výpočtu 2. dlaždice není úplný, dlaždice nelze sloučit!");
}

}  // namespace
}  // namespace ovd
