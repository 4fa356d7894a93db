// The margin of the map over what lies outside the data frame: the title above it, the
// frame with its coordinates, and the legend, wind rose, scale bar, north arrow and
// coordinate system where the layout puts them.
#include <QFontMetricsF>
#include <QPainterPath>

#include "map_layers.h"
#include "map_margin.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

void drawTitle(QPainter& p, const MapModel& m, const QRectF& box, double u)
{
    p.setFont(mapFont(16 * u, true));
    p.setPen(Qt::black);
    const QString text = QFontMetricsF(p.font()).elidedText(qs(m.title()), Qt::ElideMiddle, box.width());
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

// White over everything outside the frame.
void clearMargin(QPainter& p, QSizeF size, const QRectF& frame)
{
    QPainterPath margin;
    margin.setFillRule(Qt::OddEvenFill);
    margin.addRect(QRectF(QPointF(0, 0), size));
    margin.addRect(frame);
    p.fillPath(margin, Qt::white);
}

}  // namespace

void paintDecorations(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& layers,
                      const MapStyle& st)
{
    const MapLayout l = mapLayout(QSizeF(v.size()), m, layers, st.unit);
    const double u = marginUnit(QSizeF(v.size()), st.unit);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    clearMargin(p, QSizeF(v.size()), l.frame);
    drawFrame(p, v, l, u);
    drawTitle(p, m, l.title, u);
    drawLegend(p, m, layers, l.legend, u);
    if (roseShown(m, layers))
        drawWindRose(p, *m.windRose, l.rose, u);
    drawNorthArrow(p, l.north, u);
    drawScaleBar(p, v, l.scale, u);
    drawSystem(p, m, l.system, u);
    if (layers[static_cast<std::size_t>(MapLayer::Background)])
        drawBasemapCredit(p, m, l.frame, MapStyle{u, l.frame});
    p.restore();
}

}  // namespace ovd
