// Every text input read with a leading UTF-8 byte-order mark, as some editors save them:
// the first record of each file counts like any other.
#include <gtest/gtest.h>

#include "binary_inputs.h"
#include "common/file_io.h"
#include "conversion.h"
#include "testing/conversion_fixture.h"
#include "input_checks.h"
#include "terrain_conversion.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

using ByteOrderMarkTest = ConversionFolder;

TEST_F(ByteOrderMarkTest, ConversionKeepsTheFirstRecordOfEveryFile)
{
    write("body.txt", kBom + "1,10,20,300,1.5;\n2,11,21,301,2;\n");
    write("popis.txt", kBom + "1,1,1,1,1,1,1,1,1,1\n2,2,2,2,2,2,2,2,2,2\n3,3,3,3,3,3,3,3,3,3\n");
    write("prach.txt", kBom + "1,1000,1\n2,2000,1\n3,3000,1\n");
    write("skupiny.spr", kBom + "1,1,20,1;hrub\xC3\xBD\n");
    // A mark only in the coordinates file must not leave the descriptions pending.
    for (const std::string& mark : {std::string(), kBom}) {
        write("zdroje.txt", mark + "1,0,0,0,1,0,0;\n2,0,0,0,1,0,0;\n3,0,0,0,1,0,0;\n");
        RecordingReporter rep{{Answer::Yes, Answer::Yes}};
        ConversionSummary sum;
        ASSERT_EQ(convertTextInputs(settings(true), RunContext{rep, false}, &sum), ToolStatus::Done);
        EXPECT_EQ(sum.points, 2);
        EXPECT_EQ(sum.sources, 3);
        EXPECT_EQ(sum.zeroFilled, 0);
        EXPECT_EQ(sum.skippedLines, 0);
        auto file = readSourcesFile(dir.path("zdroje.bin"));
        ASSERT_TRUE(file);
        for (const SourceRecord& s : file->records) {
            EXPECT_EQ(s.values[0], s.number);
            EXPECT_EQ(s.density, 1000.0 * s.number);
            ASSERT_EQ(s.fractions.size(), 1u) << s.number;  // group 1 found on the first line
            EXPECT_EQ(s.fractions[0].diameter, 20.0);
        }
    }
}

TEST_F(ByteOrderMarkTest, ChecksReadTheFirstLineAsARecord)
{
    write("body.txt", kBom + "1,10,20,300,1.5;\n");
    RecordingReporter rep;
    CheckReport report;
    EXPECT_EQ(checkPointsFile({dir.path("body.txt")}, RunContext{rep, false}, report), ToolStatus::Done);
    ASSERT_EQ(report.tables[0].rows.size(), 1u);
    EXPECT_EQ(report.tables[0].rows[0].text, "1,10,20,300,1.5;");

    write("zdroje.txt", kBom + "1,0,0,0,1,0,0;\n");
    write("popis.txt", kBom + "1,1,1,1,1,1,1,0.5,1,0\n");
    write("prach.txt", kBom + "1,1000,1\n");
    write("skupiny.spr", kBom + "1,1,20,1;\n");
    SourceCheckSettings s{dir.path("zdroje.txt"), dir.path("popis.txt"), dir.path("prach.txt"), dir.path("skupiny.spr"),
                          true};
    EXPECT_EQ(checkSourceFiles(s, RunContext{rep, false}, report), ToolStatus::Done);
    EXPECT_EQ(report.results.back(), "Soubory lze použít pro výpočet.");
}

TEST_F(ByteOrderMarkTest, TerrainGridsOfBothKinds)
{
    const std::string grids[] = {
        kBom + "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n1 2\n",
        kBom + "DSAA\n2 2\n0 1\n0 1\n0 1\n1 2\n\n3 4\n\n",
    };
    for (const std::string& grid : grids) {
        write("teren.txt", grid);
        RecordingReporter rep;
        EXPECT_TRUE(checkTerrainText(dir.path("teren.txt"), rep).usable) << grid;
        TerrainSettings s{dir.path("teren.txt"), dir.path("teren.bin"), TerrainElement::Int16};
        EXPECT_EQ(convertTerrain(s, RunContext{rep, true}), ToolStatus::Done) << grid;
    }
}

}  // namespace
}  // namespace ovd
