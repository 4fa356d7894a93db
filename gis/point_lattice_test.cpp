#include <gtest/gtest.h>

#include <array>

#include "common/file_io.h"
#include "common/paths.h"
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
    // The isobands of a GeoPackage are no GeoTIFF.
    Outcome<PointLattice> bands = spreadOnLattice(points({{0, 0, 1}}), 1, LatticeUse::Isobands);
    ASSERT_FALSE(bands);
    EXPECT_EQ(bands.problem().text, "Izopásma potřebují nejméně dva body v pravidelné mřížce; DBF soubor jich má 1.");
    Outcome<PointLattice> offBands =
        spreadOnLattice(points({{0, 0, 1}, {100, 0, 1}, {130, 100, 1}, {200, 0, 1}}), 1, LatticeUse::Isobands);
    ASSERT_FALSE(offBands);
    EXPECT_NE(offBands.problem().text.find(": Izopásma lze vytvořit jen"), std::string::npos) << offBands.problem().text;
    EXPECT_FALSE(spreadOnLattice(points({{0, 0, 1}, {0, 0, 2}}), 1));
    // Two far points 1 mm apart in X would need a raster of billions of cells.
    EXPECT_FALSE(spreadOnLattice(points({{0, 0, 1}, {0.003, 5e6, 1}, {5e6, 0, 1}}), 1));
    // Four points, three of them 1 m apart, one 4 km away, would be a lattice of 16 million empty
    // cells: refused at once, before any memory is taken.
    Outcome<PointLattice> sparse = spreadOnLattice(points({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {4000, 4000, 1}}), 1);
    ASSERT_FALSE(sparse);
    EXPECT_NE(sparse.problem().text.find("netvoří pravidelnou mřížku"), std::string::npos) << sparse.problem().text;
    // Points 1e10 m apart at a step of 1 m: the count of cells is no integer overflow.
    Outcome<PointLattice> huge = spreadOnLattice(points({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1e10, 1e10, 1}}), 1);
    ASSERT_FALSE(huge);
    EXPECT_NE(huge.problem().text.find("by měl GeoTIFF 1000000000199999"), std::string::npos) << huge.problem().text;
}

}  // namespace
}  // namespace ovd
