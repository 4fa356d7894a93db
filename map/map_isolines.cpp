#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "common/parallel_for.h"

#include "geotools/isoline_lattice.h"
#include "geotools/isoline_neighbours.h"
#include "geotools/isolines.h"
#include "map_layers.h"

namespace ovd {

namespace {

// As many neighbours as the isoline tool offers first.
constexpr int kNeighbours = kMinNeighbours + 2;

}  // namespace

double roundStep(double raw)
{
    if (!(raw > 0) || !std::isfinite(raw))
        return 1;
    double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw * (1 - 1e-12))
            return m * p;
    return 10 * p;
}

void buildIsolineLayers(MapModel& m, double vertices)
{
    std::vector<ScatterPoint> scatter;
    for (const MapPoint& p : m.points)
        if (p.value)
            scatter.push_back({p.x, p.y, *p.value});
    if (scatter.size() < 3)
        return;
    ShapeBox box = boundingBox(scatter);
    if (!(box.xmax > box.xmin) || !(box.ymax > box.ymin))
        return;
    Outcome<Lattice> plan = planLattice(vertices, box);
    if (!plan) {
        m.warnings.push_back("Izolinie: " + plan.problem().text);
        return;
    }
    const Lattice& l = *plan;
    // Rows of vertices shared among the cores; each thread searches with an index of its own.
    std::vector<double> values(l.vertexCount());
    const unsigned threads = ParallelFor::threadCount(0, static_cast<std::size_t>(l.rows));
    std::vector<std::unique_ptr<NeighbourIndex>> indexes(threads);
    parallelFor(threads, static_cast<std::size_t>(l.rows), [&](std::size_t j, unsigned worker) {
        if (!indexes[worker])
            indexes[worker] = std::make_unique<NeighbourIndex>(scatter);
        const int row = static_cast<int>(j);
        for (int i = 0; i < l.columns; ++i)
            values[l.index(row, i)] = indexes[worker]->vertexValue(l.x(row, i), l.y(row), kNeighbours);
    });
    for (double level : m.breaks.levels)
        traceLevel(l, values, level, m.isolines.segments);
    m.isolines.chains = levelChains(m.isolines.segments);
    m.bands = bandPolygons(l, values, m.breaks.levels);
    m.lattice = l;
    m.latticeValues = std::move(values);
}

}  // namespace ovd
