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

// The background over the part of the study a picture of `pictureWidth` pixels shows (0: a
// window's view, with room around it), and its attribution. A file is read whenever it is
// set, a service only while the layer is shown (no request for a hidden layer).
void buildBackgroundLayer(const MapSettings&, MapModel&, Reporter&, int pictureWidth);
// The background of a window's view: `view` of the study shown at `pixels`, read grown by half
// its size on each side, so that a pan shows it at once.
void buildViewBackground(const MapSettings&, MapModel&, Reporter&, const StudyBox& view, QSize pixels);
// How the background's warnings begin.
inline constexpr std::string_view kBackgroundWarning = "Podklad: ";

// 1, 2 or 5 times a power of ten, the least of them not below `raw`.
double roundStep(double raw);

// The segments of each level joined where they meet into the longest lines they make.
std::vector<MapIsolines::Chain> levelChains(const std::vector<IsolineSegment>&);

}  // namespace ovd
