#include "isoline_neighbours.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ovd {

namespace {

constexpr double kExactHit = 0.000001;
constexpr int kMaxCellsPerSide = 2048;

bool closer(const Neighbour& a, const Neighbour& b)
{
    return a.distance < b.distance || (a.distance == b.distance && a.point < b.point);
}

double distanceBetween(double x, double y, const ScatterPoint& p)
{
    double dx = p.x - x, dy = p.y - y;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

double weightedValue(const std::vector<Neighbour>& sorted, const std::vector<ScatterPoint>& points, int k)
{
    const std::size_t kk = static_cast<std::size_t>(k);
    const double kthDistance = sorted[kk - 1].distance;
    double kthValue = points[sorted[kk - 1].point].value;
    double tiedSum = kthValue;
    int tied = 1;
    for (std::size_t i = kk; i < sorted.size() && sorted[i].distance == kthDistance; ++i) {
        tiedSum += points[sorted[i].point].value;
        ++tied;
    }
    if (tied > 1)
        kthValue = tiedSum / tied;
    auto valueAt = [&](std::size_t i) { return i == kk - 1 ? kthValue : points[sorted[i].point].value; };
    if (sorted[0].distance <= kExactHit)
        return valueAt(0);
    double weighted = 0, weights = 0;
    for (std::size_t i = 0; i < kk; ++i) {
        double d2 = sorted[i].distance * sorted[i].distance;
        weighted += valueAt(i) / d2;
        weights += 1 / d2;
    }
    return weighted / weights;
}

double vertexValueBySorting(const std::vector<ScatterPoint>& points, double x, double y, int k)
{
    std::vector<Neighbour> all(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        all[i] = {distanceBetween(x, y, points[i]), static_cast<std::uint32_t>(i)};
    std::sort(all.begin(), all.end(), closer);
    return weightedValue(all, points, k);
}

NeighbourIndex::NeighbourIndex(const std::vector<ScatterPoint>& points)
    : m_points(points)
{
    ShapeBox box = boundingBox(points);
    double w = box.xmax - box.xmin, h = box.ymax - box.ymin;
    // About two points per cell over the box; a box without width or height gets one row.
    double n = static_cast<double>(std::max<std::size_t>(points.size(), 1));
    double cell = (w > 0 && h > 0) ? std::sqrt(2 * w * h / n) : std::max(w, h) * 2 / n;
    if (cell > 0) {
        m_nx = static_cast<int>(std::clamp(std::ceil(w / cell), 1.0, double(kMaxCellsPerSide)));
        m_ny = static_cast<int>(std::clamp(std::ceil(h / cell), 1.0, double(kMaxCellsPerSide)));
    }
    m_x0 = box.xmin;
    m_y0 = box.ymin;
    m_cellW = w > 0 ? w / m_nx : 1;
    m_cellH = h > 0 ? h / m_ny : 1;
    std::vector<std::uint32_t> cellOf(points.size());
    m_cellStart.assign(static_cast<std::size_t>(m_nx) * m_ny + 1, 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        cellOf[i] = static_cast<std::uint32_t>(cellY(points[i].y) * m_nx + cellX(points[i].x));
        ++m_cellStart[cellOf[i] + 1];
    }
    for (std::size_t c = 1; c < m_cellStart.size(); ++c)
        m_cellStart[c] += m_cellStart[c - 1];
    m_order.resize(points.size());
    std::vector<std::uint32_t> fill(m_cellStart.begin(), m_cellStart.end() - 1);
    for (std::size_t i = 0; i < points.size(); ++i)
        m_order[fill[cellOf[i]]++] = static_cast<std::uint32_t>(i);
}

int NeighbourIndex::cellX(double x) const
{
    double c = std::floor((x - m_x0) / m_cellW);
    return static_cast<int>(std::clamp(c, 0.0, double(m_nx - 1)));
}

int NeighbourIndex::cellY(double y) const
{
    double c = std::floor((y - m_y0) / m_cellH);
    return static_cast<int>(std::clamp(c, 0.0, double(m_ny - 1)));
}

double NeighbourIndex::vertexValue(double x, double y, int k) const
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::size_t kk = static_cast<std::size_t>(k);
    const int cx = cellX(x), cy = cellY(y);
    m_found.clear();
    auto visit = [&](int ix, int iy) {
        std::size_t c = static_cast<std::size_t>(iy) * m_nx + ix;
        for (std::uint32_t j = m_cellStart[c]; j < m_cellStart[c + 1]; ++j)
            m_found.push_back({distanceBetween(x, y, m_points[m_order[j]]), m_order[j]});
    };
    for (int r = 0;; ++r) {
        int left = cx - r, right = cx + r, bottom = cy - r, top = cy + r;
        for (int iy = std::max(bottom, 0); iy <= std::min(top, m_ny - 1); ++iy) {
            bool edgeRow = iy == bottom || iy == top;
            for (int ix = std::max(left, 0); ix <= std::min(right, m_nx - 1); ++ix)
                if (edgeRow || ix == left || ix == right)
                    visit(ix, iy);
        }
        // No point outside the block visited so far lies nearer than `reach`.
        double reach = inf;
        if (left > 0)
            reach = std::min(reach, x - (m_x0 + left * m_cellW));
        if (right < m_nx - 1)
            reach = std::min(reach, m_x0 + (right + 1) * m_cellW - x);
        if (bottom > 0)
            reach = std::min(reach, y - (m_y0 + bottom * m_cellH));
        if (top < m_ny - 1)
            reach = std::min(reach, m_y0 + (top + 1) * m_cellH - y);
        if (reach == inf)
            break;
        // Rounding in the cell arithmetic must never let a nearer point slip outside.
        reach -= 1e-9 * (m_cellW + m_cellH + std::fabs(x) + std::fabs(y));
        if (m_found.size() >= kk) {
            std::nth_element(m_found.begin(), m_found.begin() + static_cast<long>(kk - 1), m_found.end(), closer);
            // Strictly nearer, so every point tied at the k-th distance is among those found.
            if (m_found[kk - 1].distance < reach)
                break;
        }
    }
    std::sort(m_found.begin(), m_found.end(), closer);
    return weightedValue(m_found, m_points, k);
}

}  // namespace ovd
