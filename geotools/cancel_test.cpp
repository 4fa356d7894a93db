// Cancelling the grid, the coordinate tools and the DBF exports: they stop early, say
// nothing, and neither create their outputs nor change the files that were there.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "coord_recompute.h"
#include "coord_table.h"
#include "dbf_export.h"
#include "reference_grid.h"
#include "testing/stopping_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

class CancelTest : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(writeFileAtomically(dir.path(name), text));
    }
    std::string bytes(const std::string& name) const { return readFileBytes(dir.path(name)).value_or("<missing>"); }
    std::vector<std::string> files() const { return dir.names(); }

    TempDir dir;
};

TEST_F(CancelTest, GridKeepsTheFileItWouldHaveReplaced)
{
    write("body.txt", "1, 0.0, 0.0, 0.0, 1.0\n");
    GridSettings s;
    s.stepX = s.stepY = 10;
    s.countX = s.countY = 30;
    s.output = dir.path("body.txt");
    StoppingReporter stop(10);  // answers Yes to the overwrite question
    EXPECT_EQ(makeReferenceGrid(s, RunContext{stop, false}), ToolStatus::Failed);
    EXPECT_EQ(stop.questions.size(), 1u);
    EXPECT_LT(stop.lastProgress, 900);
    EXPECT_TRUE(stop.messages.empty());
    EXPECT_EQ(bytes("body.txt"), "1, 0.0, 0.0, 0.0, 1.0\n");
    EXPECT_EQ(files(), std::vector<std::string>{"body.txt"});

    s.append = true;
    StoppingReporter appending(10);
    EXPECT_EQ(makeReferenceGrid(s, RunContext{appending, false}), ToolStatus::Failed);
    EXPECT_EQ(bytes("body.txt"), "1, 0.0, 0.0, 0.0, 1.0\n");
}

TEST_F(CancelTest, CoordinateToolsWriteNothing)
{
    // A 30 x 20 table: X = 1000 + u, Y = 2000 + v.
    std::string table;
    for (int v = 0; v < 20; ++v)
        for (int u = 0; u < 30; ++u)
            table += cformat("%d, %d, %d, %d\n", u, v, 1000 + u, 2000 + v);
    write("tabulka.txt", table);
    CoordTableSettings ts{dir.path("tabulka.txt"), dir.path("tabulka.bin")};
    StoppingReporter stop(10);
    EXPECT_EQ(convertCoordTable(ts, RunContext{stop, false}), ToolStatus::Failed);
    EXPECT_TRUE(stop.messages.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"tabulka.txt"});

    RecordingReporter whole;
    ASSERT_EQ(convertCoordTable(ts, RunContext{whole, false}), ToolStatus::Done);
    std::string coords;
    for (int i = 1; i <= 600; ++i)
        coords += cformat("%d, %d.5, %d.5, 300.0, 1, 0, 0;\n", i, i % 29, i % 19);
    write("zdroje.txt", coords);
    CoordRecomputeSettings rs;
    rs.coordinates = dir.path("zdroje.txt");
    rs.table = dir.path("tabulka.bin");
    rs.coordinatesOutput = dir.path("nove.txt");
    StoppingReporter again(10);
    EXPECT_EQ(recomputeCoordinates(rs, RunContext{again, false}), ToolStatus::Failed);
    EXPECT_LT(again.lastProgress, 600);
    EXPECT_FALSE(std::filesystem::exists(dir.path("nove.txt")));

    rs.overwrite = true;  // the input itself is the output: it stays as it was
    StoppingReporter inPlace(10);
    EXPECT_EQ(recomputeCoordinates(rs, RunContext{inPlace, false}), ToolStatus::Failed);
    EXPECT_EQ(bytes("zdroje.txt"), coords);
}

TEST_F(CancelTest, DbfExportsLeaveNoOutput)
{
    const std::vector<DbfField> fields = {
        {"ID_POINT", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0}, {"CONC_VALUE", 15, 6}};
    const int records = 1500;
    std::string dbf = dbfHeaderBytes(fields, records, {2026, 3, 4});
    for (int i = 1; i <= records; ++i)
        dbf += " " + cformat("%10d%15.6f%15.6f%15.6f", i, 1000.0 + i, 2000.0 - i, 0.5 * i);
    write("vysledky.dbf", dbf + '\x1a');
    DbfExportSettings s;
    s.input = dir.path("vysledky.dbf");
    s.deriveOutputNames();

    // The GIS export reports progress as it reads the records and stops at its next poll.
    StoppingReporter stop(1);
    EXPECT_EQ(exportDbfToGis(s, RunContext{stop, false}), ToolStatus::Failed);
    EXPECT_TRUE(stop.messages.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"vysledky.dbf"});

    StoppingReporter mapInfo(0), text(0);
    const int columns[] = {1, 4};
    EXPECT_EQ(exportDbfToMapInfo(s, RunContext{mapInfo, false}), ToolStatus::Failed);
    EXPECT_EQ(exportDbfToText(s, columns, RunContext{text, false}), ToolStatus::Failed);
    EXPECT_TRUE(mapInfo.messages.empty());
    EXPECT_TRUE(text.messages.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"vysledky.dbf"});

    RecordingReporter whole;
    EXPECT_EQ(exportDbfToText(s, columns, RunContext{whole, false}), ToolStatus::Done);
    EXPECT_EQ(bytes("vysledky.txt").substr(0, 26), "         1,       0.500000");
}

}  // namespace
}  // namespace ovd
