#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "common/file_io.h"
#include "model/coefficient_pair.h"
#include "model/coefficient_study.h"
#include "model/coefficient_terrain.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A 10 x 10 terrain of 10 m cells at the origin: 100 m everywhere, 170 m in column 5.
GeneratedTerrain ridgeTerrain()
{
    GeneratedTerrain t;
    t.header.element = TerrainElement::Int16;
    t.header.ncols = t.header.nrows = 10;
    t.header.cellSize = 10;
    t.header.noData = -9999;
    t.bytes = t.header.encode();
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c)
            putTerrainElement(t.bytes, TerrainElement::Int16, c == 5 ? 170 : 100, 0);
    return t;
}

struct Terrain {
    TempDir dir;
    std::optional<TerrainMatrix> matrix;
    File file;
    explicit Terrain(const GeneratedTerrain& t)
    {
        writeFileAtomically(dir.path("t.bin"), t.bytes);
        matrix = std::move(*TerrainMatrix::open(dir.path("t.bin")));
        file.open(dir.path("t.bin"), "rb");
    }
    ComputedPair fast(const Site& s, const Site& r, long step, bool interpolate) const
    {
        return computePair(matrix->header(), s, r, step,
                           [&](double x, double y) { return matrix->lookup(x, y, interpolate); });
    }
    ComputedPair reference(const Site& s, const Site& r, long step, bool interpolate) const
    {
        auto p = referencePair(matrix->header(), s, r, step, [&](double x, double y) {
            return lookupHeightBySeeking(file.get(), matrix->header(), x, y, interpolate);
        });
        EXPECT_TRUE(p.has_value());
        return p.value_or(ComputedPair{});
    }
};

TEST(CoefficientDelta, CompassDirectionsAndQuadrants)
{
    EXPECT_EQ(deltaAngle(0, 5), 0);     // source due north of the point
    EXPECT_EQ(deltaAngle(5, 0), 90);    // east
    EXPECT_EQ(deltaAngle(0, -5), 180);  // south
    EXPECT_EQ(deltaAngle(-5, 0), 270);  // west
    EXPECT_EQ(deltaAngle(0, 0), 180);   // same place
    EXPECT_NEAR(deltaAngle(1, 1), 45, 1e-9);
    EXPECT_NEAR(deltaAngle(1, -1), 135, 1e-9);
    EXPECT_NEAR(deltaAngle(-1, -1), 225, 1e-9);
    EXPECT_NEAR(deltaAngle(-1, 1), 315, 1e-9);
    // The old value of pi shows in the last digits: 45 degrees is not exactly 45.
    EXPECT_EQ(deltaAngle(1, 1), std::atan(1.0) * 180.0 / 3.14159265359);
    // A hair west of north would be stored as 360; it is the direction 0.
    EXPECT_EQ(storedDelta(deltaAngle(-1e-9, 1000)), 0.0f);
    EXPECT_LT(storedDelta(deltaAngle(-1, 10)), 360.0f);
}

TEST(CoefficientInnerPoints, CountsAndLimits)
{
    EXPECT_EQ(innerPointCount(99, 100), 0);
    EXPECT_EQ(innerPointCount(100, 100), 1);
    EXPECT_EQ(innerPointCount(250, 100), 2);
    EXPECT_EQ(innerPointCount(32767, 1), 32767);
    EXPECT_EQ(innerPointCount(32768, 1), 0);
}

TEST(CoefficientPair, HandComputedRidge)
{
    Terrain t(ridgeTerrain());
    const Site src{1, 5, 50, 100}, ref{7, 95, 50, 150};
    // Direct heights at x = 20, 50, 80: 100, 170, 100; T = (70 - 2 * 20) * 30.
    for (auto p : {t.fast(src, ref, 30, false), t.reference(src, ref, 30, false)}) {
        EXPECT_EQ(p.outcome, PairOutcome::Computed);
        EXPECT_FLOAT_EQ(p.theta, 900.0 / (3 * 50 * 30));
        EXPECT_EQ(p.zmax, 70);
        EXPECT_EQ(p.delta, 270);
    }
    // Blended, the middle point lies halfway between the centres of columns 4 and 5.
    for (auto p : {t.fast(src, ref, 30, true), t.reference(src, ref, 30, true)}) {
        EXPECT_FLOAT_EQ(p.theta, 35.0 * 30 / (3 * 50 * 30));
        EXPECT_EQ(p.zmax, 50);
    }
    // The point lower than the source: Theta 0 whatever the terrain; ZMax still counts.
    auto low = t.fast({1, 5, 50, 120}, {7, 95, 50, 110}, 30, false);
    EXPECT_EQ(low.theta, 0);
    EXPECT_EQ(low.zmax, 50);
}

