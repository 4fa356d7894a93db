#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/paths.h"
#include "inputs/terrain_conversion.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

class TerrainConversionTest : public ::testing::Test {
protected:
    ToolStatus convert(const std::string& text, TerrainElement element, RecordingReporter& r)
    {
        writeFileAtomically(dir.path("grid.txt"), text);
        TerrainSettings s{dir.path("grid.txt"), dir.path("grid.bin"), element};
        return convertTerrain(s, RunContext{r, false});
    }
    std::string output() { return readFileBytes(dir.path("grid.bin")).value_or("<none>"); }
    std::string log() { return readFileBytes(dir.path("prub_vys.tmp")).value_or("<none>"); }

    TempDir dir;
};

// Header bytes assembled field by field, as the matrix format lays them out.
std::string header(int type, int ncols, int nrows, double x0, double y0, double cell)
{
    std::string h;
    putU16(h, static_cast<std::uint16_t>(type));
    putI32(h, ncols);
    putI32(h, nrows);
    putF64(h, x0);
    putF64(h, y0);
    putF64(h, cell);
    return h;
}

const char* kColumns3x2 =
    "ncols 3\nnrows 2\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value -9999\n1 2 3\n4 5 6\n";
const char* kSurface3x2 = "DSAA\n3 2\n100 120\n200 210\n1 6\n4 5 6\n\n1 2 3\n\n";

TEST_F(TerrainConversionTest, BothKindsGiveTheSameBytesForEveryElementType)
{
    for (int type = 0; type <= 2; ++type) {
        std::string cols = header(type, 3, 2, 100, 200, 10);
        std::string surf = header(type, 3, 2, 100, 200, 10);
        for (int v : {-9999, 1, 2, 3, 4, 5, 6}) {
            std::string* targets[] = {&cols, &surf};
            for (std::string* t : targets) {
                if (type == 0)
                    putI16(*t, static_cast<std::int16_t>(v));
                else if (type == 1)
                    putI32(*t, v);
                else
                    putF64(*t, v);
            }
        }
        RecordingReporter r({Answer::Yes});
        ASSERT_EQ(convert(kColumns3x2, static_cast<TerrainElement>(type), r), ToolStatus::Done) << type;
        EXPECT_EQ(output(), cols) << "first kind, type " << type;
        EXPECT_EQ(r.lastStatus(0), "Zapsáno 2 řádků s 3 sloupci");
        RecordingReporter r2({Answer::Yes});
        ASSERT_EQ(convert(kSurface3x2, static_cast<TerrainElement>(type), r2), ToolStatus::Done) << type;
        EXPECT_EQ(output(), surf) << "second kind, type " << type;
        EXPECT_TRUE(r2.messages.empty());
    }
}

TEST_F(TerrainConversionTest, LogLinesOfBothKinds)
{
    RecordingReporter r({Answer::Yes, Answer::Yes});
    ASSERT_EQ(convert(kColumns3x2, TerrainElement::Int16, r), ToolStatus::Done);
    EXPECT_EQ(log(),
              "Poc. souradnice X : 100.000000 \n\rPoc. souradnice Y : 200.000000 \n\r"
              "Velikost bunky    : 10.000000 \n\rNulova hodnota  : -9999 \n\n\r");
    ASSERT_EQ(convert(kSurface3x2, TerrainElement::Real, r), ToolStatus::Done);
    EXPECT_EQ(log(),
              "\nPocet sloupcu     : 3 \n\rPocet radku       : 2 \n\r"
              "Poc. souradnice X : 100.000000 \n\rPoc. souradnice Y : 200.000000 \n\r"
              "Velikost bunky    : 10.000000 \n\rNulova hodnota  : -9999.000000 \n\n\r");
}

TEST_F(TerrainConversionTest, WholeTypesKeepTheirLowBits)
{
    const char* grid = "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\nnodata_value -9999\n40000\t12.9\n";
    RecordingReporter r({Answer::Yes});
    ASSERT_EQ(convert(grid, TerrainElement::Int16, r), ToolStatus::Done);
    std::string bytes = output();
    ASSERT_EQ(bytes.size(), 36u + 4u);
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(getI16(p + 36), static_cast<std::int16_t>(-25536));
    EXPECT_EQ(getI16(p + 38), 12);
    ASSERT_EQ(convert(grid, TerrainElement::Int32, r), ToolStatus::Done);
    bytes = output();
    p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(getI32(p + 38), 40000);
}

TEST_F(TerrainConversionTest, RealMatrixKeepsAHugeNoDataValue)
{
    RecordingReporter r;
    ASSERT_EQ(convert("ncols 1\nnrows 1\nx 0\ny 0\ncellsize 1\nnodata_value -1.5e40\n7\n", TerrainElement::Real, r),
              ToolStatus::Done);
    std::string bytes = output();
    ASSERT_EQ(bytes.size(), 50u);
    EXPECT_EQ(getF64(reinterpret_cast<const unsigned char*>(bytes.data()) + 34), -1.5e40);
}

