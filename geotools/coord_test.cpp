#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/le_io.h"
#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// Nodes u in {0, 10, 20}, v in {0, 10}: X = 1000 + 2u + 0.5v, Y = 5000 + v - 0.1u.
const char* kTableText = "; u, v, X, Y\n0, 0, 1000, 5000\n10, 0, 1020, 4999\n20, 0, 1040, 4998\n"
                         "0, 10, 1005, 5010\n10,10,1025,5009\n\n20, 10, 1045, 5008\n";

TEST(CoordTable, TextTableToBinaryBytes)
{
    TempDir dir;
    writeFileAtomically(dir.path("t.txt"), kTableText);
    RecordingReporter r;
    CoordTableSettings s{dir.path("t.txt"), dir.path("t.bin")};
    ASSERT_EQ(convertCoordTable(s, RunContext{r, false}), ToolStatus::Done);
    EXPECT_TRUE(r.hasMessage("Převod dokončen, převedeno 6 řádku."));
    std::string bytes = readFileBytes(dir.path("t.bin")).value();
    ASSERT_EQ(bytes.size(), 10u + 6 * 32);
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(getU16(p), 1);
    EXPECT_EQ(getU32(p + 2), 6u);
    EXPECT_EQ(getU32(p + 6), 3u);
    EXPECT_EQ(getF64(p + 10 + 32 + 16), 1020.0);  // X of the second node
    EXPECT_TRUE(CoordTable::decode(bytes));
    EXPECT_FALSE(CoordTable::decode(bytes.substr(0, bytes.size() - 1)));
    std::string otherVersion = bytes;
    otherVersion[0] = 2;
    EXPECT_FALSE(CoordTable::decode(otherVersion));

    writeFileAtomically(dir.path("t.txt"), "0, 0, 1, 1\n0 0 1 1\n");
    EXPECT_EQ(convertCoordTable(s, RunContext{r, true}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Řádek 2 převodní tabulky neobsahuje čtyři čísla oddělená čárkami!"));
}

TEST(CoordTable, BilinearInterpolationInTheBracketingCell)
{
    std::vector<CoordNode> nodes = {{0, 0, 1000, 5000},  {10, 0, 1020, 4999},  {20, 0, 1040, 4998},
                                    {0, 10, 1005, 5010}, {10, 10, 1025, 5009}, {20, 10, 1045, 5008}};
    auto t = CoordTable::decode(encodeCoordTable(nodes));
    ASSERT_TRUE(t);
    auto p = t->convert(5, 5);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->first, 1012.5, 1e-9);
    EXPECT_NEAR(p->second, 5004.5, 1e-9);
    p = t->convert(20, 10);  // the last grid lines belong to the last cell
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->first, 1045, 1e-9);
    EXPECT_FALSE(t->convert(20.001, 5));
    EXPECT_FALSE(t->convert(5, -0.001));

    // A cell that is not affine: xi = -0.5, eta = 0.5 weigh the corners 3/16, 1/16, 3/16, 9/16.
    auto skew = CoordTable::fromNodes({{0, 0, 0, 0}, {10, 0, 10, 0}, {10, 10, 100, 0}, {0, 10, 0, 0}});
    EXPECT_NEAR(skew->convert(2.5, 7.5)->first, 19.375, 1e-12);
    // A missing corner node leaves the cell outside the table.
    auto holed = CoordTable::fromNodes({{0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 0, 0}, {20, 10, 0, 0}});
    EXPECT_FALSE(holed->convert(2, 2));
}

TEST(CoordRecompute, DegreesMinutesSeconds)
{
    EXPECT_DOUBLE_EQ(parseDegrees("49/12/36").value(), 49.21);
    EXPECT_DOUBLE_EQ(parseDegrees(" -0/30/0 ").value(), -0.5);
    EXPECT_FALSE(parseDegrees("49.2"));
    EXPECT_FALSE(parseDegrees("49/x/1"));
    EXPECT_FALSE(parseDegrees("49/-1/1"));
}

class CoordRecomputeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<CoordNode> nodes = {{0, 0, 1000, 5000},  {10, 0, 1020, 4999},  {20, 0, 1040, 4998},
                                        {0, 10, 1005, 5010}, {10, 10, 1025, 5009}, {20, 10, 1045, 5008}};
        writeFileAtomically(dir.path("t.bin"), encodeCoordTable(nodes));
        writeFileAtomically(dir.path("z.txt"),
                            ";SOUBOR S BODY\n1, 5, 5, 300, 1, 0, 0 ;Kotel\n2, 50, 5, 300, 1, 0, 0;\n"
                            "3, 0, 10, 0, 3, 0, 0;Silnice\n4, 10, 0, 0, 3, 0, 0;\n");
        writeFileAtomically(dir.path("p.txt"),
                            ";SOUBOR S POPISEM (bodů)\n1, 2, 50, 1, 100, 1, 5, 0.5, 24, 0;\n"
                            "2, 2, 50, 1, 100, 1, 5, 0.5, 24, 0;\n"
                            "3, 0.01, 0, 0, 20, 10, 8, 2, 1, 24;x\n4, 0.01, 0, 0, 30, 10, 8, 2, 1, 24;\n");
    }
    CoordRecomputeSettings settings()
    {
        return {dir.path("z.txt"),
                dir.path("p.txt"),
                dir.path("zo.txt"),
                dir.path("po.txt"),
                dir.path("t.bin"),
                false,
                true,
                false};
    }
    std::string read(const std::string& name) { return readFileBytes(dir.path(name)).value_or("<none>"); }
    TempDir dir;
};

