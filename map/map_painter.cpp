#include "map_painter.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/source_layout.h"
#include "map_labels.h"
#include "map_layout.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

constexpr double kBackgroundOpacity = 0.55;
// Labels of a line layer lie this far apart along their lines, in screen pixels; the many
// terrain contours are labelled more sparsely.
constexpr double kLabelSpacing = 320, kContourLabelSpacing = 640;

bool shown(const LayerSet& layers, MapLayer l)
{
    return layers[static_cast<std::size_t>(l)];
}

void drawRaster(QPainter& p, const MapRaster& r, const ViewTransform& v, bool smooth, double opacity = 1)
{
    if (r.empty())
        return;
    p.save();
    p.setOpacity(opacity);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    p.drawImage(v.toPixels(r.box), r.image);
    p.restore();
}

void drawLines(QPainter& p, const MapIsolines& lines, const ViewTransform& v, const QColor& colour, double width,
               const MapStyle& st, const StudyBox& visible, bool smooth)
{
    p.setRenderHint(QPainter::Antialiasing, smooth);
    if (lines.segments.empty())
        return;
    QList<QLineF> pixels;
    pixels.reserve(static_cast<qsizetype>(lines.segments.size()));
    for (const IsolineSegment& s : lines.segments) {
        if (std::max(s.x1, s.x2) < visible.xmin || std::min(s.x1, s.x2) > visible.xmax ||
            std::max(s.y1, s.y2) < visible.ymin || std::min(s.y1, s.y2) > visible.ymax)
            continue;
        pixels.append(QLineF(v.toPixel(s.x1, s.y1), v.toPixel(s.x2, s.y2)));
    }
    p.setPen(QPen(colour, width * st.unit, Qt::SolidLine, Qt::RoundCap));
    p.drawLines(pixels);
    p.setRenderHint(QPainter::Antialiasing, true);
}

// One path of rings per class. An image's bands are filled without smoothing, so that two
// bands meet without a seam; SVG and PDF keep the exact outline.
void drawBands(QPainter& p, const MapModel& m, const ViewTransform& v)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, !(p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster));
    p.setPen(Qt::NoPen);
    for (const BandPolygon& band : m.bands) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const std::vector<QPointF>& ring : band.rings) {
            QPolygonF px;
            px.reserve(static_cast<qsizetype>(ring.size()) + 1);
            for (const QPointF& at : ring)
                px << v.toPixel(at.x(), at.y());
            px << px.front();
            path.addPolygon(px);
        }
        QColor c = m.breaks.colour(band.cls);
        c.setAlpha(kBandAlpha);
        p.fillPath(path, c);
    }
    p.restore();
}

// The labels of the isolines, then those of the terrain contours where they leave room, over
// every mark of the layers.
void drawLabels(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& layers, const MapStyle& st,
                const QRectF& frame)
{
    std::vector<QPolygonF> taken;
    const QFont font = mapFont(10 * st.unit), small = mapFont(9 * st.unit);
    const QRectF inside = frame.adjusted(2 * st.unit, 2 * st.unit, -2 * st.unit, -2 * st.unit);
    if (shown(layers, MapLayer::Isolines)) {
        auto labels = placeLineLabels(m.isolines, v, inside, font, kLabelSpacing * st.unit, taken);
        drawLineLabels(p, labels, font, kIsolineColour, st.unit);
    }
    if (shown(layers, MapLayer::FileIsolines)) {
        auto labels = placeLineLabels(m.fileIsolines, v, inside, font, kLabelSpacing * st.unit, taken);
        drawLineLabels(p, labels, font, kFileIsolineColour, st.unit);
    }
    if (shown(layers, MapLayer::Terrain)) {
        auto labels = placeLineLabels(m.contours, v, inside, small, kContourLabelSpacing * st.unit, taken);
        drawLineLabels(p, labels, small, QColor(110, 75, 40), st.unit);
    }
}