TEST_F(TerrainConversionTest, BadDataLeavesThePreviousOutputAlone)
{
    const std::string head = "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nnodata_value -9999\n";
    struct Case {
        std::string text;
        const char* logged;  // the reason the run log ends with
    };
    const Case cases[] = {
        {head + "1 2\n4 5 6\n", "Chybna data 1. radku matice (radek 7 souboru)"},      // short row
        {head + "1 2 3\n4 5 6 7\n", "Chybna data 2. radku matice (radek 8 souboru)"},  // long row
        {head + "1 2 3\n", "Chybna data 2. radku matice"},                             // missing row
        {head + "1 2 3\n4 5 6\n7 8 9\n", "Soubor ma vice radku matice, nez uvadi hlavicka (radek 9 souboru)"},
        {head + "1 x 3\n4 5 6\n", "Chybna data 1. radku matice (radek 7 souboru)"},  // not a number
        {head + "1 nan 3\n4 5 6\n", "Chybna data 1. radku matice (radek 7 souboru)"},
        {"DSAA\n1 2\n0 0\n0 10\n0 0\n1\n\n2\n", ""},                    // nx below 2: refused by the header
        {"DSAA\n3 2\n0 20\n0 10\n0 0\n1 2 3\n4 5 6\n", "Chybna data"},  // a row where the separator belongs
    };
    for (const Case& c : cases) {
        writeFileAtomically(dir.path("grid.bin"), "previous");
        RecordingReporter r({Answer::Yes});
        EXPECT_EQ(convert(c.text, TerrainElement::Int16, r), ToolStatus::Failed) << c.text;
        EXPECT_TRUE(r.hasMessage("Vstupní TXT soubor obsahuje špatné údaje !")) << c.text;
        EXPECT_EQ(output(), "previous") << c.text;
        EXPECT_NE(log().find(c.logged), std::string::npos) << c.text << log();
    }
}

