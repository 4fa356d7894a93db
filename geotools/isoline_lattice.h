#pragma once
// The lattice of near-equilateral triangles: n columns and m rows of vertices, every odd
// row shifted by half a spacing, sized from the target vertex count and the points' box.
#include "common/outcome.h"
#include "shapefile_writer.h"
#include <cstddef>

namespace ovd {

// Beyond this many vertices the lattice would not fit in memory on the machines in use.
inline constexpr double kMaxLatticeVertices = 20'000'000;

struct Lattice {
    int columns = 0, rows = 0;  // n, m
    double x0 = 0, y0 = 0, dx = 0, dy = 0;

    std::size_t vertexCount() const { return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows); }
    std::size_t index(int row, int column) const { return static_cast<std::size_t>(row) * columns + column; }
    double x(int row, int column) const { return row % 2 == 0 ? x0 + column * dx : x0 + column * dx + dx / 2; }
    double y(int row) const { return y0 + row * dy; }
};

// The lattice for a target vertex count N over the box (the positive root of
// 2H n^2 + (sqrt3 W - H) n - sqrt3 W N = 0, rounded), or the reason it cannot be built.
Outcome<Lattice> planLattice(double targetVertices, const ShapeBox&);

// The target vertex count of each way of dividing the area, or a problem when the entered
// number cannot give a lattice.
Outcome<double> targetFromSegmentsPerSide(long segments);
Outcome<double> targetFromVertexCount(long vertices);
Outcome<double> targetFromSegmentLength(double length, const ShapeBox&);

}  // namespace ovd