TEST(CoefficientPair, FlatTerrainShortPairsAndOutsidePoints)
{
    GeneratedTerrain flat = ridgeTerrain();
    flat.bytes.resize(flat.header.dataOffset());
    for (int i = 0; i < 100; ++i)
        putTerrainElement(flat.bytes, TerrainElement::Int16, 100, 0);
    Terrain t(flat);
    auto p = t.fast({1, 10, 10, 100}, {2, 80, 90, 130}, 10, true);
    EXPECT_EQ(p.theta, 0);  // every a and b is 0
    EXPECT_EQ(p.zmax, 30);  // Zr - Zs
    auto same = t.reference({1, 40, 40, 100}, {2, 40, 40, 130}, 10, false);
    EXPECT_EQ(same.outcome, PairOutcome::TooShort);
    EXPECT_EQ(same.delta, 180);
    EXPECT_EQ(same.theta + same.zmax, 0);
    auto shortPair = t.reference({1, 0.5, 50, 100}, {2, 99.5, 50, 130}, 100, false);  // 99 m, step 100
    EXPECT_EQ(shortPair.outcome, PairOutcome::TooShort);
    EXPECT_EQ(shortPair.delta, 270);  // Delta kept
    EXPECT_EQ(t.reference({1, 0, 50, 100}, {2, 100, 50, 130}, 100, false).outcome, PairOutcome::Computed);
    // One metre beyond the east edge: zeros; the edge itself is inside.
    auto out = t.reference({1, 50, 50, 100}, {2, 101, 50, 130}, 10, false);
    EXPECT_EQ(out.outcome, PairOutcome::PointOutside);
    EXPECT_EQ(out.theta + out.delta + out.zmax, 0);
    EXPECT_EQ(t.reference({1, -1, 50, 100}, {2, 50, 50, 130}, 10, false).outcome, PairOutcome::SourceOutside);
    EXPECT_EQ(t.reference({1, 50, 50, 100}, {2, 100, 100, 130}, 10, false).outcome, PairOutcome::Computed);
}

// The fast pair must give the plain pair's bits on any geometry, element type and switch.
TEST(CoefficientPair, FastEqualsReferenceOnRandomGeometry)
{
    std::mt19937 gen(11);
    int computed = 0;
    for (TerrainElement e : {TerrainElement::Int16, TerrainElement::Int32, TerrainElement::Real}) {
        Terrain t(generateTerrain(37, 23, 12.5, e, static_cast<unsigned>(e) + 3, -100, 250));
        std::uniform_real_distribution<double> ux(-120, 390), uy(230, 560), uz(250, 550);
        std::uniform_int_distribution<long> ustep(1, 60);
        for (int i = 0; i < 400; ++i) {
            Site s{i, ux(gen), uy(gen), uz(gen)}, r{i + 1, ux(gen), uy(gen), uz(gen)};
            if (i % 7 == 0)
                r.x = s.x;  // due north or south
            long step = ustep(gen);
            bool interpolate = i % 2 == 0;
            auto ref = t.reference(s, r, step, interpolate);
            ComputedPair fast;
            const TerrainHeader& h = t.matrix->header();
            if (!locateTerrainCell(h, r.x, r.y).inside || !locateTerrainCell(h, s.x, s.y).inside)
                fast.outcome =
                    !locateTerrainCell(h, r.x, r.y).inside ? PairOutcome::PointOutside : PairOutcome::SourceOutside;
            else
                fast = t.fast(s, r, step, interpolate);
            ASSERT_EQ(ref.outcome, fast.outcome) << i;
            computed += ref.outcome == PairOutcome::Computed && ref.theta > 0;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(ref.theta), std::bit_cast<std::uint32_t>(fast.theta)) << i;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(ref.delta), std::bit_cast<std::uint32_t>(fast.delta)) << i;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(ref.zmax), std::bit_cast<std::uint32_t>(fast.zmax)) << i;
        }
    }
    EXPECT_GT(computed, 150);  // most pairs walk the terrain and find it rising
}

// The run's own walk of the terrain must answer exactly as the matrix's lookup: edges,
// border cells, cell boundaries and random points, every element type, both switches.
TEST(CoefficientTerrainWalk, SameBitsAsTheMatrixLookup)
{
    std::mt19937 gen(5);
    for (TerrainElement e : {TerrainElement::Int16, TerrainElement::Int32, TerrainElement::Real}) {
        for (auto [cols, rows] : {std::pair{31, 17}, std::pair{2, 5}, std::pair{1, 1}}) {
            Terrain t(generateTerrain(cols, rows, 7.3, e, 9, -50.5, 1e5));
            const TerrainHeader& h = t.matrix->header();
            const double x1 = h.xOrigin + cols * h.cellSize, y1 = h.yOrigin + rows * h.cellSize;
            std::vector<std::pair<double, double>> at{
                {h.xOrigin, h.yOrigin}, {x1, y1},
                {x1, h.yOrigin},        {h.xOrigin - 1e-9, h.yOrigin},
                {x1 + 1e-9, y1},        {h.xOrigin + 3 * h.cellSize, h.yOrigin + 2.5 * h.cellSize}};
            std::uniform_real_distribution<double> ux(h.xOrigin - 5, x1 + 5), uy(h.yOrigin - 5, y1 + 5);
            std::uniform_int_distribution<int> cell(0, std::max(cols, rows));
            for (int i = 0; i < 3000; ++i)
                at.emplace_back(i % 3 ? ux(gen) : h.xOrigin + cell(gen) * h.cellSize,
                                i % 5 ? uy(gen) : h.yOrigin + (cell(gen) + 0.5) * h.cellSize);
            for (bool interpolate : {false, true}) {
                auto check = [&](const auto& walk) {
                    for (auto [x, y] : at) {
                        TerrainHeight a = t.matrix->lookup(x, y, interpolate), b = walk(x, y);
                        ASSERT_EQ(a.inside, b.inside) << x << "," << y;
                        ASSERT_EQ(std::bit_cast<std::uint64_t>(a.height), std::bit_cast<std::uint64_t>(b.height))
                            << x << "," << y;
                    }
                };
                if (e == TerrainElement::Int16)
                    check(CoefficientTerrain<std::int16_t>(*t.matrix, interpolate));
                else if (e == TerrainElement::Int32)
                    check(CoefficientTerrain<std::int32_t>(*t.matrix, interpolate));
                else
                    check(CoefficientTerrain<double>(*t.matrix, interpolate));
            }
        }
    }
}

}  // namespace
}  // namespace ovd
