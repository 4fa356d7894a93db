// The wind rose, the north arrow, the scale bar and the coordinate system of the margin.
#include "map_margin.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>

#include "map_layers.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

constexpr double kRoseRadius = 36;
const QColor kBoxLine(120, 120, 120);

// The largest of 1, 2 and 5 times a power of ten not above `raw`.
double roundStepBelow(double raw)
{
    const double up = roundStep(raw);
    if (up <= raw * (1 + 1e-12))
        return up;
    const double p = std::pow(10.0, std::floor(std::log10(up)));
    const double m = up / p;
    return m > 4 ? 2 * p : m > 1.5 ? p : 0.5 * p;
}

}  // namespace

bool roseShown(const MapModel& m, const LayerSet& layers)
{
    if (!layers[static_cast<std::size_t>(MapLayer::WindRose)] || !m.windRose)
        return false;
    for (double s : *m.windRose)
        if (s > 0)
            return true;
    return false;
}

QSizeF roseSize(double u)
{
    const double line = QFontMetricsF(mapFont(11 * u)).height();
    return QSizeF(2 * kRoseRadius * u + 40 * u, 2 * kRoseRadius * u + 42 * u + 2 * line);
}

double roseRingPercent(const std::vector<double>& sectors)
{
    double total = 0, top = 0;
    for (double s : sectors) {
        total += std::max(0.0, s);
        top = std::max(top, s);
    }
    if (!(total > 0))
        return 0;
    // A multiple of a round step about a fifth of the largest share: the outline fills most of it.
    const double largest = 100 * top / total, step = roundStep(largest / 5);
    return std::ceil(largest / step * (1 - 1e-12)) * step;
}

void drawWindRose(QPainter& p, const std::vector<double>& sectors, const QRectF& box, double u)
{
    double total = 0;
    for (double s : sectors)
        total += std::max(0.0, s);
    const double ring = roseRingPercent(sectors), r = kRoseRadius * u;
    const double line = QFontMetricsF(mapFont(11 * u)).height();
    p.setPen(QPen(kBoxLine, 0.8 * u));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setPen(Qt::black);
    p.setFont(mapFont(11 * u));
    p.drawText(QRectF(box.left(), box.top() + 2 * u, box.width(), line), Qt::AlignCenter, qs("Větrná růžice"));
    const QPointF centre(box.center().x(), box.top() + line + 20 * u + r);
    QPolygonF outline;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        const double a = static_cast<double>(i) * 2 * M_PI / static_cast<double>(sectors.size());
        const double len = ring > 0 ? r * 100 * std::max(0.0, sectors[i]) / total / ring : 0;
        outline << centre + QPointF(len * std::sin(a), -len * std::cos(a));
    }
    p.setPen(QPen(kBoxLine, 0.6 * u, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    QPainterPath circle;  // a path, not a circle: an SVG's circles are the points alone
    circle.addEllipse(centre, r, r);
    p.drawPath(circle);
    p.drawLine(centre - QPointF(0, r), centre + QPointF(0, r));
    p.drawLine(centre - QPointF(r, 0), centre + QPointF(r, 0));
    p.setPen(QPen(QColor(20, 60, 140), 1.2 * u));
    p.setBrush(QColor(60, 110, 200, 110));
    p.drawPolygon(outline);
    p.setPen(Qt::black);
    p.setFont(mapFont(11 * u, true));
    const double d = r + 9 * u, half = 8 * u;
    const std::pair<const char*, QPointF> marks[] = {
        {"S", {0, -d}}, {"V", {d, 0}}, {"J", {0, d}}, {"Z", {-d, 0}}};
    for (const auto& [text, at] : marks)
        p.drawText(QRectF(centre + at - QPointF(half, half), QSizeF(2 * half, 2 * half)), Qt::AlignCenter, text);
    p.setFont(mapFont(10 * u));
    p.drawText(QRectF(box.left(), box.bottom() - line - 3 * u, box.width(), line), Qt::AlignCenter,
               qs("vnější kružnice " + levelText(ring) + " %"));
}

QSizeF northSize(double u)
{
    return QSizeF(24 * u, 46 * u);
}

void drawNorthArrow(QPainter& p, const QRectF& box, double u)
{
    const double h = 26 * u, w = 9 * u;
    const QPointF top(box.center().x(), box.top() + 2 * u);
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({top, top + QPointF(w, h), top + QPointF(0, h * 0.72)}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({top, top + QPointF(-w, h), top + QPointF(0, h * 0.72)}));
    p.setFont(mapFont(12 * u, true));
    p.drawText(QRectF(box.left(), top.y() + h, box.width(), 16 * u), Qt::AlignCenter, "S");
}

void drawScaleBar(QPainter& p, const ViewTransform& v, const QRectF& box, double u)
{
    const double room = box.width() - 12 * u;
    if (!(room > 0))
        return;
    const double metres = roundStepBelow(room / v.pixelsPerMetre());
    const double px = metres * v.pixelsPerMetre();
    const QPointF at(box.left() + 4 * u, box.bottom() - 8 * u);
    p.setBrush(Qt::black);
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.drawRect(QRectF(at.x(), at.y() - 4 * u, px / 2, 4 * u));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(at.x() + px / 2, at.y() - 4 * u, px / 2, 4 * u));
    p.setFont(mapFont(11 * u));
    p.drawText(QRectF(at.x(), at.y() - 22 * u, px, 16 * u), Qt::AlignCenter, qs(scaleText(metres)));
}

QString systemText(const MapModel& m)
{
    return QString::fromUtf8("Souřadnicový systém:\n") +
           (m.systemText.empty() ? QString::fromUtf8("neurčen") : qs(m.systemText));
}

double systemHeight(const MapModel& m, double width, double u)
{
    const QFontMetricsF fm(mapFont(10 * u));
    return fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, systemText(m)).height();
}

void drawSystem(QPainter& p, const MapModel& m, const QRectF& box, double u)
{
    p.setPen(Qt::black);
    p.setFont(mapFont(10 * u));
    p.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignBottom, systemText(m));
}

}  // namespace ovd
