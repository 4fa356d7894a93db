#include "dbf_reader.h"

#include <gtest/gtest.h>

#include "dbf_writer.h"
#include "file_io.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

std::string threeRecordTable()
{
    std::vector<DbfField> fields = {{"ID_POINT", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"CLASS_STAB", 4, 0, 1}};
    std::string bytes = dbfHeaderBytes(fields, 3, {2001, 1, 1});
    for (int k = 1; k <= 3; ++k) {
        bytes += ' ';
        for (std::size_t i = 0; i < fields.size(); ++i)
            bytes += dbfFieldText(fields[i], k * (i + 1) * 1.25);
    }
    return bytes + '\x1A';
}

TEST(DbfTable, CountIsTwentyFourBitsAndDeletedRecordsAreSkipped)
{
    std::string bytes = threeRecordTable();
    bytes[7] = '\x55';  // ignored
    std::size_t second = 32 + 3 * 32 + 1 + 30;
    bytes[second] = '*';
    std::optional<DbfTable> t = DbfTable::parse(bytes);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->declaredRecords(), 3u);
    EXPECT_EQ(t->liveRecords(), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(t->fields()[1].name, "X_COORD    ");
    EXPECT_EQ(t->fields()[1].decimals, 6);
    EXPECT_EQ(t->fieldText(2, 2), "  11");
    EXPECT_EQ(t->fieldText(2, 1), "       7.500000");
    EXPECT_EQ(t->findField("x_coord", true), 1u);
    EXPECT_EQ(t->findField("x_coord"), std::nullopt);
}

TEST(DbfTable, ShortFilesAndBadHeadersAreRefusedOrCutSafely)
{
    std::string bytes = threeRecordTable();
    // A file cut inside the third record holds two.
    std::optional<DbfTable> cut = DbfTable::parse(bytes.substr(0, bytes.size() - 10));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->recordCount(), 2u);
    // A count beyond the records present does not reach past the end.
    std::string more = bytes;
    more[4] = '\x10';
    EXPECT_EQ(DbfTable::parse(more)->recordCount(), 3u);

    EXPECT_FALSE(DbfTable::parse(bytes.substr(0, 20)));
    std::string longFields = bytes;
    longFields[10] = 5;  // record length shorter than its fields
    EXPECT_FALSE(DbfTable::parse(longFields));
    std::string manyFields = bytes;
    manyFields[8] = '\xFF';  // descriptors past the end of the file
    manyFields[9] = '\x7F';
    EXPECT_FALSE(DbfTable::parse(manyFields));

    // A header of 32 bytes and a terminator has no fields and is still a table.
    std::string empty(33, '\0');
    empty[32] = '\x0D';
    empty[8] = 33;
    empty[10] = 1;
    std::optional<DbfTable> none = DbfTable::parse(empty);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->fields().empty());

    // A header length one short of its descriptors and terminator would shift every
    // record by a byte (no record would look live); a padded one is another writer's habit.
    std::string shortHeader = bytes;
    shortHeader[8] = static_cast<char>(32 + 3 * 32);
    EXPECT_FALSE(DbfTable::parse(shortHeader));
    std::string padded = bytes.substr(0, 32 + 3 * 32 + 1) + std::string(7, '\0') + bytes.substr(32 + 3 * 32 + 1);
    padded[8] = static_cast<char>(32 + 3 * 32 + 8);
    std::optional<DbfTable> paddedTable = DbfTable::parse(padded);
    ASSERT_TRUE(paddedTable);
    EXPECT_EQ(paddedTable->liveRecords().size(), 3u);
    EXPECT_EQ(paddedTable->fieldText(2, 2), "  11");

    auto missing = DbfTable::load("/nonexistent/x.dbf");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.problem(), Problem::error("Soubor /nonexistent/x.dbf nelze otevřít !"));
    TempDir dir;
    writeFileAtomically(dir.path("s.dbf"), shortHeader);
    auto bad = DbfTable::load(dir.path("s.dbf"), "own text");
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.problem().text,
              "Soubor " + dir.path("s.dbf") + " není platný DBF soubor (chybná hlavička nebo popis sloupců)!");
}

}  // namespace
}  // namespace ovd
