#include "band_polygons.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "geotools/isoline_tracing.h"

namespace ovd {

namespace {

struct Corner {
    std::size_t vertex;
    double value;
    QPointF at;
};

// A side of a piece, from one of its points to the next; a point is a lattice vertex or the
// crossing of a level with a lattice edge, named by a number both triangles of an edge share.
struct Edge {
    std::uint64_t from, to;
    QPointF at;  // where `from` lies
};

std::size_t classOfValue(const std::vector<double>& levels, double v)
{
    return static_cast<std::size_t>(std::upper_bound(levels.begin(), levels.end(), v) - levels.begin());
}

QPointF vertexAt(const Lattice& l, std::size_t vertex)
{
    const int row = static_cast<int>(vertex / static_cast<std::size_t>(l.columns));
    const int column = static_cast<int>(vertex % static_cast<std::size_t>(l.columns));
    return {l.x(row, column), l.y(row)};
}

class BandCutter {
public:
    BandCutter(const Lattice& l, const std::vector<double>& values, const std::vector<double>& levels)
        : edges(levels.size() + 1)
        , m_l(l)
        , m_values(values)
        , m_levels(levels)
        , m_class(values.size())
    {
        for (std::size_t v = 0; v < values.size(); ++v)
            m_class[v] = std::isfinite(values[v]) ? classOfValue(levels, values[v]) : kNoClass;
    }

    void triangle(std::size_t a, std::size_t b, std::size_t c)
    {
        if (m_class[a] == kNoClass || m_class[b] == kNoClass || m_class[c] == kNoClass)
            return;
        std::array<Corner, 3> t = {corner(a), corner(b), corner(c)};
        const QPointF u = t[1].at - t[0].at, w = t[2].at - t[0].at;
        if (u.x() * w.y() - u.y() * w.x() < 0)
            std::swap(t[1], t[2]);  // counter-clockwise
        const std::size_t lo = std::min({m_class[a], m_class[b], m_class[c]});
        const std::size_t hi = std::max({m_class[a], m_class[b], m_class[c]});
        if (lo == hi) {
            whole(t, lo);
            return;
        }
        for (std::size_t cls = lo; cls <= hi; ++cls)
            piece(t, cls);
    }

    std::vector<std::vector<Edge>> edges;  // by class

private:
    static constexpr std::size_t kNoClass = static_cast<std::size_t>(-1);

    Corner corner(std::size_t v) const { return {v, m_values[v], vertexAt(m_l, v)}; }

    // The class of the vertex across the edge p-q from r (the triangles of an edge make a
    // parallelogram); none beyond the lattice.
    std::size_t classAcross(std::size_t p, std::size_t q, std::size_t r) const
    {
        const long columns = m_l.columns;
        auto row = [&](std::size_t v) { return static_cast<long>(v) / columns; };
        // x in half spacings: odd rows lie half a spacing to the east
        auto half = [&](std::size_t v) { return 2 * (static_cast<long>(v) % columns) + row(v) % 2; };
        const long j = row(p) + row(q) - row(r), h = half(p) + half(q) - half(r);
        if (j < 0 || j >= m_l.rows)
            return kNoClass;
        const long i = (h - j % 2) / 2;
        if (i < 0 || i >= columns)
            return kNoClass;
        return m_class[static_cast<std::size_t>(j * columns + i)];
    }

    // A triangle of one class: its sides but those it shares with another of that class, which
    // would cancel.
    void whole(const std::array<Corner, 3>& t, std::size_t cls)
    {
        for (int e = 0; e < 3; ++e) {
            const Corner &a = t[e], &b = t[(e + 1) % 3], &r = t[(e + 2) % 3];
            if (classAcross(a.vertex, b.vertex, r.vertex) != cls)
                edges[cls].push_back({a.vertex, b.vertex, a.at});
        }
    }

    // The crossing of level `k` with the edge p-q, computed from its lower vertex whichever
    // triangle asks, so that both get the very same point.
    std::pair<std::uint64_t, QPointF> crossing(const Corner& a, const Corner& b, std::size_t k) const
    {
        const Corner& p = a.vertex < b.vertex ? a : b;
        const Corner& q = a.vertex < b.vertex ? b : a;
        const std::size_t step = q.vertex - p.vertex, columns = static_cast<std::size_t>(m_l.columns);
        const std::uint64_t type = step == 1 ? 0 : step == columns ? 1 : step == columns + 1 ? 2 : 3;
        const std::uint64_t key =
            m_l.vertexCount() + (static_cast<std::uint64_t>(p.vertex) * 4 + type) * m_levels.size() + k;
        const double t = (m_levels[k] - p.value) / (q.value - p.value);
        return {key, p.at + t * (q.at - p.at)};
    }

    // The part of the triangle whose values lie in the class's range: its corners in the range
    // and the crossings of the range's ends, in order round the triangle.
    void piece(const std::array<Corner, 3>& t, std::size_t cls)
    {
        const double lo = cls > 0 ? m_levels[cls - 1] : -INFINITY;
        const double hi = cls < m_levels.size() ? m_levels[cls] : INFINITY;
        std::array<std::pair<std::uint64_t, QPointF>, 9> pts;
        int n = 0;
        for (int e = 0; e < 3; ++e) {
            const Corner &a = t[e], &b = t[(e + 1) % 3];
            if (lo <= a.value && a.value <= hi)
                pts[n++] = {a.vertex, a.at};
            std::array<std::size_t, 2> cut{};
            int cuts = 0;
            for (std::size_t k : {cls - 1, cls}) {
                if (k >= m_levels.size())  // below the first level or above the last
                    continue;
                const double c = m_levels[k];
                if ((a.value < c && c < b.value) || (b.value < c && c < a.value))
                    cut[cuts++] = k;
            }
            if (cuts == 2 && a.value > b.value)
                std::swap(cut[0], cut[1]);  // met from the higher end
            for (int i = 0; i < cuts; ++i)
                pts[n++] = crossing(a, b, cut[i]);
        }
        double area = 0;
        for (int i = 0; i < n; ++i) {
            const QPointF &p = pts[i].second, &q = pts[(i + 1) % n].second;
            area += p.x() * q.y() - q.x() * p.y();
        }
        if (n < 3 || !(area > 0))
            return;
        for (int i = 0; i < n; ++i)
            edges[cls].push_back({pts[i].first, pts[(i + 1) % n].first, pts[i].second});
    }

