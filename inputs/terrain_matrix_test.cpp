#include <gtest/gtest.h>

#include <random>

#include "common/file_io.h"
#include "inputs/terrain_matrix.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A matrix file with the given rows (north first).
std::string matrixBytes(TerrainElement e, const std::vector<std::vector<double>>& rows, double x0, double y0,
                        double cell, double noData = -9999)
{
    TerrainHeader h;
    h.element = e;
    h.nrows = static_cast<std::int32_t>(rows.size());
    h.ncols = static_cast<std::int32_t>(rows[0].size());
    h.xOrigin = x0;
    h.yOrigin = y0;
    h.cellSize = cell;
    h.noData = noData;
    std::string out = h.encode();
    for (const auto& row : rows)
        for (double v : row)
            putTerrainElement(out, e, static_cast<long>(v), v);
    return out;
}

const std::vector<std::vector<double>> k4x3 = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};

TEST(TerrainMatrix, LookupsWorkedOutByHand)
{
    TempDir dir;
    writeFileAtomically(dir.path("t.bin"), matrixBytes(TerrainElement::Real, k4x3, 100, 200, 10));
    auto m = TerrainMatrix::open(dir.path("t.bin"));
    ASSERT_TRUE(m);
    struct Case {
        double x, y;
        bool interpolate;
        bool inside;
        double height;
        bool interpolated;
    } cases[] = {
        {100, 200, true, true, 9, false},       // south-west corner
        {140, 230, true, true, 4, false},       // north-east corner: last column and row
        {140, 215, false, true, 8, false},      // on the east edge
        {120, 230, false, true, 3, false},      // on the north edge
        {140.001, 215, true, false, 0, false},  // 1 mm beyond the east edge
        {120, 230.001, true, false, 0, false}, {99.999, 215, true, false, 0, false},
        {120, 199.999, true, false, 0, false}, {115, 215, true, true, 6, true},   // exactly on a cell centre
        {120, 212, true, true, 7.7, true},                                        // blend of 10, 11, 6, 7
        {120, 212, false, true, 7, false},     {105, 215, true, true, 5, false},  // border cell: the cell's own value
    };
    for (const Case& c : cases) {
        TerrainHeight h = m->lookup(c.x, c.y, c.interpolate);
        EXPECT_EQ(h.inside, c.inside) << c.x << "," << c.y;
        if (c.inside) {
            EXPECT_NEAR(h.height, c.height, 1e-12) << c.x << "," << c.y;
            EXPECT_EQ(h.interpolated, c.interpolated) << c.x << "," << c.y;
            EXPECT_FALSE(h.noData);
        }
    }
}