void drawSources(QPainter& p, const MapModel& m, const ViewTransform& v, const MapStyle& st)
{
    const double r = 5 * st.unit;
    for (const MapSource& s : m.sources) {
        QPointF c = v.toPixel(s.x, s.y);
        if (s.type == kLineSource) {
            p.setPen(QPen(kLineSourceColour, 2.5 * st.unit, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c, v.toPixel(s.x2, s.y2));
        } else if (s.type == kAreaSource) {
            double half = std::max(s.side * v.pixelsPerMetre() / 2, r * 0.8);
            p.setPen(QPen(kAreaSourceColour, 1.5 * st.unit));
            p.setBrush(QColor(kAreaSourceColour.red(), kAreaSourceColour.green(), kAreaSourceColour.blue(), 60));
            p.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
        } else {
            p.setPen(QPen(Qt::white, 1 * st.unit));
            p.setBrush(kPointSourceColour);
            p.drawPolygon(QPolygonF({c + QPointF(0, -r * 1.2), c + QPointF(r, r * 0.8), c + QPointF(-r, r * 0.8)}));
        }
    }
}

void drawPoints(QPainter& p, const MapModel& m, const ViewTransform& v, const MapStyle& st)
{
    // Dense points shrink so that their colours stay apart, down to a dot.
    double r = kPointRadius * st.unit;
    if (m.pointSpacing > 0)
        r = std::clamp(0.4 * m.pointSpacing * v.pixelsPerMetre(), 1.5 * st.unit, r);
    const StudyBox vis = v.visibleBox();
    const double margin = r / v.pixelsPerMetre();
    // One brush per class: the points of a class are drawn together.
    std::vector<std::vector<QPointF>> byClass(m.breaks.classCount() + 1);
    for (const MapPoint& pt : m.points) {
        if (pt.x < vis.xmin - margin || pt.x > vis.xmax + margin || pt.y < vis.ymin - margin ||
            pt.y > vis.ymax + margin)
            continue;
        std::size_t c = pt.value ? m.breaks.classOf(*pt.value) : m.breaks.classCount();
        byClass[c].push_back(v.toPixel(pt.x, pt.y));
    }
    const QPen outline(QColor(60, 60, 60, 160), 0.6 * st.unit);
    // An image is stamped with one drawn marker per class, many times faster than drawing each;
    // SVG and PDF keep one circle per point.
    const bool stamp = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
    for (std::size_t c = 0; c < byClass.size(); ++c) {
        QBrush fill = c < m.breaks.classCount() ? QBrush(m.breaks.colour(c)) : QBrush(Qt::NoBrush);
        if (!stamp) {
            p.setPen(outline);
            p.setBrush(fill);
            for (const QPointF& at : byClass[c])
                p.drawEllipse(at, r, r);
            continue;
        }
        const double dpr = p.device()->devicePixelRatioF();
        const double half = std::ceil(r + outline.widthF());
        QImage marker(QSize(static_cast<int>(2 * half * dpr), static_cast<int>(2 * half * dpr)),
                      QImage::Format_ARGB32_Premultiplied);
        marker.setDevicePixelRatio(dpr);
        marker.fill(Qt::transparent);
        {
            QPainter mp(&marker);
            mp.setRenderHint(QPainter::Antialiasing);
            mp.setPen(outline);
            mp.setBrush(fill);
            mp.drawEllipse(QPointF(half, half), r, r);
        }
        for (const QPointF& at : byClass[c])
            p.drawImage(QPointF(std::round(at.x() - half), std::round(at.y() - half)), marker);
    }
}

}  // namespace

LayerSet layerSet(const MapSettings& s)
{
    LayerSet l{};
    for (std::size_t i = 0; i < kMapLayerCount; ++i)
        l[i] = s.layerShown(static_cast<MapLayer>(i));
    return l;
}

void paintLayers(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& layers, const MapStyle& st)
{
    const QRectF frame = st.frame.isEmpty() ? QRectF(QPointF(0, 0), QSizeF(v.size())) : st.frame;
    p.save();
    p.setClipRect(frame, Qt::IntersectClip);
    p.setRenderHint(QPainter::Antialiasing, true);
    const StudyBox vis = v.visibleBox();
    if (shown(layers, MapLayer::Terrain))
        drawRaster(p, m.hillshade, v, true);
    if (shown(layers, MapLayer::Background))
        drawRaster(p, m.background, v, true, kBackgroundOpacity);  // faded: the results stay readable over it
    if (shown(layers, MapLayer::Isobands))
        drawBands(p, m, v);
    if (shown(layers, MapLayer::Terrain))
        drawLines(p, m.contours, v, kContourColour, 0.8, st, vis, false);  // many and faint
    if (shown(layers, MapLayer::Isolines))
        drawLines(p, m.isolines, v, kIsolineColour, 1.4, st, vis, true);
    if (shown(layers, MapLayer::FileIsolines))
        drawLines(p, m.fileIsolines, v, kFileIsolineColour, 1.4, st, vis, true);
    if (shown(layers, MapLayer::Points))
        drawPoints(p, m, v, st);
    // The few sources over the many points, where they stay visible.
    if (shown(layers, MapLayer::Sources))
        drawSources(p, m, v, st);
    drawLabels(p, m, v, layers, st, frame);
    p.restore();
}

void paintMap(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& layers, const MapStyle& st)
{
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(v.size())), Qt::white);
    MapStyle framed = st;
    framed.frame = mapLayout(QSizeF(v.size()), m, layers, st.unit).frame;
    paintLayers(p, m, v, layers, framed);
    paintDecorations(p, m, v, layers, framed);
}

std::string scaleText(double metres)
{
    return metres >= 1000 ? levelText(metres / 1000) + " km" : levelText(metres) + " m";
}

}  // namespace ovd
