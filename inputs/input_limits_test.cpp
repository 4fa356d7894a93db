// What the inputs tools refuse before they read or write anything: inputs that are not
// regular files, lines longer than 1 MiB, and outputs that are the same file as an input.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>

#include "common/file_io.h"
#include "conversion.h"
#include "height_fill.h"
#include "input_checks.h"
#include "terrain_conversion.h"
#include "testing/conversion_files.h"
#include "testing/recording_reporter.h"

namespace ovd {
namespace {

class InputLimitsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write("body.txt", "1,10,20,300,1.5;\n");
        write("zdroje.txt", "1,0,0,0,1,0,0;\n");
        write("popis.txt", "1,1,1,1,1,1,1,0.5,1,0\n");
        write("teren.txt", "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 100\nNODATA_value -9999\n1 2\n");
    }
    void write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(writeFileAtomically(dir.path(name), text));
    }
    std::string read(const std::string& name) { return readFileBytes(dir.path(name)).value_or("<none>"); }
    ConversionSettings conversion() { return conversionFilesIn(dir); }
    // A FIFO, which a reader would wait on for ever; on Windows, which has none, a device.
    // Empty when it cannot be made.
    std::string notARegularFile()
    {
#ifdef _WIN32
        return "NUL";
#else
        const std::string fifo = dir.path("fifo");
        return ::mkfifo(fifo.c_str(), 0600) == 0 ? fifo : std::string();
#endif
    }
    TempDir dir;
};

TEST_F(InputLimitsTest, LinesOverOneMebibyteAreRefusedNamingFileAndLine)
{
    const std::string longLine = "2," + std::string(1 << 20, '1') + ",20,300,1.5;\n";
    write("body.txt", "1,10,20,300,1.5;\n" + longLine);
    const std::string message = "Řádek 2 souboru " + dir.path("body.txt") + " je delší než 1 MiB.";

    RecordingReporter conv{{Answer::Yes, Answer::Yes}};
    EXPECT_EQ(convertTextInputs(conversion(), RunContext{conv, false}), ToolStatus::Failed);
    EXPECT_TRUE(conv.hasMessage(message));
    EXPECT_EQ(read("body.bin"), "<none>");

    RecordingReporter check;
    CheckReport report;
    EXPECT_EQ(checkPointsFile({dir.path("body.txt")}, RunContext{check, false}, report), ToolStatus::Failed);
    EXPECT_TRUE(check.hasMessage(message));

    write("teren.txt", "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 100\nNODATA_value -9999\n1 2\n");
    TerrainSettings t{dir.path("teren.txt"), dir.path("teren.bin"), TerrainElement::Int16};
    RecordingReporter terrain;
    ASSERT_EQ(convertTerrain(t, RunContext{terrain, true}), ToolStatus::Done);
    const std::string good = read("teren.bin");
    HeightFillSettings h{dir.path("body.txt"), dir.path("vysky.txt"), dir.path("teren.bin"), false, true};
    RecordingReporter fill;
    EXPECT_EQ(fillHeights(h, RunContext{fill, true}), ToolStatus::Failed);
    EXPECT_TRUE(fill.hasMessage(message));

    // in a terrain grid, the header and the rows alike
    const std::pair<std::string, long> grids[] = {
        {"ncols " + std::string(1 << 20, '2') + "\n", 1},
        {"ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 100\nNODATA_value -9999\n" + std::string(1 << 20, ' ') +
             "1 2\n",
         7},
    };
    for (const auto& [grid, line] : grids) {
        write("teren.txt", grid);
        const std::string gridMessage =
            "Řádek " + std::to_string(line) + " souboru " + dir.path("teren.txt") + " je delší než 1 MiB.";
        RecordingReporter r;
        EXPECT_EQ(convertTerrain(t, RunContext{r, true}), ToolStatus::Failed);
        EXPECT_TRUE(r.hasMessage(gridMessage)) << line;
        EXPECT_EQ(read("teren.bin"), good);
        RecordingReporter c;
        EXPECT_TRUE(checkTerrainText(dir.path("teren.txt"), c).unreadable);
        EXPECT_TRUE(c.hasMessage(gridMessage)) << line;
    }
}

