// The legend: the classes with their colours, top to bottom from the highest (named ones in
// their order), the lines drawn and the kinds of sources.
#include <QFontMetricsF>

#include "map_margin.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

enum class Symbol { Class, PointSource, AreaSource, LineSource, Isoline, FileIsoline, Contour };

struct Row {
    QString text;
    Symbol symbol;
    std::size_t cls = 0;
};

QString heading(const MapModel& m)
{
    return qs(m.column) + (m.unit.empty() ? QString() : " [" + qs(m.unit) + "]");
}

bool on(const LayerSet& layers, MapLayer l)
{
    return layers[static_cast<std::size_t>(l)];
}

std::vector<Row> legendRows(const MapModel& m, const LayerSet& layers)
{
    std::vector<Row> rows;
    const std::size_t classes = m.breaks.classCount();
    for (std::size_t k = 0; k < classes; ++k) {
        const std::size_t c = m.breaks.categories.empty() ? classes - 1 - k : k;  // named classes in their order
        rows.push_back({qs(m.breaks.label(c)), Symbol::Class, c});
    }
    if (on(layers, MapLayer::Isolines) && !m.isolines.segments.empty())
        rows.push_back({QString::fromUtf8("izolinie v hladinách tříd"), Symbol::Isoline});
    if (on(layers, MapLayer::FileIsolines) && !m.fileIsolines.segments.empty())
        rows.push_back({QString::fromUtf8("izolinie ze souboru"), Symbol::FileIsoline});
    if (on(layers, MapLayer::Terrain) && !m.contours.segments.empty())
        rows.push_back({"vrstevnice po " + qs(scaleText(m.contourStep)), Symbol::Contour});
    if (on(layers, MapLayer::Sources) && !m.sources.empty()) {
        rows.push_back({QString::fromUtf8("bodový zdroj"), Symbol::PointSource});
        rows.push_back({QString::fromUtf8("plošný zdroj"), Symbol::AreaSource});
        rows.push_back({QString::fromUtf8("liniový zdroj"), Symbol::LineSource});
    }
    return rows;
}

void drawSymbol(QPainter& p, const MapModel& m, const Row& row, const QRectF& swatch, double u)
{
    switch (row.symbol) {
    case Symbol::Class:
        p.setPen(QPen(QColor(60, 60, 60), 0.8 * u));
        p.setBrush(m.breaks.colour(row.cls));
        p.drawRect(swatch);
        break;
    case Symbol::PointSource: {
        p.setPen(Qt::NoPen);
        p.setBrush(kPointSourceColour);
        const QPointF c = swatch.center();
        const double r = swatch.width() / 2;
        p.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, r * 0.8), c + QPointF(-r, r * 0.8)}));
        break;
    }
    case Symbol::AreaSource:
        p.setPen(QPen(kAreaSourceColour, 1.5 * u));
        p.setBrush(QColor(kAreaSourceColour.red(), kAreaSourceColour.green(), kAreaSourceColour.blue(), 60));
        p.drawRect(swatch.adjusted(2 * u, 2 * u, -2 * u, -2 * u));
        break;
    case Symbol::LineSource:
        p.setPen(QPen(kLineSourceColour, 2.5 * u));
        p.drawLine(swatch.bottomLeft(), swatch.topRight());
        break;
    case Symbol::Isoline:
    case Symbol::FileIsoline:
    case Symbol::Contour:
        p.setPen(QPen(row.symbol == Symbol::Isoline       ? kIsolineColour
                      : row.symbol == Symbol::FileIsoline ? kFileIsolineColour
                                                          : kContourColour,
                      (row.symbol == Symbol::Contour ? 1.0 : 1.4) * u));
        p.drawLine(QPointF(swatch.left(), swatch.center().y()), QPointF(swatch.right(), swatch.center().y()));
        break;
    }
}

}  // namespace

QSizeF legendSize(const MapModel& m, const LayerSet& layers, double u)
{
    const double line = 17 * u, swatch = 14 * u;
    double width = QFontMetricsF(mapFont(12 * u, true)).horizontalAdvance(heading(m));
    const QFontMetricsF fm(mapFont(12 * u));
    const std::vector<Row> rows = legendRows(m, layers);
    for (const Row& row : rows)
        width = std::max(width, swatch + 6 * u + fm.horizontalAdvance(row.text));
    return QSizeF(width + 16 * u, line * (static_cast<double>(rows.size()) + 1) + 12 * u);
}

void drawLegend(QPainter& p, const MapModel& m, const LayerSet& layers, const QRectF& box, double u)
{
    const double line = 17 * u, sw = 14 * u, width = box.width() - 16 * u;
    p.setPen(QPen(QColor(120, 120, 120), 0.8 * u));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setFont(mapFont(12 * u, true));
    p.setPen(Qt::black);
    double y = box.top() + 6 * u;
    p.drawText(QRectF(box.left() + 8 * u, y, width, line), Qt::AlignVCenter | Qt::AlignLeft, heading(m));
    p.setFont(mapFont(12 * u));
    for (const Row& row : legendRows(m, layers)) {
        y += line;
        const QRectF swatch(box.left() + 8 * u, y + (line - sw) / 2, sw, sw);
        drawSymbol(p, m, row, swatch, u);
        p.setPen(Qt::black);
        p.drawText(QRectF(swatch.right() + 6 * u, y, width, line), Qt::AlignVCenter | Qt::AlignLeft, row.text);
    }
}

}  // namespace ovd
