// Isolines of 30 000 scattered points on a lattice of about 40 000 vertices with k = 12
// and 20 levels: the whole tool (table read, vertex values, tracing, files), and the
// vertex values alone by the index and, on a sample, by sorting every point.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "geotools/isoline_lattice.h"
#include "geotools/isoline_neighbours.h"
#include "geotools/isolines.h"
#include "scattered_table.h"
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
    auto twoHills = [](double x, double y) {
        double dx = (x + 740000) / 3000, dy = (y + 1040000) / 3000;
        return 100 * std::exp(-(dx * dx + dy * dy) / 2) + 20 * std::exp(-((dx - 2) * (dx - 2) + dy * dy));
    };
    std::optional<std::vector<ScatterPoint>> written = writeScatteredTable(
        dir.path("rocni.dbf"), kPoints, "ID_POINT", "CONC_VALUE", -750000, -1050000, 20000, twoHills, rng);
    if (!written)
        return 1;
    const std::vector<ScatterPoint>& points = *written;

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
