// The data frame's line with its coordinate ticks on every side, the X coordinates written
// under it and the Y coordinates turned up along its left side; a label that would meet the
// previous one or stick out of its side is left out.
#include <QFontMetricsF>

#include "map_margin.h"

namespace ovd {

void drawFrame(QPainter& p, const ViewTransform& v, const MapLayout& l, double u)
{
    const QRectF& f = l.frame;
    const double tick = 4 * u;
    const std::vector<FrameTick> ticks = frameTicks(v, f, u);
    p.setPen(QPen(Qt::black, 0.8 * u));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f);
    for (const FrameTick& t : ticks) {
        if (t.vertical) {
            p.drawLine(QPointF(t.pixel, f.top()), QPointF(t.pixel, f.top() - tick));
            p.drawLine(QPointF(t.pixel, f.bottom()), QPointF(t.pixel, f.bottom() + tick));
        } else {
            p.drawLine(QPointF(f.left(), t.pixel), QPointF(f.left() - tick, t.pixel));
            p.drawLine(QPointF(f.right(), t.pixel), QPointF(f.right() + tick, t.pixel));
        }
    }
    p.setFont(mapFont(10 * u));
    const QFontMetricsF fm(p.font());
    double last = -1e300;
    bool side = true;
    for (const FrameTick& t : ticks) {
        const double half = fm.horizontalAdvance(t.text) / 2;
        const double along = t.vertical ? t.pixel : -t.pixel;  // the left side's labels run upwards
        const double lo = t.vertical ? f.left() : -f.bottom(), hi = t.vertical ? f.right() : -f.top();
        if (along - half < lo || along + half > hi)
            continue;
        if (t.vertical != side) {
            side = t.vertical;
            last = -1e300;  // the first label of the left side
        }
        if (along - half < last + 6 * u)
            continue;
        last = along + half;
        p.save();
        if (t.vertical) {
            p.translate(t.pixel, f.bottom() + tick + 1 * u);
        } else {
            p.translate(f.left() - tick - 1 * u, t.pixel);
            p.rotate(-90);
        }
        p.drawText(QRectF(-half, t.vertical ? 0 : -fm.height(), 2 * half, fm.height()), Qt::AlignCenter, t.text);
        p.restore();
    }
}

}  // namespace ovd
