#include "map_layout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "map_layers.h"
#include "map_margin.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

// The margin's width against the picture's: a picture this much taller than wide (a portrait
// page) gets its items under the frame.
constexpr double kPortrait = 1.1;
// The width, in logical pixels, from which the margin's items have their full size.
constexpr double kFullWidth = 600;

struct Measures {
    double pad, gap, titleHeight, tickBand;
    QSizeF legend, rose, north;
    double panelWidth;
};

Measures measure(const MapModel& m, const LayerSet& layers, double u)
{
    Measures s;
    s.pad = 10 * u;
    s.gap = 8 * u;
    s.titleHeight = QFontMetricsF(mapFont(16 * u, true)).height() + 8 * u;
    s.tickBand = QFontMetricsF(mapFont(10 * u)).height() + 7 * u;
    s.legend = legendSize(m, layers, u);
    s.rose = roseShown(m, layers) ? roseSize(u) : QSizeF(0, 0);
    s.north = northSize(u);
    s.panelWidth = std::max({s.legend.width(), s.rose.width(), 150 * u});
    return s;
}

// Legend, rose, the scale bar with the north arrow and the system one under another, right of
// the frame; the rose beside the legend when the column would not fit.
void panelRight(MapLayout& out, QSizeF size, const MapModel& m, const Measures& s, double u)
{
    const double scaleHeight = std::max(s.north.height(), 36 * u);
    const double top = s.pad + s.titleHeight, bottom = size.height() - s.pad - s.tickBand;
    double systemH = systemHeight(m, s.panelWidth, u);
    const double column = s.legend.height() + s.rose.height() + scaleHeight + systemH + 3 * s.gap;
    const bool twoColumns = s.rose.height() > 0 && column > bottom - top;
    const double width = twoColumns ? s.legend.width() + s.gap + s.rose.width() : s.panelWidth;
    const double x = size.width() - s.pad - width;
    out.frame = QRectF(QPointF(s.pad + s.tickBand, top), QPointF(x - s.pad, bottom));
    out.legend = QRectF(QPointF(x, top), s.legend);
    double y = top + s.legend.height() + s.gap;
    if (twoColumns) {
        out.rose = QRectF(QPointF(x + s.legend.width() + s.gap, top), s.rose);
        y = std::max(y, out.rose.bottom() + s.gap);
    } else if (s.rose.height() > 0) {
        out.rose = QRectF(QPointF(x, y), s.rose);
        y += s.rose.height() + s.gap;
    }
    systemH = systemHeight(m, width, u);
    out.north = QRectF(QPointF(x, y), s.north);
    out.scale = QRectF(x + s.north.width() + s.gap, y, width - s.north.width() - s.gap, scaleHeight);
    out.system = QRectF(x, std::max(y + scaleHeight + s.gap, bottom - systemH), width, systemH);
}

// The same items in a row under the frame.
void panelBelow(MapLayout& out, QSizeF size, const MapModel& m, const Measures& s, double u)
{
    const double last = std::max(150 * u, size.width() - 2 * s.pad - s.legend.width() - s.rose.width() -
                                               (s.rose.width() > 0 ? 2 : 1) * s.gap);
    const double scaleHeight = std::max(s.north.height(), 36 * u);
    const double systemH = systemHeight(m, last, u);
    const double height = std::max({s.legend.height(), s.rose.height(), scaleHeight + s.gap + systemH});
    const double top = size.height() - s.pad - height;
    out.panelBelow = true;
    out.frame = QRectF(QPointF(s.pad + s.tickBand, s.pad + s.titleHeight), QPointF(size.width() - s.pad,
                                                                                    top - s.gap - s.tickBand));
    double x = s.pad;
    out.legend = QRectF(QPointF(x, top), s.legend);
    x += s.legend.width() + s.gap;
    if (s.rose.width() > 0) {
        out.rose = QRectF(QPointF(x, top), s.rose);
        x += s.rose.width() + s.gap;
    }
    out.north = QRectF(QPointF(x, top), s.north);
    out.scale = QRectF(x + s.north.width() + s.gap, top, last - s.north.width() - s.gap, scaleHeight);
    out.system = QRectF(x, top + scaleHeight + s.gap, last, systemH);
}

}  // namespace

QFont mapFont(double pixels, bool bold)
{
    QFont f = QGuiApplication::font();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

double marginUnit(QSizeF size, double unit)
{
    return unit * std::clamp(size.width() / (kFullWidth * unit), 0.5, 1.0);
}

MapLayout mapLayout(QSizeF size, const MapModel& m, const LayerSet& layers, double unit)
{
    unit = marginUnit(size, unit);
    const Measures s = measure(m, layers, unit);
    MapLayout out;
    if (size.height() > kPortrait * size.width())
        panelBelow(out, size, m, s, unit);
    else
        panelRight(out, size, m, s, unit);
    if (out.frame.width() < 1 || out.frame.height() < 1)  // a picture too small for a margin
        out.frame = QRectF(QPointF(0, 0), size);
    out.title = QRectF(out.frame.left(), s.pad, size.width() - out.frame.left() - s.pad, s.titleHeight - 4 * unit);
    const double line = QFontMetricsF(mapFont(9 * unit)).height();
    out.attribution = QRectF(out.frame.left() + 3 * unit, out.frame.bottom() - line - 3 * unit,
                             out.frame.width() - 6 * unit, line);
    return out;
}

double fitPadding(double unit)
{
    return QFontMetricsF(mapFont(9 * unit)).height() + 10 * unit;
}

ViewTransform fitToFrame(const StudyBox& box, QSize size, const QRectF& frame, double padding)
{
    const QRectF inner = frame.adjusted(padding, padding, -padding, -padding);
    const QSize area(std::max(1, static_cast<int>(inner.width())), std::max(1, static_cast<int>(inner.height())));
    const ViewTransform inFrame = ViewTransform::fit(box, area, 0);
    // The same scale, the box's centre at the frame's centre.
    const double s = inFrame.pixelsPerMetre();
    const QPointF shift = inner.center() - QPointF(size.width() / 2.0, size.height() / 2.0);
    return ViewTransform(size, inFrame.centreX() - shift.x() / s, inFrame.centreY() + shift.y() / s, s);
}

QString coordinateText(double metres, double spacing)
{
    if (spacing >= 1000 && std::fmod(spacing, 1000) == 0)
        return QString::number(std::lround(metres / 1000)) + " km";
    return QString::number(std::llround(metres)) + " m";
}

std::vector<FrameTick> frameTicks(const ViewTransform& v, const QRectF& frame, double unit)
{
    // At least this far apart: a label fits between two ticks.
    const double step = roundStep(100 * unit / v.pixelsPerMetre());
    const QPointF nw = v.toStudy(frame.topLeft()), se = v.toStudy(frame.bottomRight());
    std::vector<FrameTick> ticks;
    for (double k = std::ceil(nw.x() / step); k * step <= se.x(); ++k)
        ticks.push_back({true, v.toPixel(k * step, 0).x(), k * step, coordinateText(k * step, step)});
    for (double k = std::ceil(se.y() / step); k * step <= nw.y(); ++k)
        ticks.push_back({false, v.toPixel(0, k * step).y(), k * step, coordinateText(k * step, step)});
    return ticks;
}

}  // namespace ovd