TEST_F(CoordRecomputeTest, OutsideRecordsLeaveWithTheirDescription)
{
    RecordingReporter r;
    ASSERT_EQ(recomputeCoordinates(settings(), RunContext{r, false}), ToolStatus::Done);
    // Source 2 lies outside; source 4 is a line source whose end point (30, 10) is outside.
    EXPECT_EQ(read("zo.txt"),
              ";SOUBOR S BODY\n1, 1012.500000, 5004.500000, 300, 1, 0, 0 ;Kotel\n"
              "3, 1005.000000, 5010.000000, 0, 3, 0, 0;Silnice\n");
    EXPECT_EQ(read("po.txt"),
              ";SOUBOR S POPISEM (bodů)\n1, 2, 50, 1, 100, 1, 5, 0.5, 24, 0;\n"
              "3, 0.01, 1000.000000, 5000.000000, 1045.000000, 5008.000000, 8, 2, 1, 24;x\n");
    EXPECT_TRUE(r.hasMessage("Převod dokončen, převedeno 4 řádků, z toho 2 mimo oblast."));
    EXPECT_EQ(read("prub_sou.tmp"),
              "Popis zdroje 2 (radek 3) vynechan\nPopis zdroje 4 (radek 5) vynechan\n"
              "Radek 3, cislo 2 - mimo oblast\nRadek 5, cislo 4 - mimo oblast\n");
}

TEST_F(CoordRecomputeTest, OverwriteReplacesBothInputsAndDegreesAreRead)
{
    writeFileAtomically(dir.path("z.txt"), "1, 1/0/0, 0/0/0, 300, 1, 0, 0;\n");
    auto s = settings();
    s.overwrite = true;
    s.degrees = true;
    RecordingReporter r;
    ASSERT_EQ(recomputeCoordinates(s, RunContext{r, false}), ToolStatus::Done);
    EXPECT_EQ(read("z.txt"), "1, 1002.000000, 4999.900000, 300, 1, 0, 0;\n");
    EXPECT_EQ(read("zo.txt"), "<none>");
    EXPECT_EQ(read("p.txt").substr(0, 25), ";SOUBOR S POPISEM (bodů)");

    RecordingReporter r2;
    s.table = dir.path("none.bin");
    EXPECT_EQ(recomputeCoordinates(s, RunContext{r2, false}), ToolStatus::Failed);
    EXPECT_TRUE(r2.hasMessage("Binární soubor s převodní tabulkou nelze otevřít!"));
}

TEST_F(CoordRecomputeTest, EncodingAndLineEndsOfBothFilesAreKept)
{
    // Windows-1250 with CR LF, as the sources editor writes: "Kotelna Údolí", "Silnice č. 1"
    writeFileAtomically(dir.path("z.txt"),
                        ";Studie \xDA"
                        "dol\xED\r\n1, 5, 5, 300, 1, 0, 0 ;Kotelna \xDA"
                        "dol\xED\r\n"
                        "3, 0, 10, 0, 3, 0, 0;Silnice \xE8. 1\r\n");
    writeFileAtomically(dir.path("p.txt"),
                        "\xEF\xBB\xBF;popis \xC3\xBA"
                        "dol\xC3\xAD\n1, 2, 50, 1, 100, 1, 5, 0.5, 24, 0;\n"
                        "3, 0.01, 0, 0, 20, 10, 8, 2, 1, 24;silnice \xC4\x8D. 1\n");
    for (bool overwrite : {false, true}) {
        auto s = settings();
        s.overwrite = overwrite;
        RecordingReporter r;
        ASSERT_EQ(recomputeCoordinates(s, RunContext{r, false}), ToolStatus::Done);
        EXPECT_EQ(read(overwrite ? "z.txt" : "zo.txt"),
                  ";Studie \xDA"
                  "dol\xED\r\n1, 1012.500000, 5004.500000, 300, 1, 0, 0 ;Kotelna \xDA"
                  "dol\xED\r\n"
                  "3, 1005.000000, 5010.000000, 0, 3, 0, 0;Silnice \xE8. 1\r\n");
        // UTF-8 with its byte-order mark stays so
        EXPECT_EQ(read(overwrite ? "p.txt" : "po.txt"),
                  "\xEF\xBB\xBF;popis \xC3\xBA"
                  "dol\xC3\xAD\n1, 2, 50, 1, 100, 1, 5, 0.5, 24, 0;\n"
                  "3, 0.01, 1000.000000, 5000.000000, 1045.000000, 5008.000000, 8, 2, 1, 24;silnice \xC4\x8D. 1\n");
    }
}

}  // namespace
}  // namespace ovd
