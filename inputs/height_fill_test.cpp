#include <gtest/gtest.h>

#include <cmath>

#include "common/file_io.h"
#include "common/numbers.h"
#include "inputs/height_fill.h"
#include "inputs/terrain_matrix.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

class HeightFillTest : public ::testing::Test {
protected:
    // A 4 x 3 matrix with 100 m cells from (0, 0); rows north first.
    void writeTerrain(TerrainElement e, std::vector<std::vector<double>> rows)
    {
        TerrainHeader h;
        h.element = e;
        h.ncols = static_cast<std::int32_t>(rows[0].size());
        h.nrows = static_cast<std::int32_t>(rows.size());
        h.cellSize = 100;
        h.noData = -9999;
        std::string bytes = h.encode();
        for (const auto& row : rows)
            for (double v : row)
                putTerrainElement(bytes, e, e == TerrainElement::Real ? 0 : static_cast<long>(v), v);
        writeFileAtomically(dir.path("t.bin"), bytes);
    }
    HeightFillSettings settings(bool interpolate, bool overwrite)
    {
        return {dir.path("in.txt"), dir.path("out.txt"), dir.path("t.bin"), interpolate, overwrite};
    }
    std::string read(const std::string& name) { return readFileBytes(dir.path(name)).value_or("<none>"); }
    // Fills the heights of `input` (as in.txt) and gives what it wrote: in.txt itself when
    // overwriting, else out.txt; "<failed>" when the fill did not finish.
    std::string afterFill(const std::string& input, bool overwrite, RecordingReporter& r)
    {
        writeFileAtomically(dir.path("in.txt"), input);
        if (fillHeights(settings(false, overwrite), RunContext{r, false}) != ToolStatus::Done)
            return "<failed>";
        return read(overwrite ? "in.txt" : "out.txt");
    }

    TempDir dir;
};

TEST_F(HeightFillTest, RecordsGetTheHeightAndEverythingElseIsCopied)
{
    writeTerrain(TerrainElement::Real, {{300, 300, 300, 300}, {300, 300, 300, 300}, {300, 300, 300, 300}});
    RecordingReporter r;
    // the line ends stay CR LF, and the last line stays without one
    EXPECT_EQ(afterFill(";SOUBOR S BODY\r\n\r\n12,100.0,200.0,0,1.5;\r\n13,900,200,0,1;\r\n0,1,1,1,1;\r\n"
                        "000000005, 0150000, 0250000, 0000, 1, 0, 7 ;Kotelna\r\n14,50,50,7,2;poznámka",
                        false, r),
              ";SOUBOR S BODY\r\n\r\n12, 100.000000, 200.000000, 300.000000, 1.5;\r\n0,1,1,1,1;\r\n"
              "14, 50.000000, 50.000000, 300.000000, 2;poznámka");
    EXPECT_EQ(r.lastStatus(0), "Zpracováno 4 řádků, z toho 2 mimo oblast");
    EXPECT_EQ(r.progressMaximum, 4);
}

TEST_F(HeightFillTest, EncodingLineEndsAndByteOrderMarkAreKept)
{
    writeTerrain(TerrainElement::Int16, {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}});
    // Windows-1250 as the sources editor writes it: "Kotelna Údolí" and "Zdroj č. 1"
    const std::string cp1250 = ";Studie \xDA"
                               "dol\xED\r\n;SOUBOR S BODY\r\n"
                               "000000001, 0000150, 0000150, 0000, 1, 0, 7 ;Zdroj \xE8. 1\r\n"
                               "000000002, 0009000, 0000150, 0000, 1, 0, 7 ;Kotelna \xDA"
                               "dol\xED\r\n";
    const std::string filled = ";Studie \xDA"
                               "dol\xED\r\n;SOUBOR S BODY\r\n"
                               "1, 150.000000, 150.000000, 60,  1, 0, 7 ;Zdroj \xE8. 1\r\n";
    for (bool overwrite : {false, true}) {
        writeFileAtomically(dir.path("in.txt"), cp1250);
        RecordingReporter r;
        ASSERT_EQ(fillHeights(settings(false, overwrite), RunContext{r, false}), ToolStatus::Done);
        // in place the record outside the terrain stays as it was
        EXPECT_EQ(read(overwrite ? "in.txt" : "out.txt"),
                  overwrite ? filled +
                          "000000002, 0009000, 0000150, 0000, 1, 0, 7 ;Kotelna \xDA"
                          "dol\xED\r\n"
                            : filled);
    }
    // a byte-order mark is not part of the first record, and stays at the start of the file
    RecordingReporter r;
    EXPECT_EQ(afterFill("\xEF\xBB\xBF"
                        "1,150,150,0,1;pozn\xC3\xA1mka\n2,250,150,0,1;\n",
                        true, r),
              "\xEF\xBB\xBF"
              "1, 150.000000, 150.000000, 60, 1;pozn\xC3\xA1mka\n2, 250.000000, 150.000000, 70, 1;\n");
}

