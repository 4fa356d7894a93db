// The maximum run with the groups' shares, through the tool on files: the shares table
// beside the maximum table, and an interruption during the shares pass, which keeps the
// checkpoint of the complete maximum so that the next run does only the pass.
#include <gtest/gtest.h>

#include <cmath>

#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "inputs/binary_inputs.h"
#include "model/concentration_study_generator.h"
#include "model/concentration_texts.h"
#include "model/concentration_tool.h"
#include "testing/matrix_bytes.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

constexpr std::string_view kSharesPass = "Výpočet podílů skupin zdrojů na maximálních koncentracích ...";
const std::array<double, 3> kSpeeds{1.7, 5.0, 11.0};

// Asks the run to stop once it has said that the shares pass begins.
class StopAtSharesPass : public RecordingReporter {
public:
    void status(int line, std::string_view text) override
    {
        RecordingReporter::status(line, text);
        if (text == kSharesPass)
            cancelRequested = true;
    }
};

std::vector<float> values(const MatrixValues& m)
{
    return {m.begin(), m.end()};
}

// The directions the loop computed, by its status lines (a restart says where it resumes
// in a line of its own).
std::size_t directionLines(const RecordingReporter& r)
{
    std::size_t n = 0;
    for (const auto& [line, text] : r.statusLines)
        for (int d = 0; d < 360; d += 15)
            n += text == directionStatusText(true, d, false) ? 1 : 0;
    return n;
}

class MaximumSharesRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        StudyShape shape;
        shape.points = 60;
        shape.groups = 3;
        shape.seed = 7;
        const ConcentrationStudy study = generateStudy(shape);
        const auto rows = static_cast<std::int32_t>(study.sources.size());
        const auto columns = static_cast<std::int32_t>(study.points.size());
        ASSERT_TRUE(writeFileAtomically(dir.path("body.bin"), encodePoints(study.points)));
        ASSERT_TRUE(writeFileAtomically(dir.path("zdroje.bin"), encodeSources(study.sources, false)));
        ASSERT_TRUE(
            writeFileAtomically(dir.path("theta.bin"), matrixBytes(rows, columns, values(study.matrices.theta))));
        ASSERT_TRUE(
            writeFileAtomically(dir.path("delta.bin"), matrixBytes(rows, columns, values(study.matrices.delta))));
        ASSERT_TRUE(writeFileAtomically(dir.path("zmax.bin"), matrixBytes(rows, columns, values(study.matrices.zmax))));
        std::string rose = ";made up\n";
        for (const std::vector<double>& row : study.windRose) {
            for (std::size_t i = 0; i < row.size(); ++i)
                rose += cformat(i ? ", %.2f" : "%.2f", row[i]);
            rose += "\n";
        }
        ASSERT_TRUE(writeFileAtomically(dir.path("ruzice.txt"), rose));
        s.points = dir.path("body.bin");
        s.sources = dir.path("zdroje.bin");
        s.theta = dir.path("theta.bin");
        s.delta = dir.path("delta.bin");
        s.zmax = dir.path("zmax.bin");
        s.windRose = dir.path("ruzice.txt");
        s.maximum = true;
        s.stepChoice = 3;
        s.customStep = 15;
        s.limits = {1.0, 0.0, 0.0};
        s.output = dir.path("max.dbf");
        s.groupShares = true;
        s.groupOutput = dir.path("podily.dbf");
    }

    ToolStatus run(RecordingReporter& r) { return computeConcentrations(s, kSpeeds, RunContext{r}, 2); }

    // The table's bytes without the date of its header.
    std::string tableBytes(const std::string& name)
    {
        std::optional<std::string> bytes = readFileBytes(dir.path(name));
        return bytes && bytes->size() > 4 ? bytes->substr(0, 1) + bytes->substr(4) : std::string();
    }

    TempDir dir;
    ConcentrationSettings s;
};

