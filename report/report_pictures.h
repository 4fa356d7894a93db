#pragma once
// The report's pictures, all drawn by the map library: a table's map, the sources over the
// terrain, the hillshade and the wind rose of the map's decorations.
#include <QImage>
#include <string>

#include "map/map_model.h"

namespace ovd {

// Width of a map picture in pixels; printed 160 mm wide it is sharp at about 250 dpi.
inline constexpr int kReportMapWidth = 1600;

// The map of the model's values with the layers shown in the project (points, isolines,
// sources, terrain), its legend and scale bar.
QImage valuesMap(const MapModel&, const MapSettings&);
// The sources over the terrain, without the points, titled with the study's name; null
// without sources.
QImage sourcesMap(const MapModel&, const std::string& study);
// The terrain's hillshade and contours as the map shades them, north up; null without terrain.
QImage terrainMap(const MapModel&, const std::string& study);
// The wind rose as the map draws it in its corner; null when the model has none.
QImage windRosePicture(const MapModel&);

}  // namespace ovd
