#include "map_labels.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include "ui_common/qt_text.h"

namespace ovd {

namespace {

// A line in pixels with the distance along it to each point.
struct PixelLine {
    std::vector<QPointF> points;
    std::vector<double> along;

    QPointF at(double s) const
    {
        auto it = std::lower_bound(along.begin(), along.end(), s);
        const std::size_t i = std::clamp<std::size_t>(static_cast<std::size_t>(it - along.begin()), 1,
                                                        points.size() - 1);
        const double len = along[i] - along[i - 1];
        const double t = len > 0 ? std::clamp((s - along[i - 1]) / len, 0.0, 1.0) : 0;
        return points[i - 1] + t * (points[i] - points[i - 1]);
    }
};

PixelLine toPixels(const MapIsolines::Chain& c, const ViewTransform& v)
{
    PixelLine l;
    l.points.reserve(c.points.size());
    double s = 0;
    for (const QPointF& p : c.points) {
        QPointF px = v.toPixel(p.x(), p.y());
        if (!l.points.empty()) {
            const QPointF d = px - l.points.back();
            s += std::sqrt(d.x() * d.x() + d.y() * d.y());
        }
        l.points.push_back(px);
        l.along.push_back(s);
    }
    return l;
}

// The label centred at `s` along the line and turned with its chord, or none when the line
// bends too much under it.
std::optional<LineLabel> labelAt(const PixelLine& l, double s, double width, double height, const QString& text)
{
    const QPointF a = l.at(s - width / 2), b = l.at(s + width / 2);
    if (QLineF(a, b).length() < 0.8 * width)
        return std::nullopt;
    double angle = std::atan2(b.y() - a.y(), b.x() - a.x()) * 180 / M_PI;
    if (angle > 90)
        angle -= 180;
    else if (angle < -90)
        angle += 180;
    LineLabel label{l.at(s), angle, text, {}};
    QTransform t;
    t.translate(label.centre.x(), label.centre.y());
    t.rotate(angle);
    label.box = t.map(QPolygonF(QRectF(-width / 2, -height / 2, width, height)));
    return label;
}

bool fits(const QPolygonF& box, const QRectF& frame, const std::vector<QPolygonF>& taken)
{
    for (const QPointF& p : box)
        if (!frame.contains(p))
            return false;
    const QRectF bounds = box.boundingRect();
    for (const QPolygonF& other : taken)
        if (bounds.intersects(other.boundingRect()) && box.intersects(other))
            return false;
    return true;
}

}  // namespace

std::vector<LineLabel> placeLineLabels(const MapIsolines& lines, const ViewTransform& v, const QRectF& frame,
                                       const QFont& font, double spacing, std::vector<QPolygonF>& taken)
{
    const QFontMetricsF fm(font);
    const double height = 1.15 * fm.height();
    const StudyBox vis = v.visibleBox();
    std::vector<LineLabel> placed;
    for (const MapIsolines::Chain& c : lines.chains) {
        StudyBox b = StudyBox::empty();
        for (const QPointF& p : c.points)
            b.include(p.x(), p.y());
        if (b.xmax < vis.xmin || b.xmin > vis.xmax || b.ymax < vis.ymin || b.ymin > vis.ymax)
            continue;
        const PixelLine l = toPixels(c, v);
        const QString text = qs(levelText(c.level));
        const double width = fm.horizontalAdvance(text) + 0.5 * fm.height(), length = l.along.back();
        if (length < 1.5 * width)
            continue;
        const double first = length < spacing ? length / 2 : spacing / 2;
        for (double s = first; s + width / 2 <= length; s += spacing) {
            std::optional<LineLabel> label = labelAt(l, s, width, height, text);
            if (label && fits(label->box, frame, taken)) {
                taken.push_back(label->box);
                placed.push_back(std::move(*label));
            }
        }
    }
    return placed;
}

namespace {

// The outline of a text and of its halo, flattened to polygons.
struct Outline {
    QPainterPath text, halo;
};

// Made once for every text, font and halo: a map redraws the same few labels again and again.
// Kept as polygons, plain data each drawing thread copies.
std::vector<std::vector<QPolygonF>> outlineOf(const QString& text, const QFont& font, double halo)
{
    static std::mutex lock;
    static std::map<std::tuple<QString, QString, double>, std::vector<std::vector<QPolygonF>>> made;
    const auto key = std::make_tuple(text, font.key(), halo);
    {
        std::lock_guard<std::mutex> hold(lock);
        if (auto it = made.find(key); it != made.end())
            return it->second;
    }
    QPainterPath path;
    path.addText(0, 0, font, text);
    path.translate(-path.boundingRect().center());
    QPainterPathStroker stroker;
    stroker.setWidth(halo);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    std::vector<std::vector<QPolygonF>> out(2);
    for (const QPolygonF& poly : path.toSubpathPolygons())
        out[0].push_back(poly);
    // One outline of the halo, not one per stroked piece of every glyph: far fewer edges to fill.
    for (const QPolygonF& poly : stroker.createStroke(path).simplified().toSubpathPolygons())
        out[1].push_back(poly);
    std::lock_guard<std::mutex> hold(lock);
    if (made.size() > 1000)
        made.clear();
    made.emplace(key, out);
    return out;
}

QPainterPath pathOf(const std::vector<QPolygonF>& polygons)
{
    QPainterPath path;
    for (const QPolygonF& poly : polygons)
        path.addPolygon(poly);
    return path;
}

}  // namespace

void drawLineLabels(QPainter& p, const std::vector<LineLabel>& labels, const QFont& font, const QColor& colour,
                    double unit)
{
    std::map<QString, Outline> outlines;  // this drawing's paths of the cached outlines
    p.save();
    p.setPen(Qt::NoPen);
    const QTransform base = p.transform();
    for (const LineLabel& l : labels) {
        auto [it, made] = outlines.try_emplace(l.text);
        if (made) {
            const std::vector<std::vector<QPolygonF>> polygons = outlineOf(l.text, font, 3 * unit);
            it->second = {pathOf(polygons[0]), pathOf(polygons[1])};
        }
        p.setTransform(QTransform::fromTranslate(l.centre.x(), l.centre.y()).rotate(l.angle) * base);
        p.fillPath(it->second.halo, QColor(255, 255, 255, 230));
        p.fillPath(it->second.text, colour);
    }
    p.restore();
}

}  // namespace ovd
