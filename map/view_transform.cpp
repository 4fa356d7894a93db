#include "view_transform.h"

#include <algorithm>
#include <cmath>

namespace ovd {

void StudyBox::include(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (!valid()) {
        *this = {x, y, x, y};
        return;
    }
    xmin = std::min(xmin, x);
    ymin = std::min(ymin, y);
    xmax = std::max(xmax, x);
    ymax = std::max(ymax, y);
}

void StudyBox::include(const StudyBox& b)
{
    if (b.valid()) {
        include(b.xmin, b.ymin);
        include(b.xmax, b.ymax);
    }
}

ViewTransform::ViewTransform(QSize size, double centreX, double centreY, double pixelsPerMetre)
    : m_size(size.expandedTo(QSize(1, 1)))
    , m_cx(centreX)
    , m_cy(centreY)
    , m_scale(std::clamp(pixelsPerMetre, kMinPixelsPerMetre, kMaxPixelsPerMetre))
{ }

ViewTransform ViewTransform::fit(const StudyBox& box, QSize size, int margin)
{
    size = size.expandedTo(QSize(1, 1));
    if (!box.valid())
        return ViewTransform(size, 0, 0, 1);
    double w = std::max(box.width(), 1.0), h = std::max(box.height(), 1.0);
    if (box.width() == 0 && box.height() == 0)
        w = h = 1000;
    double aw = std::max(1, size.width() - 2 * margin), ah = std::max(1, size.height() - 2 * margin);
    return ViewTransform(size, (box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2, std::min(aw / w, ah / h));
}

QPointF ViewTransform::toPixel(double x, double y) const
{
    return {m_size.width() / 2.0 + (x - m_cx) * m_scale, m_size.height() / 2.0 - (y - m_cy) * m_scale};
}

QPointF ViewTransform::toStudy(QPointF p) const
{
    return {m_cx + (p.x() - m_size.width() / 2.0) / m_scale, m_cy - (p.y() - m_size.height() / 2.0) / m_scale};
}

QRectF ViewTransform::toPixels(const StudyBox& b) const
{
    return QRectF(toPixel(b.xmin, b.ymax), toPixel(b.xmax, b.ymin));
}

StudyBox ViewTransform::visibleBox() const
{
    QPointF nw = toStudy({0, 0}), se = toStudy(QPointF(m_size.width(), m_size.height()));
    return {nw.x(), se.y(), se.x(), nw.y()};
}

void ViewTransform::zoom(double factor, QPointF pixel)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    QPointF before = toStudy(pixel);
    m_scale = std::clamp(m_scale * factor, kMinPixelsPerMetre, kMaxPixelsPerMetre);
    QPointF after = toStudy(pixel);
    m_cx += before.x() - after.x();
    m_cy += before.y() - after.y();
}

void ViewTransform::pan(QPointF delta)
{
    m_cx -= delta.x() / m_scale;
    m_cy += delta.y() / m_scale;
}

ViewTransform ViewTransform::resized(QSize size) const
{
    size = size.expandedTo(QSize(1, 1));
    return ViewTransform(size, m_cx, m_cy, m_scale * size.width() / m_size.width());
}

}  // namespace ovd
