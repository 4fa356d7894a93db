#pragma once
// Draws a view of the map model into any paint device (a window, an image, SVG, PDF): the
// layers from the bottom up inside the data frame, then in the margin round it the title, the
// frame's coordinates, legend, wind rose, scale bar, north arrow and the study's coordinate
// system (map_layout.h). Sizes are in the painter's logical pixels times `unit`.
#include <QPainter>
#include <array>

#include "map_model.h"

namespace ovd {

using LayerSet = std::array<bool, kMapLayerCount>;
LayerSet layerSet(const MapSettings&);

struct MapStyle {
    double unit = 1;  // how much larger than on a screen marks, lines and texts are
    QRectF frame;     // the data frame the layers and their labels keep to; empty: the whole view
};

// The layers over the view's frame; the wind rose is a decoration.
void paintLayers(QPainter&, const MapModel&, const ViewTransform&, const LayerSet&, const MapStyle& = {});
// The margin of the view's layout over whatever lies outside its frame, and the frame itself.
void paintDecorations(QPainter&, const MapModel&, const ViewTransform&, const LayerSet&, const MapStyle& = {});
// Both, over a white ground, the frame of the view's layout.
void paintMap(QPainter&, const MapModel&, const ViewTransform&, const LayerSet&, const MapStyle& = {});

// The background's attribution in the bottom left corner of the data `frame`, while it is drawn.
void drawBasemapCredit(QPainter&, const MapModel&, const QRectF& frame, const MapStyle& = {});

// A point's marker radius on a screen, in pixels.
inline constexpr double kPointRadius = 4.5;

inline const QColor kContourColour(150, 110, 70, 170);
inline const QColor kIsolineColour(90, 20, 20);
inline const QColor kFileIsolineColour(20, 40, 130);
inline const QColor kPointSourceColour(20, 70, 200), kAreaSourceColour(140, 20, 160), kLineSourceColour(30, 30, 30);
// The bands are seen through, so that the terrain below stays readable.
inline constexpr int kBandAlpha = 150;

// The text of the scale bar for a length in metres ("500 m", "2 km").
std::string scaleText(double metres);

}  // namespace ovd
