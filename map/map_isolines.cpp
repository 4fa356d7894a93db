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
// The bands are seen through, so that the terrain below stays readable.
constexpr int kBandAlpha = 150;

// The bands as an image of one pixel per lattice vertex; odd rows, shifted by half a spacing,
// are read between their two neighbouring vertices.
MapRaster bandImage(const Lattice& l, const std::vector<double>& values, const ClassBreaks& breaks)
{
    MapRaster r;
    r.image = QImage(l.columns, l.rows, QImage::Format_ARGB32);
    std::vector<QRgb> colours;
    for (std::size_t c = 0; c < breaks.classCount(); ++c) {
        QColor q = breaks.colour(c);
        q.setAlpha(kBandAlpha);
        colours.push_back(q.rgba());
    }
    for (int j = 0; j < l.rows; ++j) {
        auto* line = reinterpret_cast<QRgb*>(r.image.scanLine(l.rows - 1 - j));
        for (int i = 0; i < l.columns; ++i) {
            double v = values[l.index(j, i)];
            if (j % 2 == 1)
                v = i == 0 ? v : (v + values[l.index(j, i - 1)]) / 2;
            line[i] = std::isfinite(v) ? colours[breaks.classOf(v)] : 0;
        }
    }
    r.box = {l.x0 - l.dx / 2, l.y(0) - l.dy / 2, l.x0 + (l.columns - 0.5) * l.dx, l.y(l.rows - 1) + l.dy / 2};
    return r;
}

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

std::vector<MapIsolines::Label> levelLabels(const std::vector<IsolineSegment>& segments)
{
    std::map<double, std::vector<const IsolineSegment*>> byLevel;
    for (const IsolineSegment& s : segments)
        byLevel[s.level].push_back(&s);
    std::vector<MapIsolines::Label> labels;
    for (const auto& [level, list] : byLevel) {
        const IsolineSegment* s = list[list.size() / 2];
        labels.push_back({(s->x1 + s->x2) / 2, (s->y1 + s->y2) / 2, level});
    }
    return labels;
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
    m.isolines.labels = levelLabels(m.isolines.segments);
    m.isobands = bandImage(l, values, m.breaks);
}

}  // namespace ovd
