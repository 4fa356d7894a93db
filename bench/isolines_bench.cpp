// Isolines of 30 000 scattered points on a lattice of about 40 000 vertices with k = 12
// and 20 levels: the whole tool (table read, vertex values, tracing, files), and the
// vertex values alone by the index and, on a sample, by sorting every point.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "common/dbf_writer.h"
#include "geotools/isoline_lattice.h"
#include "geotools/isoline_neighbours.h"
#include "geotools/isolines.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

using namespace ovd;
using Clock = std::chrono::steady_clock;

static double secondsSince(Clock::time_point t)
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

int main()
{
    constexpr int kPoints = 30000;
    TempDir dir;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> coord(0, 20000);
    std::vector<ScatterPoint> points;
    DbfWriter w;
    std::vector<DbfField> fields = {{"ID_POINT", 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                                    {"Z_ELEV", 15, 6},      {"L_ELEV", 15, 6},     {"CONC_VALUE", 15, 6}};
    if (!w.open(dir.path("rocni.dbf"), fields, kPoints, {2026, 1, 1}))
        return 1;
    for (int i = 0; i < kPoints; ++i) {
        double x = -750000 + coord(rng), y = -1050000 + coord(rng);
        double dx = (x + 740000) / 3000, dy = (y + 1040000) / 3000;
        double v = 100 * std::exp(-(dx * dx + dy * dy) / 2) + 20 * std::exp(-((dx - 2) * (dx - 2) + dy * dy));
        points.push_back({x, y, v});
        double row[] = {double(i + 1), x, y, 300, 1.5, v};
        w.writeRecord(row);
    }
    if (!w.finish())
        return 1;

    IsolineSettings s;
    s.input = dir.path("rocni.dbf");
    s.deriveOutputNames();
    s.column = 5;
    s.neighbourPosition = 6;  // k = 12
    s.latticeMode = static_cast<int>(LatticeMode::VertexCount);
    s.vertexCount = 40000;
    s.scaleFrom = 0;
    s.scaleStep = 5.3;
    RecordingReporter r;
    auto t0 = Clock::now();
    ToolStatus status = makeIsolines(s, RunContext{r, true});
    double whole = secondsSince(t0);
    if (status != ToolStatus::Done)
        return 1;
    std::size_t levels = 0;
    for (const auto& line : r.statusLines)
        levels += line.second.rfind("Vytvářím izolinie", 0) == 0;
    std::printf("isolines: %d points, 40000 vertices, k = 12, %zu levels: %.3f s\n", kPoints, levels, whole);

    Outcome<Lattice> plan = planLattice(40000, boundingBox(points));
    const Lattice& l = *plan;
    t0 = Clock::now();
    NeighbourIndex index(points);
    double sum = 0;
    for (int j = 0; j < l.rows; ++j)
        for (int i = 0; i < l.columns; ++i)
            sum += index.vertexValue(l.x(j, i), l.y(j), 12);
    double indexed = secondsSince(t0);
    std::printf("vertex values by index: %zu vertices in %.3f s (%.0f vertices/s)\n", l.vertexCount(), indexed,
                double(l.vertexCount()) / indexed);
    constexpr int kSample = 200;
    t0 = Clock::now();
    for (int i = 0; i < kSample; ++i)
        sum += vertexValueBySorting(points, l.x(i % l.rows, i % l.columns), l.y(i % l.rows), 12);
    double sorted = secondsSince(t0);
    std::printf("vertex values by sorting all points: %.0f vertices/s (%.0f s for the lattice)%s\n", kSample / sorted,
                sorted / kSample * double(l.vertexCount()), sum > 0 ? "" : " ");
    return 0;
}
