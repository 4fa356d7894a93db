// What is printed over the map's layers: title, legend, scale bar, north arrow, wind rose
// and the coordinate system, all in view coordinates.
#include <cmath>

#include "map_layers.h"
#include "map_painter.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

const QColor kFrame(255, 255, 255, 225);

QFont sized(const QPainter& p, double pixels, bool bold = false)
{
    QFont f = p.font();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

void drawTitle(QPainter& p, const MapModel& m, const MapStyle& st)
{
    p.setFont(sized(p, 16 * st.unit, true));
    QRectF r = QRectF(p.fontMetrics().boundingRect(qs(m.title())))
                   .adjusted(-6 * st.unit, -3 * st.unit, 6 * st.unit, 3 * st.unit);
    r.moveTopLeft(QPointF(10 * st.unit, 10 * st.unit));
    p.setPen(Qt::NoPen);
    p.setBrush(kFrame);
    p.drawRect(r);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, qs(m.title()));
}

// The classes with their colours, top to bottom from the highest (named ones in their order),
// then the other symbols.
void drawLegend(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& layers, const MapStyle& st)
{
    const double u = st.unit, line = 17 * u, sw = 14 * u;
    QString heading = qs(m.column) + (m.unit.empty() ? QString() : " [" + qs(m.unit) + "]");
    std::vector<std::pair<QString, int>> rows;  // text, class (or -1 a source kind ...)
    const std::size_t classes = m.breaks.classCount();
    for (std::size_t k = 0; k < classes; ++k) {
        const std::size_t c = m.breaks.categories.empty() ? classes - 1 - k : k;  // named classes in their order
        rows.emplace_back(qs(m.breaks.label(c)), static_cast<int>(c));
    }
    bool sources = layers[static_cast<std::size_t>(MapLayer::Sources)] && !m.sources.empty();
    if (sources) {
        rows.emplace_back("bodový zdroj", -1);
        rows.emplace_back("plošný zdroj", -2);
        rows.emplace_back("liniový zdroj", -3);
    }
    p.setFont(sized(p, 12 * u, true));
    double width = p.fontMetrics().horizontalAdvance(heading);
    p.setFont(sized(p, 12 * u));
    for (const auto& row : rows)
        width = std::max(width, sw + 6 * u + p.fontMetrics().horizontalAdvance(row.first));
    QRectF box(0, 0, width + 16 * u, line * (static_cast<double>(rows.size()) + 1) + 12 * u);
    box.moveTopRight(QPointF(v.size().width() - 10 * u, 10 * u));
    p.setPen(QPen(QColor(120, 120, 120), 0.8 * u));
    p.setBrush(kFrame);
    p.drawRect(box);
    p.setFont(sized(p, 12 * u, true));
    p.setPen(Qt::black);
    double y = box.top() + 6 * u;
    p.drawText(QRectF(box.left() + 8 * u, y, width, line), Qt::AlignVCenter | Qt::AlignLeft, heading);
    p.setFont(sized(p, 12 * u));
    for (const auto& [text, kind] : rows) {
        y += line;
        QRectF swatch(box.left() + 8 * u, y + (line - sw) / 2, sw, sw);
        if (kind >= 0) {
            p.setPen(QPen(QColor(60, 60, 60), 0.8 * u));
            p.setBrush(m.breaks.colour(static_cast<std::size_t>(kind)));
            p.drawRect(swatch);
        } else if (kind == -1) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 70, 200));
            QPointF c = swatch.center();
            double r = sw / 2;
            p.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, r * 0.8), c + QPointF(-r, r * 0.8)}));
        } else if (kind == -2) {
            p.setPen(QPen(QColor(140, 20, 160), 1.5 * u));
            p.setBrush(QColor(140, 20, 160, 60));
            p.drawRect(swatch.adjusted(2 * u, 2 * u, -2 * u, -2 * u));
        } else {
            p.setPen(QPen(QColor(30, 30, 30), 2.5 * u));
            p.drawLine(swatch.bottomLeft(), swatch.topRight());
        }
        p.setPen(Qt::black);
        p.drawText(QRectF(swatch.right() + 6 * u, y, width, line), Qt::AlignVCenter | Qt::AlignLeft, text);
    }
}