TEST(TerrainMatrix, NoDataCellsAreFlaggedButStillBlended)
{
    TempDir dir;
    auto rows = k4x3;
    rows[2][2] = -9999;  // cell (2, 0) from the south
    writeFileAtomically(dir.path("t.bin"), matrixBytes(TerrainElement::Int16, rows, 100, 200, 10));
    auto m = TerrainMatrix::open(dir.path("t.bin"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->header().noData, -9999);
    TerrainHeight direct = m->lookup(125, 205, false);
    EXPECT_TRUE(direct.noData);
    EXPECT_EQ(direct.height, -9999);
    TerrainHeight blend = m->lookup(120, 212, true);
    EXPECT_TRUE(blend.noData);
    EXPECT_NEAR(blend.height, 0.15 * (10 - 9999) + 0.35 * 13, 1e-9);  // coefficients use it as a height
    EXPECT_FALSE(m->lookup(115, 215, false).noData);
}

TEST(TerrainMatrix, FastLookupMatchesTheSeekingReference)
{
    TempDir dir;
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> size(1, 7), value(-50, 400), type(0, 2);
    for (int round = 0; round < 60; ++round) {
        auto e = static_cast<TerrainElement>(type(rng));
        int ncols = size(rng), nrows = size(rng);
        double cell = round % 3 == 0 ? 0.3 : 25;
        double x0 = -1000.5, y0 = 4000.25;
        std::vector<std::vector<double>> rows(static_cast<std::size_t>(nrows),
                                              std::vector<double>(static_cast<std::size_t>(ncols)));
        for (auto& row : rows)
            for (double& v : row)
                v = value(rng) == 0 ? -9999 : (e == TerrainElement::Real ? value(rng) / 7.0 : value(rng));
        std::string path = dir.path("r.bin");
        writeFileAtomically(path, matrixBytes(e, rows, x0, y0, cell));
        auto m = TerrainMatrix::open(path);
        ASSERT_TRUE(m);
        File f(path, "rb");
        std::uniform_real_distribution<double> ux(x0 - cell, x0 + (ncols + 1) * cell),
            uy(y0 - cell, y0 + (nrows + 1) * cell);
        for (int i = 0; i < 400; ++i) {
            double x = ux(rng), y = uy(rng);
            if (i % 10 == 0)
                x = x0 + (i % 20 == 0 ? ncols * cell : 0);  // exactly on the edges
            if (i % 15 == 0)
                y = y0 + nrows * cell;
            for (bool interpolate : {false, true}) {
                auto ref = lookupHeightBySeeking(f.get(), m->header(), x, y, interpolate);
                ASSERT_TRUE(ref);
                TerrainHeight fast = m->lookup(x, y, interpolate);
                ASSERT_EQ(fast.inside, ref->inside) << x << "," << y;
                EXPECT_EQ(fast.height, ref->height) << x << "," << y;
                EXPECT_EQ(fast.noData, ref->noData) << x << "," << y;
                EXPECT_EQ(fast.interpolated, ref->interpolated) << x << "," << y;
            }
        }
    }
}

TEST(TerrainMatrix, RefusesFilesThatAreNotWholeMatrices)
{
    TempDir dir;
    const TerrainMatrix::FailureTexts texts{"cannot", "not a matrix", false};
    auto none = TerrainMatrix::open(dir.path("none.bin"), texts);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.problem(), Problem::error("cannot"));
    std::string good = matrixBytes(TerrainElement::Int32, k4x3, 0, 0, 1);
    std::string zeroCell = matrixBytes(TerrainElement::Int32, k4x3, 0, 0, 0);
    std::string badType = good;
    badType[0] = 3;
    std::string negativeCols = good;
    negativeCols[5] = static_cast<char>(0x80);
    for (const std::string& bytes :
         {good.substr(0, good.size() - 1), good.substr(0, 20), std::string(), zeroCell, badType, negativeCols}) {
        writeFileAtomically(dir.path("c.bin"), bytes);
        auto m = TerrainMatrix::open(dir.path("c.bin"), texts);
        ASSERT_FALSE(m) << bytes.size();
        EXPECT_EQ(m.problem().text, "not a matrix");
    }
    writeFileAtomically(dir.path("c.bin"), good);
    EXPECT_TRUE(TerrainMatrix::open(dir.path("c.bin")));
}

TEST(TerrainMatrix, LengthMustMatchTheHeaderExactly)
{
    TempDir dir;
    // 32-bit elements under a header that says 16-bit would read as plausible heights; so
    // would a matrix with extra bytes at its end.
    std::string wide = matrixBytes(TerrainElement::Int16, {{1, 2, 3, 4}}, 0, 0, 1);
    std::string asInt16 = matrixBytes(TerrainElement::Int32, {{1, 2}}, 0, 0, 1);
    asInt16[0] = 0;
    for (const std::string& bytes : {wide + "xy", asInt16}) {
        writeFileAtomically(dir.path("c.bin"), bytes);
        auto m = TerrainMatrix::open(dir.path("c.bin"));
        ASSERT_FALSE(m) << bytes.size();
        EXPECT_NE(m.problem().text.find("neodpovídá hlavičce"), std::string::npos) << m.problem().text;
    }
    writeFileAtomically(dir.path("c.bin"), wide + "xy");
    auto m = TerrainMatrix::open(dir.path("c.bin"));
    ASSERT_FALSE(m);
    EXPECT_EQ(m.problem().text,
              "Vstupní soubor s výškopisem není úplná matice výškopisu!\n"
              "Délka souboru 46 B neodpovídá hlavičce (4 x 1 prvků po 2 B, celkem 44 B).");
}

}  // namespace
}  // namespace ovd