TEST_F(MaximumSharesRun, SharesTableHoldsTheMaximumsWeatherAndTheGroupsShares)
{
    RecordingReporter r;
    ASSERT_EQ(ToolStatus::Done, run(r)) << (r.messages.empty() ? "" : r.messages.back().text);
    auto max = DbfTable::load(s.output);
    auto shares = DbfTable::load(s.groupOutput);
    ASSERT_TRUE(max && shares);
    std::vector<std::string> names;
    for (const DbfFieldInfo& f : shares->fields())
        names.push_back(trim(f.shortName()));
    ASSERT_EQ(12u, names.size());
    EXPECT_EQ((std::vector<std::string>{"ID_POINT", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "CONC_MAX", "CLASS_STAB",
                                        "W_VELOCITY", "W_DIRECT", "GR_000010", "GR_000011", "GR_000012"}),
              names);
    ASSERT_EQ(max->recordCount(), shares->recordCount());
    std::size_t positive = 0;
    for (std::size_t i = 0; i < shares->recordCount(); ++i) {
        // the same point and weather as the maximum table, byte for byte
        for (std::size_t f = 0; f < 9; ++f)
            EXPECT_EQ(max->fieldText(i, f), shares->fieldText(i, f)) << "record " << i << " field " << names[f];
        const double cmax = parseDouble(trim(shares->fieldText(i, 5))).value_or(-1);
        double sum = 0;
        for (std::size_t f = 9; f < 12; ++f)
            sum += parseDouble(trim(shares->fieldText(i, f))).value_or(-1000);
        if (cmax > 0) {
            ++positive;
            EXPECT_NEAR(100.0, sum, 1e-4) << "record " << i;
        } else {
            EXPECT_EQ(0.0, sum) << "record " << i;
        }
    }
    EXPECT_GT(positive, 30u);
    std::optional<std::string> protocol = readFileBytes(dir.path("max.vst"));
    ASSERT_TRUE(protocol);
    EXPECT_NE(std::string::npos, protocol->find("  DBF soubor s podily zdr.: " + s.groupOutput + "\n"));
    EXPECT_FALSE(fileExists(dir.path("max.tmp")));
}

TEST_F(MaximumSharesRun, InterruptedSharesPassKeepsTheMaximumAndTheNextRunDoesOnlyThePass)
{
    RecordingReporter whole;
    ASSERT_EQ(ToolStatus::Done, run(whole));
    const std::string maximum = tableBytes("max.dbf"), shares = tableBytes("podily.dbf");
    for (const char* f : {"max.dbf", "podily.dbf", "max.vst", "zdroje.dbf"})
        ASSERT_EQ(0, std::remove(dir.path(f).c_str()));

    StopAtSharesPass stopped;
    EXPECT_EQ(ToolStatus::Declined, run(stopped));
    EXPECT_EQ(24u, directionLines(stopped));  // every direction at a step of 15 degrees
    for (const char* f : {"max.dbf", "podily.dbf", "max.vst", "zdroje.dbf"})
        EXPECT_FALSE(fileExists(dir.path(f))) << f;
    ASSERT_TRUE(fileExists(dir.path("max.tmp")));

    RecordingReporter resumed;  // answers Yes to the restart
    ASSERT_EQ(ToolStatus::Done, run(resumed));
    ASSERT_EQ(1u, resumed.questions.size());
    EXPECT_NE(std::string::npos, resumed.questions[0].text.find("obnovit od stupně 345.00"));
    EXPECT_EQ(0u, directionLines(resumed));
    EXPECT_EQ(maximum, tableBytes("max.dbf"));
    EXPECT_EQ(shares, tableBytes("podily.dbf"));
    EXPECT_FALSE(fileExists(dir.path("max.tmp")));
}

TEST_F(MaximumSharesRun, SharesTableThatCannotBeOpenedStopsBeforeTheLoop)
{
    s.groupOutput = dir.path("chybi/podily.dbf");
    RecordingReporter r;
    EXPECT_EQ(ToolStatus::Failed, run(r));
    EXPECT_TRUE(r.hasMessage("Výstupní dbf s podíly skupin zdrojů nelze otevřít!"));
    EXPECT_EQ(0u, directionLines(r));
    EXPECT_FALSE(fileExists(s.output));
}

}  // namespace
}  // namespace ovd
