// The map's classes for the columns of assessment and comparison tables.
#include <gtest/gtest.h>

#include "assess/table_output.h"
#include "common/file_io.h"
#include "map/class_breaks.h"
#include "map/map_model.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A 3 x 1 row of points with an assessment's and a comparison's columns.
MapSettings writeTable(const TempDir& dir)
{
    std::vector<DbfField> fields = {{"ID", 10, 0, 0},     {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                                    {"Z_ELEV", 15, 6, 1}, {"L_ELEV", 15, 6, 1},  {"CELKEM", 15, 6, 1},
                                    {"LIMIT", 15, 6, 1},  {"PODIL_LIM", 15, 6, 1}, {"ROZDIL", 15, 6, 1},
                                    {"ZMENA_PROC", 15, 6, 1}};
    std::vector<OutputRow> rows = {{1.0, 0.0, 0.0, 0.0, 0.0, 30.0, 40.0, 75.0, -3.0, std::nullopt},
                                   {2.0, 100.0, 0.0, 0.0, 0.0, 44.0, 40.0, 110.0, 0.0, 0.0},
                                   {3.0, 200.0, 0.0, 0.0, 0.0, 12.0, 40.0, 30.0, 1.5, 50.0}};
    const std::string path = dir.path("hodnoceni.dbf");
    EXPECT_TRUE(writeFileAtomically(path, tableBytes(fields, rows, {2026, 12, 9})));
    MapSettings s;
    s.table = path;
    s.limit1 = 200;  // the computation's limit concentration, not the table's
    return s;
}

MapModel build(MapSettings s, const std::string& column, const std::string& levels)
{
    s.column = column;
    s.levels = levels;
    RecordingReporter r;
    Outcome<MapModel> m = buildMapModel(s, r);
    EXPECT_TRUE(m) << (m ? "" : m.problem().text);
    return m ? std::move(*m) : MapModel{};
}

TEST(MapAssessment, LimitClassesOfAnAssessmentTableAreItsOwnLimit)
{
    TempDir dir;
    MapSettings s = writeTable(dir);
    EXPECT_EQ(build(s, "CELKEM", "limity").breaks.levels, (std::vector<double>{40}));
    EXPECT_EQ(build(s, "PODIL_LIM", "limity").breaks.levels, (std::vector<double>{50, 100}));
    EXPECT_EQ(build(s, "CELKEM", "limity").unit, "µg/m³");
    EXPECT_EQ(build(s, "PODIL_LIM", "limity").unit, "%");
    // Another column keeps the computation's limits.
    EXPECT_EQ(build(s, "Z_ELEV", "limity").breaks.levels, (std::vector<double>{200}));
}

TEST(MapAssessment, DifferenceTakesADivergingRampCentredAtZero)
{
    TempDir dir;
    MapSettings s = writeTable(dir);
    MapModel m = build(s, "ROZDIL", "");
    ASSERT_TRUE(m.breaks.diverging);
    EXPECT_EQ(m.breaks.levels, (std::vector<double>{-2, -1, -0.03, 0.03, 1, 2}));
    const std::size_t zero = m.breaks.classOf(0);
    EXPECT_EQ(m.breaks.colour(zero), divergingColour(0));
    EXPECT_EQ(m.breaks.colour(0), divergingColour(-1));
    EXPECT_EQ(m.breaks.colour(m.breaks.classCount() - 1), divergingColour(1));
    EXPECT_LT(m.breaks.colour(m.breaks.classOf(-1.5)).red(), divergingColour(0).red());  // a decrease is blue
    EXPECT_LT(m.breaks.colour(m.breaks.classOf(1.5)).blue(), divergingColour(0).blue());  // an increase red
    // The user's levels keep the diverging colours.
    MapModel listed = build(s, "ROZDIL", "-1;1");
    EXPECT_TRUE(listed.breaks.diverging);
    EXPECT_EQ(listed.breaks.colour(1), divergingColour(0));
    // An empty change is a point without a value.
    MapModel change = build(s, "ZMENA_PROC", "");
    ASSERT_EQ(change.points.size(), 3u);
    EXPECT_FALSE(change.points[0].value);
    EXPECT_FALSE(change.breaks.diverging);
}

}  // namespace
}  // namespace ovd
