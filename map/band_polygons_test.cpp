#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "band_polygons.h"
#include "geotools/isoline_tracing.h"

namespace ovd {
namespace {

Lattice latticeOver(double target, double w, double h)
{
    Outcome<Lattice> l = planLattice(target, ShapeBox{0, 0, w, h});
    EXPECT_TRUE(l);
    return *l;
}

std::vector<double> valuesOf(const Lattice& l, double (*f)(double, double))
{
    std::vector<double> v(l.vertexCount());
    for (int j = 0; j < l.rows; ++j)
        for (int i = 0; i < l.columns; ++i)
            v[l.index(j, i)] = f(l.x(j, i), l.y(j));
    return v;
}

// The classes whose rings hold the point.
std::vector<std::size_t> bandsHolding(const std::vector<BandPolygon>& bands, QPointF at)
{
    std::vector<std::size_t> in;
    for (const BandPolygon& b : bands)
        if (windingNumber(b.rings, at) != 0)
            in.push_back(b.cls);
    return in;
}

// Every sample lies in exactly the one band the plain rule gives, or in none where it gives none.
void expectBandsFollowTheRule(const Lattice& l, const std::vector<double>& values, const std::vector<double>& levels,
                              int samples)
{
    const std::vector<BandPolygon> bands = bandPolygons(l, values, levels);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> x(l.x0 - l.dx, l.x0 + l.columns * l.dx), y(l.y0 - l.dy, l.y(l.rows));
    int checked = 0;
    for (int k = 0; k < samples; ++k) {
        const QPointF at(x(rng), y(rng));
        std::optional<std::size_t> want = latticeClassAt(l, values, levels, at.x(), at.y());
        std::vector<std::size_t> got = bandsHolding(bands, at);
        if (want) {
            ASSERT_EQ(got, std::vector<std::size_t>{*want}) << at.x() << " " << at.y();
            ++checked;
        } else {
            ASSERT_TRUE(got.empty()) << at.x() << " " << at.y();
        }
    }
    EXPECT_GT(checked, samples / 2);
}

TEST(BandPolygonsTest, EveryPointLiesInTheBandOfItsInterpolatedValue)
{
    const Lattice l = latticeOver(4000, 1000, 700);
    // Two hills with a saddle between them: bands round each, joined above the saddle.
    auto hills = [](double x, double y) {
        auto bump = [](double dx, double dy) { return std::exp(-(dx * dx + dy * dy) / 30000); };
        return 100 * bump(x - 300, y - 350) + 80 * bump(x - 700, y - 350) + 0.01 * x;
    };
    const std::vector<double> values = valuesOf(l, hills);
    expectBandsFollowTheRule(l, values, {5, 20, 40, 60, 90}, 4000);
    // The bands hold each class once, lowest first, and the whole lattice at one level or none.
    const std::vector<BandPolygon> bands = bandPolygons(l, values, {5, 20, 40, 60, 90});
    ASSERT_FALSE(bands.empty());
    for (std::size_t i = 1; i < bands.size(); ++i)
        EXPECT_LT(bands[i - 1].cls, bands[i].cls);
    EXPECT_EQ(bandPolygons(l, values, {}).size(), 1u);
    EXPECT_EQ(bandPolygons(l, values, {}).front().rings.size(), 1u);  // the lattice's outline alone
}

TEST(BandPolygonsTest, VerticesExactlyAtALevelAndVerticesWithoutValue)
{
    const Lattice l = latticeOver(900, 300, 300);
    // Whole numbers against whole levels: many vertices lie on a level, whole triangles too.
    auto steps = [](double x, double y) { return std::floor(x / 40) + std::floor(y / 60); };
    std::vector<double> values = valuesOf(l, steps);
    expectBandsFollowTheRule(l, values, {2, 3, 5, 8}, 3000);
    // A hole of no values: no band covers the triangles round it.
    for (int j = 10; j < 14; ++j)
        for (int i = 8; i < 12; ++i)
            values[l.index(j, i)] = NAN;
    expectBandsFollowTheRule(l, values, {2, 3, 5, 8}, 3000);
}

TEST(BandPolygonsTest, BandEdgesLieOnTheIsolinesOfTheirLevels)
{
    const Lattice l = latticeOver(2500, 500, 500);
    auto cone = [](double x, double y) { return std::hypot(x - 260, y - 240); };
    const std::vector<double> values = valuesOf(l, cone);
    std::vector<IsolineSegment> lines;
    traceLevel(l, values, 100, lines);
    ASSERT_FALSE(lines.empty());
    const std::vector<BandPolygon> bands = bandPolygons(l, values, {100});
    ASSERT_EQ(bands.size(), 2u);
    // Each isoline segment's middle has the inner band just inside it and the outer just outside.
    for (const IsolineSegment& s : lines) {
        const QPointF mid((s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2), out = mid - QPointF(260, 240);
        const QPointF step = out / std::hypot(out.x(), out.y()) * (l.dx / 8);
        EXPECT_EQ(bandsHolding(bands, mid - step), std::vector<std::size_t>{0});
        EXPECT_EQ(bandsHolding(bands, mid + step), std::vector<std::size_t>{1});
    }
}

}  // namespace
}  // namespace ovd
