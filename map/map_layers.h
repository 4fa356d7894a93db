#pragma once
// The derived layers of the map model: what the terrain and the coloured values give.
#include <string>

#include "inputs/terrain_matrix.h"
#include "map_model.h"

namespace ovd {

// The hillshade of the terrain (at most `maxSide` pixels across) and its contour lines at a
// round step giving about ten of them.
void buildTerrainLayers(const TerrainMatrix&, MapModel&, int maxSide = 1000);

// Isolines of the points' values at the class breaks and the bands between them, from the
// values spread over a lattice of about `vertices` vertices (k nearest points, power 2).
void buildIsolineLayers(MapModel&, double vertices);
// The lattice's vertex count the map contours that many points on.
double latticeVertices(std::size_t points);

// 1, 2 or 5 times a power of ten, the least of them not below `raw`.
double roundStep(double raw);

// The segments of each level joined where they meet into the longest lines they make.
std::vector<MapIsolines::Chain> levelChains(const std::vector<IsolineSegment>&);

}  // namespace ovd