TEST_F(HeightFillTest, NumberFormatFollowsTheMatrixAndTheInterpolation)
{
    // Rows north first; the centre cell (1, 1) holds 60, its east neighbour 70.
    std::vector<std::vector<double>> rows = {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}};
    writeFileAtomically(dir.path("in.txt"), "1,150,150,0,0;\n2,175,150,0,0;\n3,20,20,0,0;\n");
    writeTerrain(TerrainElement::Int16, rows);
    RecordingReporter r({Answer::Yes, Answer::Yes, Answer::Yes});
    ASSERT_EQ(fillHeights(settings(false, false), RunContext{r, false}), ToolStatus::Done);
    EXPECT_EQ(
        read("out.txt"),
        "1, 150.000000, 150.000000, 60, 0;\n2, 175.000000, 150.000000, 60, 0;\n3, 20.000000, 20.000000, 90, 0;\n");
    ASSERT_EQ(fillHeights(settings(true, false), RunContext{r, false}), ToolStatus::Done);
    // 175 lies a quarter of the way from the centre at 150 to the one at 250; the border cell stays direct.
    EXPECT_EQ(
        read("out.txt"),
        "1, 150.000000, 150.000000, 60.000000, 0;\n2, 175.000000, 150.000000, 62.500000, 0;\n3, 20.000000, 20.000000, 90, 0;\n");
    writeTerrain(TerrainElement::Int32, rows);
    ASSERT_EQ(fillHeights(settings(false, false), RunContext{r, false}), ToolStatus::Done);
    EXPECT_EQ(
        read("out.txt"),
        "1, 150.000000, 150.000000, 60, 0;\n2, 175.000000, 150.000000, 60, 0;\n3, 20.000000, 20.000000, 90, 0;\n");
}

TEST_F(HeightFillTest, OverwriteKeepsRecordsWithoutHeightAndLeavesNoWorkFile)
{
    writeTerrain(TerrainElement::Int16, {{10, 20, 30, 40}, {50, 60, -9999, 80}, {90, 100, 110, 120}});
    const std::string input = ";body\n1,150,150,5,0;\n2,240,150,5,0;\n3,5000,5000,5,0;\n4,abc,1,5,0;\n";
    writeFileAtomically(dir.path("in.txt"), input);
    RecordingReporter r;
    ASSERT_EQ(fillHeights(settings(true, false), RunContext{r, false}), ToolStatus::Done);
    // Without overwrite the blend over a no-data cell, the outside point and the unreadable line are left out.
    EXPECT_EQ(read("out.txt"), ";body\n");
    EXPECT_EQ(r.lastStatus(1), "Bez údaje o výšce 2 řádky, s nečitelnými souřadnicemi 1 řádek");

    ASSERT_EQ(fillHeights(settings(false, true), RunContext{r, false}), ToolStatus::Done);
    EXPECT_EQ(read("in.txt"),
              ";body\n1, 150.000000, 150.000000, 60, 0;\n2,240,150,5,0;\n3,5000,5000,5,0;\n4,abc,1,5,0;\n");
    EXPECT_EQ(r.lastStatus(0), "Zpracováno 4 řádků, z toho 1 mimo oblast");
    EXPECT_EQ(dir.names().size(), 3u);  // in.txt, out.txt, t.bin
}

TEST_F(HeightFillTest, ACancelledOverwriteLeavesTheInputAsItWas)
{
    writeTerrain(TerrainElement::Int16, {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}});
    const std::string input = "1,150,150,5,0;\n";
    writeFileAtomically(dir.path("in.txt"), input);
    RecordingReporter r;
    r.cancelRequested = true;
    EXPECT_EQ(fillHeights(settings(false, true), RunContext{r, false}), ToolStatus::Failed);
    EXPECT_EQ(read("in.txt"), input);
}

