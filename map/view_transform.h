#pragma once
// Study coordinates (metres, X east, Y north) to the pixels of a view (x right, y down) and
// back: a centre in the study, a scale in pixels per metre and the view's size.
#include <QPointF>
#include <QRectF>
#include <QSize>

namespace ovd {

// A box of the study's coordinates.
struct StudyBox {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    bool valid() const { return xmax >= xmin && ymax >= ymin; }
    double width() const { return xmax - xmin; }
    double height() const { return ymax - ymin; }
    void include(double x, double y);
    void include(const StudyBox&);
    static StudyBox empty() { return {1, 1, 0, 0}; }
};

class ViewTransform {
public:
    ViewTransform() = default;
    ViewTransform(QSize size, double centreX, double centreY, double pixelsPerMetre);

    // The whole box in the view with `margin` pixels around it (a point box gets 1 km across).
    static ViewTransform fit(const StudyBox&, QSize size, int margin = 20);

    QPointF toPixel(double x, double y) const;
    QPointF toStudy(QPointF pixel) const;
    QRectF toPixels(const StudyBox&) const;
    // The part of the study the view shows.
    StudyBox visibleBox() const;

    // Zooms by `factor` keeping the study point under `pixel` where it is.
    void zoom(double factor, QPointF pixel);
    // Moves the picture by `delta` pixels.
    void pan(QPointF delta);
    // The same view at another size, showing the same centre at the scale that keeps the width.
    ViewTransform resized(QSize size) const;

    QSize size() const { return m_size; }
    double pixelsPerMetre() const { return m_scale; }
    double centreX() const { return m_cx; }
    double centreY() const { return m_cy; }

private:
    QSize m_size{1, 1};
    double m_cx = 0, m_cy = 0, m_scale = 1;
};

// Scales are kept between a whole continent and a millimetre on the screen.
inline constexpr double kMinPixelsPerMetre = 1e-6, kMaxPixelsPerMetre = 1e3;

}  // namespace ovd
