#pragma once
// Draws a view of the map model into any paint device (a window, an image, SVG, PDF): the
// layers from the bottom up, then the title, legend, scale bar, north arrow and the study's
// coordinate system. Sizes are in the painter's logical pixels times `unit`.
#include <QPainter>
#include <array>

#include "map_model.h"

namespace ovd {

using LayerSet = std::array<bool, kMapLayerCount>;
LayerSet layerSet(const MapSettings&);

struct MapStyle {
    double unit = 1;  // how much larger than on a screen marks, lines and texts are
};

// The layers over the whole `view` area; the wind rose is a decoration.
void paintLayers(QPainter&, const MapModel&, const ViewTransform&, const LayerSet&, const MapStyle& = {});
// What is printed over the layers in view coordinates.
void paintDecorations(QPainter&, const MapModel&, const ViewTransform&, const LayerSet&, const MapStyle& = {});
// Both, over a white ground.
void paintMap(QPainter&, const MapModel&, const ViewTransform&, const LayerSet&, const MapStyle& = {});

// The background's attribution in the bottom left corner of the data `frame`, while it is drawn.
void drawBasemapCredit(QPainter&, const MapModel&, const QRectF& frame, const MapStyle& = {});

// A point's marker radius on a screen, in pixels.
inline constexpr double kPointRadius = 4.5;

// The text of the scale bar for a length in metres ("500 m", "2 km").
std::string scaleText(double metres);

}  // namespace ovd
