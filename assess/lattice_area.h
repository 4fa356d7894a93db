#pragma once
// The area one point stands for when a table's points form a full regular lattice (as the
// grid tool makes them).
#include <optional>
#include <vector>

#include "point_table.h"

namespace ovd {

// dx * dy in m²; none when the points are not every node of one lattice of at least 2 x 2.
std::optional<double> latticeCellArea(const std::vector<TablePoint>&);

}  // namespace ovd
