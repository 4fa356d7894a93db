#include "dbf_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "file_io.h"
#include "le_io.h"
#include "paths.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

const auto* bytesOf(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

std::vector<DbfField> twoFields()
{
    return {{"ID", 10, 0, 0}, {"CONC_VALUE1", 15, 6, 1}};
}

TEST(DbfWriter, WritesTheDBaseThreeLayoutByteForByte)
{
    TempDir dir;
    std::string path = dir.path("t.dbf");
    DbfWriter w;
    ASSERT_TRUE(w.open(path, twoFields(), 2, {2001, 1, 1}));
    std::vector<double> r1 = {7, 1.5}, r2 = {-12, 1234.5678};
    ASSERT_TRUE(w.writeRecord(r1));
    ASSERT_TRUE(w.writeRecord(r2));
    ASSERT_TRUE(w.finish());

    std::string f = readFileBytes(path).value();
    const unsigned char* p = bytesOf(f);
    ASSERT_EQ(f.size(), 97u + 2 * 26 + 1);
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 101);
    EXPECT_EQ(p[2], 1);
    EXPECT_EQ(p[3], 1);
    EXPECT_EQ(getU32(p + 4), 2u);
    EXPECT_EQ(getU16(p + 8), 97);
    EXPECT_EQ(getU16(p + 10), 26);
    EXPECT_EQ(f.substr(12, 20), std::string(20, '\0'));
    // First descriptor: zero-padded name, "N", length, decimals, flag 0.
    EXPECT_EQ(f.substr(32, 11), std::string("ID\0\0\0\0\0\0\0\0\0", 11));
    EXPECT_EQ(p[32 + 11], 'N');
    EXPECT_EQ(p[32 + 16], 10);
    EXPECT_EQ(p[32 + 17], 0);
    EXPECT_EQ(p[32 + 20], 0);
    // An 11-character name fills its bytes with no terminating zero.
    EXPECT_EQ(f.substr(64, 11), "CONC_VALUE1");
    EXPECT_EQ(p[64 + 16], 15);
    EXPECT_EQ(p[64 + 17], 6);
    EXPECT_EQ(p[64 + 20], 1);
    EXPECT_EQ(p[96], 0x0D);
    EXPECT_EQ(f.substr(97, 26), "          7       1.500000");
    EXPECT_EQ(f.substr(123, 26), "        -12    1234.567800");
    EXPECT_EQ(p[f.size() - 1], 0x1A);
}

TEST(DbfWriter, AValueTooWideKeepsFewerDecimalsThenBecomesStars)
{
    DbfField f{"C", 15, 6, 1};
    std::optional<DbfOverflow> o;
    EXPECT_EQ(dbfFieldText(f, 12345678.123456, &o), "12345678.123456");
    EXPECT_FALSE(o);
    EXPECT_EQ(dbfFieldText(f, 1e8, &o), "100000000.00000");
    ASSERT_TRUE(o);
    EXPECT_EQ(o->decimalsWritten, 5);
    EXPECT_FALSE(o->starred);
    EXPECT_EQ(dbfFieldText(f, 1e14, &o), "100000000000000");
    EXPECT_EQ(o->decimalsWritten, 0);
    EXPECT_EQ(dbfFieldText(f, 1e15, &o), std::string(15, '*'));
    EXPECT_TRUE(o->starred);
    EXPECT_EQ(dbfFieldText(f, std::nan(""), &o), std::string(15, '*'));
    EXPECT_EQ(dbfFieldText({"K", 4, 0, 1}, 12345, &o), "****");
    EXPECT_EQ(dbfFieldText({"W", 6, 2, 1}, 1000.5), "1000.5");
}

TEST(DbfWriter, TargetChangesOnlyWhenFinished)
{
    TempDir dir;
    std::string path = dir.path("r.dbf");
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    {
        DbfWriter w;
        ASSERT_TRUE(w.open(path, twoFields(), 1, {2020, 2, 29}));
        std::vector<double> row = {1, 2};
        ASSERT_TRUE(w.writeRecord(row));
        // destroyed without finish(): a cancelled run
    }
    EXPECT_EQ(readFileBytes(path).value(), "old");

    DbfWriter w;
    ASSERT_TRUE(w.open(path, twoFields(), 5, {2020, 2, 29}));
    std::vector<double> row = {1, 2};
    ASSERT_TRUE(w.writeRecord(row));
    ASSERT_TRUE(w.finish());
    std::string f = readFileBytes(path).value();
    EXPECT_EQ(getU32(bytesOf(f) + 4), 1u) << "the header counts the records actually written";
    EXPECT_EQ(f.size(), 97u + 26 + 1);
}

TEST(DbfWriter, RefusesUnusableFieldsAndRows)
{
    TempDir dir;
    DbfWriter w;
    EXPECT_FALSE(w.open(dir.path("a.dbf"), {{"TWELVE_CHARS", 10, 0, 0}}, 0, {2020, 1, 1}));
    EXPECT_FALSE(w.open(dir.path("a.dbf"), {{"X", 5, 5, 0}}, 0, {2020, 1, 1}));
    EXPECT_FALSE(w.open(dir.path("missing/a.dbf"), twoFields(), 0, {2020, 1, 1}));
    EXPECT_FALSE(fileExists(dir.path("a.dbf")));

    ASSERT_TRUE(w.open(dir.path("a.dbf"), twoFields(), 1, {2020, 1, 1}));
    std::vector<double> shortRow = {1};
    EXPECT_FALSE(w.writeRecord(shortRow));
    EXPECT_FALSE(w.finish());
    EXPECT_FALSE(fileExists(dir.path("a.dbf")));
}

}  // namespace
}  // namespace ovd