    const Lattice& m_l;
    const std::vector<double>& m_values;
    const std::vector<double>& m_levels;
    std::vector<std::size_t> m_class;  // of each vertex; kNoClass without a value
};

// Sides two pieces of a class share cancel; the rest are followed from point to point into
// closed rings.
std::vector<std::vector<QPointF>> linkRings(std::vector<Edge>& edges)
{
    auto pairOf = [](const Edge& e) { return std::pair(std::min(e.from, e.to), std::max(e.from, e.to)); };
    std::sort(edges.begin(), edges.end(), [&](const Edge& a, const Edge& b) { return pairOf(a) < pairOf(b); });
    std::vector<Edge> open;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (i + 1 < edges.size() && pairOf(edges[i]) == pairOf(edges[i + 1]) && edges[i].from == edges[i + 1].to) {
            ++i;
            continue;
        }
        open.push_back(edges[i]);
    }
    std::sort(open.begin(), open.end(), [](const Edge& a, const Edge& b) { return a.from < b.from; });
    std::vector<bool> used(open.size(), false);
    auto next = [&](std::uint64_t from) -> std::size_t {
        auto it = std::lower_bound(open.begin(), open.end(), from,
                                   [](const Edge& e, std::uint64_t key) { return e.from < key; });
        for (auto i = static_cast<std::size_t>(it - open.begin()); i < open.size() && open[i].from == from; ++i)
            if (!used[i])
                return i;
        return open.size();
    };
    std::vector<std::vector<QPointF>> rings;
    for (std::size_t s = 0; s < open.size(); ++s) {
        if (used[s])
            continue;
        std::vector<QPointF> ring;
        for (std::size_t e = s; e < open.size() && !used[e]; e = next(open[e].to)) {
            used[e] = true;
            ring.push_back(open[e].at);
            if (open[e].to == open[s].from)
                break;
        }
        if (ring.size() >= 3)
            rings.push_back(std::move(ring));
    }
    return rings;
}

}  // namespace

std::vector<BandPolygon> bandPolygons(const Lattice& l, const std::vector<double>& values,
                                      const std::vector<double>& levels)
{
    BandCutter cut(l, values, levels);
    forEachTriangle(l, [&](std::size_t a, std::size_t b, std::size_t c) { cut.triangle(a, b, c); });
    std::vector<BandPolygon> bands;
    for (std::size_t cls = 0; cls < cut.edges.size(); ++cls) {
        if (cut.edges[cls].empty())
            continue;
        bands.push_back({cls, linkRings(cut.edges[cls])});
    }
    return bands;
}

std::optional<std::size_t> latticeClassAt(const Lattice& l, const std::vector<double>& values,
                                          const std::vector<double>& levels, double x, double y)
{
    const int j = static_cast<int>(std::floor((y - l.y0) / l.dy));
    if (j < 0 || j + 1 >= l.rows)
        return std::nullopt;
    const int i0 = static_cast<int>(std::floor((x - l.x0) / l.dx));
    std::optional<std::size_t> found;
    auto test = [&](std::size_t a, std::size_t b, std::size_t c) {
        const QPointF pa = vertexAt(l, a), pb = vertexAt(l, b), pc = vertexAt(l, c);
        const double det = (pb.x() - pa.x()) * (pc.y() - pa.y()) - (pc.x() - pa.x()) * (pb.y() - pa.y());
        const double wb = ((x - pa.x()) * (pc.y() - pa.y()) - (pc.x() - pa.x()) * (y - pa.y())) / det;
        const double wc = ((pb.x() - pa.x()) * (y - pa.y()) - (x - pa.x()) * (pb.y() - pa.y())) / det;
        const double eps = 1e-9;
        if (found || wb < -eps || wc < -eps || wb + wc > 1 + eps)
            return;
        const double v = values[a] + wb * (values[b] - values[a]) + wc * (values[c] - values[a]);
        if (std::isfinite(v))
            found = classOfValue(levels, v);
    };
    for (int i = std::max(0, i0 - 1); i <= i0 + 1 && i + 1 < l.columns; ++i)
        forEachTriangleOfCell(l, j, i, test);
    return found;
}

int windingNumber(const std::vector<std::vector<QPointF>>& rings, QPointF at)
{
    int w = 0;
    for (const std::vector<QPointF>& ring : rings)
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const QPointF &a = ring[i], &b = ring[(i + 1) % ring.size()];
            const double side = (b.x() - a.x()) * (at.y() - a.y()) - (at.x() - a.x()) * (b.y() - a.y());
            if (a.y() <= at.y() && b.y() > at.y() && side > 0)
                ++w;
            else if (a.y() > at.y() && b.y() <= at.y() && side < 0)
                --w;
        }
    return w;
}

}  // namespace ovd
