#pragma once
// The labels of isolines and terrain contours: along their lines, inside the data frame and
// none over another.
#include <QFont>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <vector>

#include "map_model.h"

namespace ovd {

struct LineLabel {
    QPointF centre;  // pixels
    double angle = 0;  // degrees, clockwise from the x axis, the text upright
    QString text;
    QPolygonF box;  // where it lies, its halo included
};

// Labels of the lines' levels, one every `spacing` pixels along each line (one in the middle
// of a shorter line that holds it), skipping those that would leave `frame` or meet one of
// `taken`; the placed ones are added to `taken`.
std::vector<LineLabel> placeLineLabels(const MapIsolines&, const ViewTransform&, const QRectF& frame,
                                       const QFont&, double spacing, std::vector<QPolygonF>& taken);

// The labels in the colour, with a white halo.
void drawLineLabels(QPainter&, const std::vector<LineLabel>&, const QFont&, const QColor&, double unit);

}  // namespace ovd
