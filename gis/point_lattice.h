#pragma once
// The regular lattice a set of result points lies on (as the grid tool makes them), and one
// value column spread over it: the cells of a GeoTIFF, row 0 the northernmost.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "common/outcome.h"
#include "result_points.h"

namespace ovd {

struct PointLattice {
    double xmin = 0, ymax = 0;  // centre of the north-west cell
    double dx = 0, dy = 0;
    std::int32_t ncols = 0, nrows = 0;
    std::vector<double> cells;  // ncols x nrows, north first; kLatticeNoData where no point is
};

inline constexpr double kLatticeNoData = -9999;

// The least and the greatest value of the lattice's cells; nullopt when every cell is no-data.
std::optional<std::pair<double, double>> valueRange(const PointLattice&);
// A lattice of more cells would be mostly empty: the points are not a grid of their own.
inline constexpr std::int64_t kMaxLatticeCells = 50'000'000;

// The lattice of the points' X and Y steps with `column`'s values (blank values stay
// no-data). Refused, naming the first point (in table order) that breaks it: a point off the
// lattice, two points in one cell, fewer than two points; the refusals name what the lattice
// is made for.
enum class LatticeUse { GeoTiff, Isobands };
Outcome<PointLattice> spreadOnLattice(const ResultPoints&, std::size_t column, LatticeUse = LatticeUse::GeoTiff);

}  // namespace ovd
