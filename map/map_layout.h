#pragma once
// Where the parts of a map picture go: the data frame the layers are drawn in, and the
// margin round it with the title, the frame's coordinates, the legend, the wind rose, the
// scale bar, the north arrow and the coordinate system, so that none of them covers data.
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "map_painter.h"

namespace ovd {

struct MapLayout {
    QRectF frame;        // the data frame
    QRectF title;        // the line above it
    QRectF legend, rose, scale, north, system;  // in the margin; rose empty when not drawn
    QRectF attribution;  // one line in the frame's bottom left corner a fitted view leaves free
    bool panelBelow = false;  // the margin's items under the frame (a portrait page), else right of it
};

// The layout of a picture of this size; sizes in logical pixels times `unit`.
MapLayout mapLayout(QSizeF size, const MapModel&, const LayerSet&, double unit);
// The unit the margin's items are drawn at: `unit`, shrunk down to half of it in a picture
// narrower than 600 of its pixels, so that the frame keeps most of the picture.
double marginUnit(QSizeF size, double unit);

// How far inside the frame a fitted view keeps the study: clear of the frame's line and of the
// attribution's corner.
double fitPadding(double unit);

// The view that shows `box` whole in the frame of a picture of `size`, centred.
ViewTransform fitToFrame(const StudyBox& box, QSize size, const QRectF& frame, double padding);

// The frame's coordinate ticks: positions along its sides and their labels.
struct FrameTick {
    bool vertical = false;  // a tick of an X coordinate (a vertical grid line); else of Y
    double pixel = 0;       // x (vertical) or y of the tick in the picture
    double value = 0;       // the coordinate in metres
    QString text;           // "-748 km", "-748500 m"
};
std::vector<FrameTick> frameTicks(const ViewTransform&, const QRectF& frame, double unit);
// The text of a coordinate on the frame: whole kilometres for a spacing of a kilometre or more.
QString coordinateText(double metres, double spacing);

// The default font at a pixel size.
QFont mapFont(double pixels, bool bold = false);

}  // namespace ovd
