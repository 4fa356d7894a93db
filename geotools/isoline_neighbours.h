#pragma once
// Vertex values by inverse-distance weighting (power 2) over the k nearest points. Points
// tied at the k-th distance are averaged into the k-th value in record order, and a
// vertex within 0.000001 of its nearest point takes that point's value.
#include <cstdint>
#include <vector>

#include "isoline_input.h"

namespace ovd {

struct Neighbour {
    double distance = 0;
    std::uint32_t point = 0;  // index in the point list, which is record order
};

// The weighted value from neighbours sorted by (distance, point) that hold the first k
// and every further point at the k-th distance; later entries are ignored.
double weightedValue(const std::vector<Neighbour>& sorted, const std::vector<ScatterPoint>& points, int k);

// Sorts every point by its distance for each vertex: the plain form of the rule.
double vertexValueBySorting(const std::vector<ScatterPoint>& points, double x, double y, int k);

// A bucket grid over the points, searched ring by ring outwards from the vertex's cell
// until the k-th distance is certain; the same values as vertexValueBySorting.
class NeighbourIndex {
public:
    explicit NeighbourIndex(const std::vector<ScatterPoint>& points);
    double vertexValue(double x, double y, int k) const;

private:
    int cellX(double x) const;
    int cellY(double y) const;

    const std::vector<ScatterPoint>& m_points;
    double m_x0 = 0, m_y0 = 0, m_cellW = 1, m_cellH = 1;
    int m_nx = 1, m_ny = 1;
    std::vector<std::uint32_t> m_cellStart;  // per cell, into m_order; one extra at the end
    std::vector<std::uint32_t> m_order;      // point indexes grouped by cell
    mutable std::vector<Neighbour> m_found;
};

}  // namespace ovd
