#pragma once
// The items of the map's margin, each measured for the layout and drawn into its place.
#include <QPainter>
#include <vector>

#include "map_layout.h"

namespace ovd {

QSizeF legendSize(const MapModel&, const LayerSet&, double unit);
void drawLegend(QPainter&, const MapModel&, const LayerSet&, const QRectF& box, double unit);

// Whether the wind rose is drawn, and its box.
bool roseShown(const MapModel&, const LayerSet&);
QSizeF roseSize(double unit);
// The share of the year, in per cent, of the rose's outer ring: a round value at or above the
// largest direction's share.
double roseRingPercent(const std::vector<double>& sectors);
void drawWindRose(QPainter&, const std::vector<double>& sectors, const QRectF& box, double unit);

QSizeF northSize(double unit);
void drawNorthArrow(QPainter&, const QRectF& box, double unit);
// The scale bar for the view, its length a round one that fits the box.
void drawScaleBar(QPainter&, const ViewTransform&, const QRectF& box, double unit);

QString systemText(const MapModel&);
// The height of the system's text wrapped to `width`.
double systemHeight(const MapModel&, double width, double unit);
void drawSystem(QPainter&, const MapModel&, const QRectF& box, double unit);

// The frame's line and its coordinate ticks and labels.
void drawFrame(QPainter&, const ViewTransform&, const MapLayout&, double unit);

}  // namespace ovd
