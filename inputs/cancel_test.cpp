// Cancelling the conversion and the checks: they stop early, say nothing and leave the
// previous outputs as they were.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/numbers.h"
#include "conversion.h"
#include "input_checks.h"
#include "terrain_conversion.h"
#include "testing/stopping_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

constexpr int kPoints = 900, kSources = 600;

class CancelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string points = ";cislo, x, y, z, l\n", coords, desc;
        for (int i = 1; i <= kPoints; ++i)
            points += cformat("%d, %d.0, %d.0, 300.0, 1.5;\n", i, 100 * (i % 30), 100 * (i / 30));
        for (int i = 1; i <= kSources; ++i) {
            coords += cformat("%d, %d.5, %d.5, 310.0, 1, 0, %d;\n", i, 50 * (i % 20), 50 * (i / 20), i % 3);
            desc += cformat("%d, 1.5, 20.0, 3.0, 120.0, 1.0, 8.0, 0.5, 24, 0;\n", i);
        }
        write("body.txt", points);
        write("zdroje.txt", coords);
        write("popis.txt", desc);
        s.pointsText = dir.path("body.txt");
        s.sourcesText = dir.path("zdroje.txt");
        s.descriptionText = dir.path("popis.txt");
        s.pointsBinary = dir.path("body.bin");
        s.sourcesBinary = dir.path("zdroje.bin");
    }
    void write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(writeFileAtomically(dir.path(name), text));
    }
    std::string bytes(const std::string& name) const { return readFileBytes(dir.path(name)).value_or("<missing>"); }
    std::size_t fileCount() const { return dir.names().size(); }

    TempDir dir;
    ConversionSettings s;
};

TEST_F(CancelTest, ConversionStoppedAmongTheSourcesKeepsThePreviousOutputs)
{
    RecordingReporter first{{Answer::Yes, Answer::Yes}};
    ASSERT_EQ(convertTextInputs(s, RunContext{first, false}), ToolStatus::Done);
    const std::string points = bytes("body.bin"), sources = bytes("zdroje.bin");
    const std::size_t files = fileCount();  // the inputs, the two outputs and the run log

    write("body.txt", "1, 5.0, 5.0, 1.0, 1.0;\n");
    // A few steps in, the sources are being read: the poll every few hundred lines stops it.
    StoppingReporter stop(20);
    EXPECT_EQ(convertTextInputs(s, RunContext{stop, false}), ToolStatus::Failed);
    EXPECT_TRUE(stop.messages.empty());
    EXPECT_LT(stop.lastProgress, kSources);  // it did not run to the end
    EXPECT_EQ(bytes("body.bin"), points);
    EXPECT_EQ(bytes("zdroje.bin"), sources);
    EXPECT_EQ(fileCount(), files);  // no temporary file left beside the outputs

    StoppingReporter before(0);
    EXPECT_EQ(convertTextInputs(s, RunContext{before, true}), ToolStatus::Failed);
    EXPECT_EQ(bytes("body.bin"), points);
}

TEST_F(CancelTest, ChecksStopWithoutAReport)
{
    CheckReport report;
    StoppingReporter stop(10);
    EXPECT_EQ(checkPointsFile({s.pointsText}, RunContext{stop, false}, report), ToolStatus::Failed);
    EXPECT_LT(stop.lastProgress, kPoints);
    EXPECT_TRUE(report.tables.empty());
    EXPECT_TRUE(report.results.empty());  // no verdict for a file that was not read through
    EXPECT_FALSE(report.usable);

    SourceCheckSettings sources{s.sourcesText, s.descriptionText, "", "", false};
    StoppingReporter among(kSources + 10);  // stopped in the description file
    EXPECT_EQ(checkSourceFiles(sources, RunContext{among, false}, report), ToolStatus::Failed);
    EXPECT_LT(among.lastProgress, 2 * kSources);
    EXPECT_TRUE(report.tables.empty());
    EXPECT_TRUE(report.results.empty());
    EXPECT_TRUE(among.messages.empty());

    RecordingReporter whole;
    EXPECT_EQ(checkSourceFiles(sources, RunContext{whole, false}, report), ToolStatus::Done);
}

TEST_F(CancelTest, TerrainCheckStopsWithoutAVerdict)
{
    std::string grid = "ncols 3\nnrows 400\nxllcorner 0\nyllcorner 0\ncellsize 10\nNODATA_value -9999\n";
    for (int r = 0; r < 400; ++r)
        grid += "1 2 3\n";
    write("teren.txt", grid);
    StoppingReporter stop(5);
    TerrainCheckResult result = checkTerrainText(dir.path("teren.txt"), stop);
    EXPECT_TRUE(result.cancelled);
    EXPECT_LE(stop.lastProgress, 5);
    EXPECT_FALSE(result.usable);
    EXPECT_TRUE(result.text.empty());

    RecordingReporter whole;
    result = checkTerrainText(dir.path("teren.txt"), whole);
    EXPECT_FALSE(result.cancelled);
    EXPECT_TRUE(result.usable);
}

}  // namespace
}  // namespace ovd