void drawScaleBar(QPainter& p, const ViewTransform& v, const MapStyle& st)
{
    const double u = st.unit;
    double metres = roundStep(v.size().width() / v.pixelsPerMetre() / 8);
    double px = metres * v.pixelsPerMetre();
    QPointF at(14 * u, v.size().height() - 16 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(kFrame);
    p.drawRect(QRectF(at.x() - 6 * u, at.y() - 24 * u, px + 12 * u, 32 * u));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(at.x(), at.y() - 4 * u, px / 2, 4 * u));
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.drawRect(QRectF(at.x() + px / 2, at.y() - 4 * u, px / 2, 4 * u));
    p.setFont(sized(p, 11 * u));
    p.drawText(QRectF(at.x(), at.y() - 22 * u, px, 16 * u), Qt::AlignCenter, qs(scaleText(metres)));
}

void drawNorthArrow(QPainter& p, QPointF top, const MapStyle& st)
{
    const double u = st.unit, h = 26 * u, w = 9 * u;
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({top, top + QPointF(w, h), top + QPointF(0, h * 0.72)}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({top, top + QPointF(-w, h), top + QPointF(0, h * 0.72)}));
    p.setFont(sized(p, 12 * u, true));
    p.drawText(QRectF(top.x() - 10 * u, top.y() + h, 20 * u, 16 * u), Qt::AlignCenter, "S");
}

// Where the wind blows from over the year: the directions' shares as an outline, the longest
// 36 px, in a framed box whose bottom right corner is `corner`.
void drawWindRose(QPainter& p, const std::vector<double>& sectors, QPointF corner, const MapStyle& st)
{
    double top = 0;
    for (double s : sectors)
        top = std::max(top, s);
    if (!(top > 0))
        return;
    const double r = 36 * st.unit, u = st.unit;
    QRectF frame(corner.x() - 2 * r - 24 * u, corner.y() - 2 * r - 36 * u, 2 * r + 24 * u, 2 * r + 36 * u);
    p.setPen(QPen(QColor(120, 120, 120), 0.8 * u));
    p.setBrush(kFrame);
    p.drawRect(frame);
    p.setPen(Qt::black);
    p.setFont(sized(p, 11 * u));
    p.drawText(QRectF(frame.left(), frame.top() + 2 * u, frame.width(), 14 * u), Qt::AlignCenter, qs("Větrná růžice"));
    const QPointF centre(frame.center().x(), frame.center().y() + 8 * u);
    QPolygonF outline;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        double a = static_cast<double>(i) * 2 * M_PI / static_cast<double>(sectors.size()),
               len = 3 * st.unit + r * sectors[i] / top;
        outline << centre + QPointF(len * std::sin(a), -len * std::cos(a));
    }
    p.setPen(QPen(QColor(120, 120, 120), 0.6 * st.unit, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawLine(centre - QPointF(0, r + 4 * st.unit), centre + QPointF(0, r + 4 * st.unit));
    p.drawLine(centre - QPointF(r + 4 * st.unit, 0), centre + QPointF(r + 4 * st.unit, 0));
    p.setPen(QPen(QColor(20, 60, 140), 1.2 * st.unit));
    p.setBrush(QColor(60, 110, 200, 110));
    p.drawPolygon(outline);
}

void drawSystem(QPainter& p, const MapModel& m, const ViewTransform& v, const MapStyle& st)
{
    const double u = st.unit;
    QString text = "Souřadnicový systém: " + (m.systemText.empty() ? QString("neurčen") : qs(m.systemText));
    p.setFont(sized(p, 10 * u));
    QRectF r = QRectF(p.fontMetrics().boundingRect(text)).adjusted(-4 * u, -2 * u, 4 * u, 2 * u);
    r.moveBottomRight(QPointF(v.size().width() - 8 * u, v.size().height() - 8 * u));
    p.setPen(Qt::NoPen);
    p.setBrush(kFrame);
    p.drawRect(r);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
}

}  // namespace

void paintDecorations(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& layers,
                      const MapStyle& st)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    drawTitle(p, m, st);
    drawLegend(p, m, v, layers, st);
    drawScaleBar(p, v, st);
    const double u = st.unit;
    drawNorthArrow(p, QPointF(28 * u, 52 * u), st);
    if (layers[static_cast<std::size_t>(MapLayer::WindRose)] && m.windRose)
        drawWindRose(p, *m.windRose, QPointF(v.size().width() - 10 * u, v.size().height() - 32 * u), st);
    drawSystem(p, m, v, st);
    if (layers[static_cast<std::size_t>(MapLayer::Background)])
        drawBasemapCredit(p, m, QRectF(QPointF(0, 0), QSizeF(v.size())), st);
    p.restore();
}

}  // namespace ovd
