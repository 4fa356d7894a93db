#include "result_tables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/le_io.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> names(const std::vector<DbfField>& fields)
{
    std::vector<std::string> n;
    for (const DbfField& f : fields)
        n.push_back(f.name);
    return n;
}

TEST(ResultTables, ExceedanceNamesAreElevenCharacters)
{
    EXPECT_EQ(exceedanceFieldName(1, 5), "T1_5_000000");
    EXPECT_EQ(exceedanceFieldName(1, 120.5), "T1_120_5000");
    EXPECT_EQ(exceedanceFieldName(1, 2500), "T1_2500_000");
    EXPECT_EQ(exceedanceFieldName(1, 0.5), "T1_0_500000");
    EXPECT_EQ(exceedanceFieldName(2, 50), "T2_50_00000");
    EXPECT_EQ(exceedanceFieldName(3, 99999.9), "T3_99999_90");
    // Rounding that carries into an eighth character takes the next range's format.
    EXPECT_EQ(exceedanceFieldName(1, 9.999999), "T1_10_00000");
    EXPECT_EQ(exceedanceFieldName(1, 999.9999), "T1_1000_000");
    EXPECT_EQ(exceedanceFieldName(2, 99999.99), "T2_CONC_2");
    EXPECT_EQ(exceedanceFieldName(1, 0), "T1_CONC_1");
    EXPECT_EQ(exceedanceFieldName(3, 100000), "T3_CONC_3");
    EXPECT_EQ(groupFieldName(12), "GR_000012");
}

TEST(ResultTables, LengthsOfTheFiveTables)
{
    struct Case {
        std::vector<DbfField> fields;
        int header, record;
    };
    std::vector<long> groups = {0, 12, 199};
    Case cases[] = {
        {annualTableFields({60, 40, 20}), 705, 311},
        {annualTableFields({60, 0, 20}), 673, 296},
        {annualTableFields({60, 0, 0}), 641, 281},
        {annualTableFields({0, 0, 0}), 609, 266},
        {maximumTableFields({1, 2, 3}), 449, 163},
        {maximumTableFields({1, 0, 3}), 417, 148},
        {dailyTableFields(), 225, 86},
        {sourceTableFields(), 545, 206},
        {groupSharesTableFields(groups), 32 + 32 * 8 + 1, 71 + 15 * 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dbfHeaderLength(c.fields.size()), c.header) << c.fields.back().name;
        EXPECT_EQ(dbfRecordLength(c.fields), c.record) << c.fields.back().name;
    }
    EXPECT_THAT(names(annualTableFields({5, 0, 2500})),
                ElementsAre("ID", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "CONC_AVG", "CM_MAX", "CM_1_01_7",
                            "CM_2_01_7", "CM_2_05_0", "CM_3_01_7", "CM_3_05_0", "CM_3_11_0", "CM_4_01_7", "CM_4_05_0",
                            "CM_4_11_0", "CM_5_01_7", "CM_5_05_0", "T1_5_000000", "T3_2500_000"));
    EXPECT_THAT(
        names(groupSharesTableFields(groups)),
        ElementsAre("ID_POINT", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "GR_000000", "GR_000012", "GR_000199"));
}

// Byte 20 of each descriptor: 0 for identifying fields, 1 for values.
std::string flags(const std::vector<DbfField>& fields)
{
    std::string header = dbfHeaderBytes(fields, 0, {2001, 1, 1});
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += static_cast<char>('0' + header[32 + 32 * i + 20]);
    return out;
}

TEST(ResultTables, FieldFlags)
{
    EXPECT_EQ(flags(annualTableFields({1, 1, 1})), "000111111111111111111");
    EXPECT_EQ(flags(maximumTableFields({1, 0, 0})), "00011111111");
    EXPECT_EQ(flags(dailyTableFields()), "000111");
    EXPECT_EQ(flags(sourceTableFields()), "0001000111111111");
    std::vector<long> groups = {3, 4};
    EXPECT_EQ(flags(groupSharesTableFields(groups)), "0001100");
}

TEST(ResultTables, RowValues)
{
    AnnualRow a;
    a.caseMaxima = {1, 2, 9, 3, 4, 5, 6, 7, 8, 0.5, 0};
    a.hours = {10, 20, 30};
    std::vector<double> v = annualRowValues(a, {60, 0, 20});
    ASSERT_EQ(v.size(), annualTableFields({60, 0, 20}).size());
    EXPECT_EQ(v[6], 9) << "CM_MAX is the greatest case maximum";
    EXPECT_EQ(v[19], 30) << "only the hours of limits in use";

    std::vector<double> sums = {0.5, 1.5};
    EXPECT_THAT(groupSharesRowValues({1, 0, 0, 0, 0}, sums, 2.0), ElementsAre(1, 0, 0, 0, 0, 25, 75));
    EXPECT_THAT(groupSharesRowValues({1, 0, 0, 0, 0}, sums, 0.0), ElementsAre(1, 0, 0, 0, 0, 0, 0));
}

TEST(ResultTables, WriterLogsEveryValueThatDidNotFit)
{
    TempDir dir;
    std::vector<std::string> log;
    ResultTableWriter w([&](std::string_view line) { log.emplace_back(line); });
    ASSERT_TRUE(w.open(dir.path("d.dbf"), dailyTableFields(), 2, {2026, 1, 2}));
    std::vector<double> fine = dailyRowValues({1, 10, 20, 30, 0}, 5);
    std::vector<double> wide = dailyRowValues({42, 10, 20, 30, 0}, 2.5e8);
    std::vector<double> huge = dailyRowValues({43, 10, 20, 30, 0}, 1e30);
    ASSERT_TRUE(w.writeRow(fine) && w.writeRow(wide) && w.writeRow(huge) && w.finish());
    EXPECT_EQ(w.overflowCount(), 2u);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "Zaznam ID 42: hodnota 2.5e+08 se nevejde do pole CONC_VALUE (15.6), zapsana s 5 des. misty\n");
    EXPECT_EQ(log[1], "Zaznam ID 43: hodnota 1e+30 se nevejde do pole CONC_VALUE (15.6), zapsana jako *\n");

    auto t = DbfTable::load(dir.path("d.dbf"));
    ASSERT_TRUE(t);
    ASSERT_EQ(t->recordCount(), 3u);
    EXPECT_EQ(t->fieldText(1, 5), "250000000.00000");
    EXPECT_EQ(t->fieldText(2, 5), "***************");
    EXPECT_EQ(t->fieldText(2, 0), "        43");
}

}  // namespace
}  // namespace ovd