TEST_F(HeightFillTest, ADamagedRealMatrixWritesNoNan)
{
    writeTerrain(TerrainElement::Real, {{std::nan(""), 1}, {1, 1}});
    writeFileAtomically(dir.path("in.txt"), "1,50,150,0,0;\n2,150,50,0,0;\n");
    RecordingReporter r;
    ASSERT_EQ(fillHeights(settings(false, false), RunContext{r, false}), ToolStatus::Done);
    EXPECT_EQ(read("out.txt"), "2, 150.000000, 50.000000, 1.000000, 0;\n");
}

TEST_F(HeightFillTest, FieldsThatAreNoNumbersAreNotCopiedOn)
{
    writeTerrain(TerrainElement::Real, {{1, 1}, {1, 1}});
    writeFileAtomically(dir.path("in.txt"), "1,50,150,0,inf;\n2,150,50,NaN,0;\n3,150,150,0, -nan ;\n4,50,50,0,1;\n");
    RecordingReporter r;
    ASSERT_EQ(fillHeights(settings(false, false), RunContext{r, false}), ToolStatus::Done);
    EXPECT_EQ(read("out.txt"), "4, 50.000000, 50.000000, 1.000000, 1;\n");
    EXPECT_EQ(r.lastStatus(1), "Bez údaje o výšce 0 řádků, s nečitelnými souřadnicemi 3 řádky");
}

TEST_F(HeightFillTest, EveryPointOutsideTheTerrainRunsToItsEndAndFails)
{
    writeTerrain(TerrainElement::Real, {{1, 1}, {1, 1}});
    writeFileAtomically(dir.path("in.txt"), "1,5000,150,0,0;\n2,150,-50,0,0;\n");
    RecordingReporter r;
    ASSERT_EQ(fillHeights(settings(false, false), RunContext{r, false}), ToolStatus::Failed);
    EXPECT_EQ(r.lastStatus(0), "Zpracováno 2 řádků, z toho 2 mimo oblast");
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages.back().text,
              "Žádný z 2 bodů neleží v oblasti matice výškopisu " + dir.path("t.bin") +
                  ", výška nebyla doplněna žádnému bodu!");
}

TEST_F(HeightFillTest, FailuresAndTheOverwriteQuestion)
{
    writeTerrain(TerrainElement::Real, {{1, 1}, {1, 1}});
    writeFileAtomically(dir.path("in.txt"), "1,50,50,0,0;\n");
    writeFileAtomically(dir.path("out.txt"), "previous");
    RecordingReporter no({Answer::No});
    EXPECT_EQ(fillHeights(settings(false, false), RunContext{no, false}), ToolStatus::Declined);
    EXPECT_EQ(read("out.txt"), "previous");

    RecordingReporter r;
    auto s = settings(false, false);
    s.input = dir.path("none.txt");
    EXPECT_EQ(fillHeights(s, RunContext{r, false}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Vstupní soubor se souřadnicemi nelze otevřít !"));
    s = settings(false, false);
    s.terrain = dir.path("none.bin");
    EXPECT_EQ(fillHeights(s, RunContext{r, false}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Vstupní soubor s výškopisem nelze otevřít !"));
    // a matrix cut short or with bytes beyond its elements: the message says which
    for (const std::string& bytes : {read("t.bin").substr(0, 40), read("t.bin") + "??"}) {
        writeFileAtomically(dir.path("cut.bin"), bytes);
        s.terrain = dir.path("cut.bin");
        RecordingReporter cut;
        EXPECT_EQ(fillHeights(s, RunContext{cut, false}), ToolStatus::Failed);
        ASSERT_EQ(cut.messages.size(), 1u);
        EXPECT_EQ(cut.messages[0].text,
                  cformat("Vstupní soubor s výškopisem není úplná matice výškopisu!\n"
                          "Délka souboru %zu B neodpovídá hlavičce (2 x 2 prvků po 8 B, celkem 74 B).",
                          bytes.size()));
    }
    s = settings(false, false);
    s.output = dir.path("nofolder/out.txt");
    EXPECT_EQ(fillHeights(s, RunContext{r, false}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Výstupní soubor se souřadnicemi a nalezenými hodnotami nelze otevřít !"));
    EXPECT_EQ(read("out.txt"), "previous");
}

}  // namespace
}  // namespace ovd