TEST_F(InputLimitsTest, InputsThatAreNotRegularFilesAreNotRead)
{
    const std::string fifo = notARegularFile();
    ASSERT_FALSE(fifo.empty());
    ConversionSettings s = conversion();
    s.pointsText = fifo;
    RecordingReporter conv;
    EXPECT_EQ(convertTextInputs(s, RunContext{conv, true}), ToolStatus::Failed);  // would block on a FIFO
    EXPECT_TRUE(conv.hasMessage("Vstupní soubor s refer. body nelze otevřít !"));
    s.pointsText = dir.root();
    EXPECT_EQ(convertTextInputs(s, RunContext{conv, true}), ToolStatus::Failed);

    RecordingReporter terrain;
    TerrainSettings t{fifo, dir.path("teren.bin"), TerrainElement::Int16};
    EXPECT_EQ(convertTerrain(t, RunContext{terrain, true}), ToolStatus::Failed);
    EXPECT_TRUE(terrain.hasMessage("Vstupní soubor maticí výškopisu nelze otevřít !"));
    RecordingReporter check;
    EXPECT_TRUE(checkTerrainText(fifo, check).unreadable);

    RecordingReporter fill;
    HeightFillSettings h{fifo, dir.path("vysky.txt"), dir.path("teren.bin"), false, false};
    EXPECT_EQ(fillHeights(h, RunContext{fill, true}), ToolStatus::Failed);
    EXPECT_TRUE(fill.hasMessage("Vstupní soubor se souřadnicemi nelze otevřít !"));
}

TEST_F(InputLimitsTest, OutputsNamingAnInputAreRefusedBeforeAnyQuestion)
{
    struct Case {
        std::function<ToolStatus(const RunContext&)> run;
        std::string message, untouched;
    };
    ConversionSettings onText = conversion();
    onText.sourcesBinary = dir.path("zdroje.txt");
    ConversionSettings onEachOther = conversion();
    onEachOther.pointsBinary = dir.path("./zdroje.bin");  // not made yet: the paths decide
    TerrainSettings terrainOnText{dir.path("teren.txt"), dir.path("teren.txt"), TerrainElement::Int16};
    HeightFillSettings heightsOnTerrain{dir.path("body.txt"), dir.path("teren.bin"), dir.path("teren.bin"), false,
                                        false};
    HeightFillSettings inPlaceOnTerrain{dir.path("teren.bin"), "", dir.path("teren.bin"), false, true};
    auto shared = [&](const std::string& file, const char* first, const char* second) {
        return "Soubor " + dir.path(file) + " je zadán jako " + first + " i jako " + second +
            ".\nZvolte pro výstup jiný soubor.";
    };
    RecordingReporter make;
    ASSERT_EQ(
        convertTerrain({dir.path("teren.txt"), dir.path("teren.bin"), TerrainElement::Int16}, RunContext{make, true}),
        ToolStatus::Done);
    const Case cases[] = {
        {[&](const RunContext& c) { return convertTextInputs(onText, c); },
         shared("zdroje.txt", "textový soubor se zdroji", "binární soubor se zdroji"), "zdroje.txt"},
        {[&](const RunContext& c) { return convertTextInputs(onEachOther, c); },
         "Soubor " + dir.path("zdroje.bin") +
             " je zadán jako binární soubor s referenčními body i jako binární soubor se zdroji."
             "\nZvolte pro výstup jiný soubor.",
         "body.txt"},
        {[&](const RunContext& c) { return convertTerrain(terrainOnText, c); },
         shared("teren.txt", "textový soubor s výškopisem", "binární soubor s výškopisem"), "teren.txt"},
        {[&](const RunContext& c) { return fillHeights(heightsOnTerrain, c); },
         shared("teren.bin", "binární matice výškopisu", "výstupní textový soubor"), "teren.bin"},
        {[&](const RunContext& c) { return fillHeights(inPlaceOnTerrain, c); },
         shared("teren.bin", "binární matice výškopisu", "přepisovaný textový soubor se souřadnicemi"), "teren.bin"},
    };
    for (const Case& c : cases) {
        const std::string before = read(c.untouched);
        RecordingReporter r{{Answer::Yes, Answer::Yes}};
        EXPECT_EQ(c.run(RunContext{r, false}), ToolStatus::Failed) << c.message;
        ASSERT_EQ(r.messages.size(), 1u) << c.message;
        EXPECT_EQ(r.messages[0].text, c.message);
        EXPECT_TRUE(r.questions.empty()) << c.message;
        EXPECT_EQ(read(c.untouched), before) << c.message;
    }
}

TEST_F(InputLimitsTest, ConvertedPairIsCommittedTogether)
{
    RecordingReporter first;
    ASSERT_EQ(convertTextInputs(conversion(), RunContext{first, true}), ToolStatus::Done);
    const std::string points = read("body.bin");
    // The sources output cannot be written (a FIFO is never replaced): the new points
    // file must not appear beside the old sources file.
    const std::string fifo = notARegularFile();
    ASSERT_FALSE(fifo.empty());
    write("body.txt", "1,10,20,300,1.5;\n2,11,21,301,2;\n");
    ConversionSettings s = conversion();
    s.sourcesBinary = fifo;
    RecordingReporter r;
    EXPECT_EQ(convertTextInputs(s, RunContext{r, true}), ToolStatus::Failed);
    EXPECT_TRUE(r.hasMessage("Výstupní soubor se zdroji nelze otevřít !"));
    EXPECT_EQ(read("body.bin"), points);
#ifndef _WIN32
    struct stat st { };
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
#endif
}

}  // namespace
}  // namespace ovd