TEST_F(TerrainConversionTest, HeaderErrorsAreLoggedAndShown)
{
    struct Case {
        std::string text, logLine;
    } cases[] = {
        {"", "Chyba pri nacitani NCols !\n"},
        {"ncols\n", "Chyba pri nacitani NCols !\n"},
        {"ncols 3\n", "Chyba pri nacitani NRows !\n"},
        {"ncols 3\nnrows 2\n", "Chyba pri nacitani XllCorner !\n"},
        {"ncols 3\nnrows 2\nx 0\n", "Chyba pri nacitani YllCorner !\n"},
        {"ncols 3\nnrows 2\nx 0\ny 0\n", "Chyba pri nacitani CellSize !\n"},
        {"ncols 3\nnrows 2\nx 0\ny 0\ncellsize 0\n", "Chyba pri nacitani CellSize !\n"},
        {"ncols 3\nnrows 2\nx 0\ny 0\nc 5\nnodata\n", "Chyba pri nacitani NoDataValue !\n"},
        {"ncols 99999999999\n", "Chyba pri nacitani NCols !\n"},
        {"dsaa\n", "Chyba pri nacitani NCols,NRows !\n"},
        {"dsaa\n3 2\n0\n", "Chyba pri nacitani XMin,XMax !\n"},
        {"dsaa\n3 2\n0 20\n", "Chyba pri nacitani YMin,YMax !\n"},
        {"dsaa\n3 2\n0 20\n0 10\n", "Chyba pri nacitani ZMin,ZMax !\n"},
    };
    for (const Case& c : cases) {
        RecordingReporter r;
        EXPECT_EQ(convert(c.text, TerrainElement::Int16, r), ToolStatus::Failed) << c.text;
        EXPECT_TRUE(r.hasMessage("Chyba při čtení dat z TXT souboru !")) << c.text;
        EXPECT_EQ(log(), c.logLine) << c.text;
        EXPECT_FALSE(fileExists(dir.path("grid.bin"))) << c.text;
    }
    RecordingReporter r;
    EXPECT_EQ(convert("GRID 3 2\n", TerrainElement::Int16, r), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Neznámý formát textového souboru s výškopisem!"));
}

TEST_F(TerrainConversionTest, SurfaceSpacingsEqualUpToRoundingAndAMismatchSaysSo)
{
    // 0.1 steps: (0.3 - 0)/3 and (0.2 - 0)/2 differ in their last bits
    RecordingReporter r;
    ASSERT_EQ(convert("DSAA\n4 3\n0 0.3\n0 0.2\n0 1\n1 2 3 4\n\n5 6 7 8\n\n9 10 11 12\n\n", TerrainElement::Int16, r),
              ToolStatus::Done);
    const std::string converted = output();
    EXPECT_EQ(getF64(reinterpret_cast<const unsigned char*>(converted.data()) + 26), 0.3 / 3);
    RecordingReporter check;
    EXPECT_TRUE(checkTerrainText(dir.path("grid.txt"), check).usable);

    RecordingReporter bad({Answer::Yes, Answer::Yes});
    EXPECT_EQ(convert("dsaa\n3 3\n0 20\n0 25\n0 1\n", TerrainElement::Int16, bad), ToolStatus::Failed);
    ASSERT_EQ(bad.messages.size(), 1u);
    EXPECT_EQ(bad.messages[0].text, "Vzdálenosti mezi body na osách si neodpovídají !");
    EXPECT_EQ(log(), "Vzdalenosti mezi body na osach si neodpovidaji (X : 10.000000, Y : 12.500000!\n");
    EXPECT_EQ(output(), converted);
    // a difference in the sixth significant digit is a real one
    EXPECT_EQ(convert("dsaa\n3 3\n0 20\n0 20.0002\n0 1\n", TerrainElement::Int16, bad), ToolStatus::Failed);
}

TEST_F(TerrainConversionTest, CentreOriginsBecomeTheCorner)
{
    RecordingReporter r({Answer::Yes, Answer::Yes});
    ASSERT_EQ(convert("ncols 2\nnrows 1\nXLLCENTER 105\nyllcorner 200\ncellsize 10\nNODATA_value -1\n1 2\n",
                      TerrainElement::Int16, r),
              ToolStatus::Done);
    std::string bytes = output();
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(getF64(p + 10), 100.0);
    EXPECT_EQ(getF64(p + 18), 200.0);
    ASSERT_EQ(convert("ncols 2\nnrows 1\nxllcorner 105\nyllcenter 205\ncellsize 10\nNODATA_value -1\n1 2\n",
                      TerrainElement::Int16, r),
              ToolStatus::Done);
    bytes = output();
    p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(getF64(p + 10), 105.0);
    EXPECT_EQ(getF64(p + 18), 200.0);
    EXPECT_NE(log().find("Poc. souradnice Y : 200.000000 \n\r"), std::string::npos);
}

TEST_F(TerrainConversionTest, OverwriteQuestionAndOpenFailures)
{
    writeFileAtomically(dir.path("grid.bin"), "previous");
    RecordingReporter no({Answer::No});
    EXPECT_EQ(convert(kColumns3x2, TerrainElement::Int16, no), ToolStatus::Declined);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, "Soubor " + dir.path("grid.bin") + " již existuje.\nChcete jej přepsat ?");
    EXPECT_EQ(output(), "previous");

    RecordingReporter r;
    TerrainSettings missing{dir.path("none.txt"), dir.path("x.bin"), TerrainElement::Int16};
    EXPECT_EQ(convertTerrain(missing, RunContext{r, false}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Vstupní soubor maticí výškopisu nelze otevřít !"));
    TerrainSettings noFolder{dir.path("grid.txt"), dir.path("nofolder/x.bin"), TerrainElement::Int16};
    EXPECT_EQ(convertTerrain(noFolder, RunContext{r, false}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Výstupní soubor maticí výškopisu nelze otevřít !"));
    EXPECT_EQ(terrainOutputName("/a/teren.txt"), "/a/teren.bin");
}

TEST(TerrainCheck, Verdicts)
{
    TempDir dir;
    auto check = [&](const std::string& text) {
        writeFileAtomically(dir.path("g.txt"), text);
        RecordingReporter r;
        return checkTerrainText(dir.path("g.txt"), r);
    };
    auto ok = check(kColumns3x2);
    EXPECT_TRUE(ok.usable);
    EXPECT_EQ(ok.text, "Načteno 2 řádků s 3 sloupci, matice vyhovuje.");
    EXPECT_TRUE(check(kSurface3x2).usable);
    auto shortRow = check("ncols 3\nnrows 2\nx 0\ny 0\nc 1\nn -1\n1 2\n4 5 6\n");
    EXPECT_FALSE(shortRow.usable);
    EXPECT_EQ(shortRow.text, "Načteno 2 řádků s 3 sloupci, chybný počet sloupců některých řádků !");
    EXPECT_EQ(check("dsaa\n3 3\n0 20\n0 25\n0 1\n").text, "Vzdálenosti mezi body na osách si neodpovídají !");
    EXPECT_FALSE(check("ncols 3\nnrows 3\nx 0\ny 0\nc 1\nn -1\n1 2 3\n4 5 6\n").usable);
    RecordingReporter r;
    auto none = checkTerrainText(dir.path("none.txt"), r);
    EXPECT_FALSE(none.usable);
    EXPECT_TRUE(none.unreadable);
    EXPECT_TRUE(r.hasMessage("Vstupní soubor maticí výškopisu nelze otevřít !"));
}

}  // namespace
}  // namespace ovd
