#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "common/file_io.h"
#include "common/paths.h"
#include "gdal_output.h"
#include "point_lattice.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// Points with IDs from 1 and one value column (index 0 holds the ID text).
ResultPoints points(const std::vector<std::array<double, 3>>& xyv)
{
    ResultPoints rp;
    rp.attributes = {{"ID", AttributeKind::Integer}, {"V", AttributeKind::Real}};
    for (std::size_t i = 0; i < xyv.size(); ++i) {
        ResultPoint p;
        p.record = i + 1;
        p.x = xyv[i][0];
        p.y = xyv[i][1];
        p.texts = {std::to_string(i + 1), ""};
        p.numbers = {double(i + 1), xyv[i][2]};
        rp.points.push_back(p);
    }
    return rp;
}

TEST(PointLattice, GapsAndOrderDoNotChangeTheLattice)
{
    // A 3 x 2 lattice of 50 x 20 m given south-east first, its middle north point missing.
    Outcome<PointLattice> l = spreadOnLattice(
        points({{-700, -100, 6}, {-800, -100, 4}, {-750, -120, 2}, {-800, -120, 1}, {-700, -120, 3}}), 1);
    ASSERT_TRUE(l) << l.problem().text;
    EXPECT_EQ(l->ncols, 3);
    EXPECT_EQ(l->nrows, 2);
    EXPECT_EQ(l->dx, 50);
    EXPECT_EQ(l->dy, 20);
    EXPECT_EQ(l->xmin, -800);
    EXPECT_EQ(l->ymax, -100);
    EXPECT_EQ(l->cells, (std::vector<double>{4, kLatticeNoData, 6, 1, 2, 3}));

    // One column: its cells are square.
    Outcome<PointLattice> column = spreadOnLattice(points({{5, 0, 1}, {5, 30, 2}, {5, 60, 3}}), 1);
    ASSERT_TRUE(column);
    EXPECT_EQ(column->ncols, 1);
    EXPECT_EQ(column->dx, 30);
}

TEST(PointLattice, RefusalNamesTheFirstPointThatBreaksIt)
{
    // Most gaps are 100 m: the point 30 m off is named, not taken as a finer lattice.
    Outcome<PointLattice> off =
        spreadOnLattice(points({{0, 0, 1}, {100, 0, 1}, {200, 0, 1}, {130, 100, 1}, {300, 0, 1}}), 1);
    ASSERT_FALSE(off);
    EXPECT_EQ(off.problem().text.rfind("Bod 4 (záznam 4, X 130.000, Y 100.000) neleží v pravidelné mřížce", 0), 0u)
        << off.problem().text;
    Outcome<PointLattice> twice = spreadOnLattice(points({{0, 0, 1}, {100, 0, 1}, {100.0004, 0, 2}}), 1);
    ASSERT_FALSE(twice);
    EXPECT_NE(twice.problem().text.find("Bod 3 (záznam 3) leží ve stejné buňce mřížky jako bod 2"), std::string::npos);
    EXPECT_FALSE(spreadOnLattice(points({{0, 0, 1}}), 1));
    EXPECT_FALSE(spreadOnLattice(points({{0, 0, 1}, {0, 0, 2}}), 1));
    // Two far points 1 mm apart in X would need a raster of billions of cells.
    EXPECT_FALSE(spreadOnLattice(points({{0, 0, 1}, {0.003, 5e6, 1}, {5e6, 0, 1}}), 1));
}

TEST(GdalOutput, WritesOnlyByRenameAndNeverOverAFolder)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("a.gpkg"), "old"));
    {
        GdalOutput out;
        ASSERT_TRUE(out.open(dir.path("a.gpkg"), "gpkg"));
        EXPECT_EQ(out.path().substr(out.path().size() - 5), ".gpkg");
        ASSERT_TRUE(writeFileAtomically(out.path(), "half"));
    }  // not published: the temporary file goes, the old file stays
    EXPECT_EQ(readFileBytes(dir.path("a.gpkg")), "old");
    GdalOutput out;
    ASSERT_TRUE(out.open(dir.path("a.gpkg"), "csv"));  // the driver's extension, whatever the target's
    EXPECT_EQ(out.path().substr(out.path().size() - 4), ".csv");
    EXPECT_FALSE(fileExists(out.path()));  // the driver creates it
    EXPECT_FALSE(out.publish());           // nothing was written
    ASSERT_TRUE(writeFileAtomically(out.path(), "new"));
    EXPECT_TRUE(out.publish());
    EXPECT_EQ(readFileBytes(dir.path("a.gpkg")), "new");
    // What a killed run left of this target goes; another target's file stays.
    ASSERT_TRUE(writeFileAtomically(dir.path(".a.gpkg.ovd-123456.gpkg"), "killed"));
    ASSERT_TRUE(writeFileAtomically(dir.path(".b.gpkg.ovd-123456.gpkg"), "other"));
    GdalOutput again;
    ASSERT_TRUE(again.open(dir.path("a.gpkg"), "gpkg"));
    EXPECT_FALSE(fileExists(dir.path(".a.gpkg.ovd-123456.gpkg")));
    EXPECT_TRUE(fileExists(dir.path(".b.gpkg.ovd-123456.gpkg")));
    ASSERT_EQ(::mkdir(dir.path("folder.tif").c_str(), 0755), 0);
    EXPECT_FALSE(GdalOutput().open(dir.path("folder.tif"), "tif"));
    EXPECT_FALSE(GdalOutput().open(dir.path("missing/x.tif"), "tif"));
}

TEST(GdalOutput, WritesThroughASymlinkedTarget)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.path("data").c_str(), 0755), 0);
    ASSERT_TRUE(writeFileAtomically(dir.path("data/real.tif"), "old"));
    ASSERT_EQ(::symlink("data/real.tif", dir.path("link.tif").c_str()), 0);
    GdalOutput out;
    ASSERT_TRUE(out.open(dir.path("link.tif"), "tif"));
    EXPECT_EQ(folderOf(out.path()), dir.path("data/"));  // beside the file the link names
    ASSERT_TRUE(writeFileAtomically(out.path(), "new"));
    ASSERT_TRUE(out.publish());
    struct stat st;
    ASSERT_EQ(::lstat(dir.path("link.tif").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFileBytes(dir.path("data/real.tif")), "new");
}

}  // namespace
}  // namespace ovd
