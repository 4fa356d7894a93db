#include "picture_widget.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ovd::mainui {

PictureWidget::PictureWidget(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(200, 120);
    startTimer(120);
}

void PictureWidget::timerEvent(QTimerEvent*)
{
    m_phase = (m_phase + 1) % 1000;
    if (isVisible())
        update();
}

void PictureWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width(), h = height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(120, 170, 225));
    sky.setColorAt(1, QColor(215, 232, 245));
    p.fillRect(rect(), sky);

    // Two ridges of terrain.
    QPainterPath far, near;
    far.moveTo(0, h * 0.72);
    near.moveTo(0, h * 0.85);
    for (int i = 0; i <= 40; ++i) {
        double x = w * i / 40.0;
        far.lineTo(x, h * (0.70 - 0.08 * std::sin(i * 0.35) - 0.04 * std::sin(i * 0.9)));
        near.lineTo(x, h * (0.84 - 0.05 * std::sin(i * 0.22 + 1.0)));
    }
    for (QPainterPath* path : {&far, &near}) {
        path->lineTo(w, h);
        path->lineTo(0, h);
        path->closeSubpath();
    }
    p.fillPath(far, QColor(110, 145, 95));
    p.fillPath(near, QColor(80, 120, 70));

    // The stack and its plume, puffs growing and fading downwind.
    const double sx = w * 0.18, top = h * 0.38, base = h * 0.86, sw = std::max(6.0, w * 0.02);
    p.fillRect(QRectF(sx - sw / 2, top, sw, base - top), QColor(150, 60, 50));
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 24; ++k) {
        double t = std::fmod(k / 24.0 + m_phase / 240.0, 1.0);
        double x = sx + t * w * 0.75;
        double y = top - h * 0.05 - std::sqrt(t) * h * 0.12 + std::sin(t * 9 + k) * h * 0.015;
        double r = sw * 0.6 + t * h * 0.12;
        p.setBrush(QColor(235, 235, 235, static_cast<int>(170 * (1 - t))));
        p.drawEllipse(QPointF(x, y), r, r * 0.7);
    }
}

}  // namespace ovd::mainui
