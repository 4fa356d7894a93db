#include "map_canvas.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

#include "common/numbers.h"
#include "common/source_layout.h"
#include "map/map_layout.h"

namespace ovd::mainui {

namespace {

constexpr double kWheelStep = 1.25, kKeyPan = 60;

QString sourceTip(const MapSource& s)
{
    const char* kind = s.type == kLineSource ? "liniový" : s.type == kAreaSource ? "plošný" : "bodový";
    const char* unit = s.type == kLineSource ? "g/(s·m)" : "g/s";
    return QString::fromStdString(cformat("Zdroj %d (%s)\nemise %s %s", static_cast<int>(s.number), kind,
                                          formatDecimal(s.emission).c_str(), unit));
}

}  // namespace

MapCanvas::MapCanvas(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("mapCanvas");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    connect(&m_watcher, &QFutureWatcher<QImage>::finished, this, &MapCanvas::pictureDone);
}

MapCanvas::~MapCanvas()
{
    m_watcher.waitForFinished();
}

void MapCanvas::setModel(std::shared_ptr<const MapModel> model)
{
    m_model = std::move(model);
    m_highlight.reset();
    m_hint.clear();
    fitToStudy();
}

void MapCanvas::replaceModel(std::shared_ptr<const MapModel> model)
{
    m_model = std::move(model);
    viewChanged();
}

void MapCanvas::setHint(const QString& text)
{
    m_model.reset();
    m_highlight.reset();
    m_hint = text;
    update();
}

void MapCanvas::setHighlight(std::optional<std::size_t> point)
{
    m_highlight = m_model && point && *point < m_model->points.size() ? point : std::nullopt;
    update();
}

void MapCanvas::setLayers(const LayerSet& layers)
{
    m_layers = layers;
    if (m_fitted && m_model) {
        fitToStudy();  // the margin may have grown or shrunk
        return;
    }
    viewChanged();
}

QRectF MapCanvas::frame() const
{
    if (!m_model)
        return QRectF(rect());
    return mapLayout(QSizeF(size()), *m_model, m_layers, 1).frame;
}

ViewTransform MapCanvas::frameView() const
{
    const QRectF f = frame();
    const QPointF centre = m_view.toStudy(f.center());
    return ViewTransform(f.size().toSize(), centre.x(), centre.y(), m_view.pixelsPerMetre());
}

void MapCanvas::fitToStudy()
{
    if (m_model)
        m_view = fitToFrame(m_model->box, size(), frame(), fitPadding(1));
    m_fitted = true;
    viewChanged();
}

void MapCanvas::zoomBy(double factor)
{
    m_fitted = false;
    m_view.zoom(factor, QPointF(width() / 2.0, height() / 2.0));
    viewChanged();
}

void MapCanvas::viewChanged()
{
    ++m_generation;
    update();
    startPicture();
    if (onViewChanged)
        onViewChanged();
}

// One picture is drawn at a time; a view that changed meanwhile gets the next one.
void MapCanvas::startPicture()
{
    if (!m_model || m_drawing)
        return;
    m_drawing = true;
    std::shared_ptr<const MapModel> model = m_model;
    ViewTransform view = m_view;
    LayerSet layers = m_layers;
    quint64 generation = m_generation;
    qreal dpr = devicePixelRatioF();
    const MapStyle style{1, frame()};
    m_watcher.setFuture(QtConcurrent::run([model, view, layers, generation, dpr, style] {
        QImage img(view.size() * dpr, QImage::Format_ARGB32_Premultiplied);
        img.setDevicePixelRatio(dpr);
        img.fill(Qt::white);
        QPainter p(&img);
        paintLayers(p, *model, view, layers, style);
        p.end();
        img.setText("generation", QString::number(generation));
        return img;
    }));
    m_pendingView = view;
}

void MapCanvas::pictureDone()
{
    m_drawing = false;
    m_picture = m_watcher.result();
    m_pictureView = m_pendingView;
    m_pictureGeneration = m_picture.text("generation").toULongLong();
    update();
    if (m_pictureGeneration != m_generation)
        startPicture();
}

void MapCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_model) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect().adjusted(40, 40, -40, -40), Qt::AlignCenter | Qt::TextWordWrap, m_hint);
        return;
    }
    if (!m_picture.isNull()) {
        // The last picture where its view lies in the current one: moved and scaled, not redrawn.
        StudyBox shown = m_pictureView.visibleBox();
        p.save();
        p.setClipRect(frame());
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_pictureGeneration != m_generation);
        p.drawImage(m_view.toPixels(shown), m_picture);
        p.restore();
    }
    paintHighlight(p);
    paintDecorations(p, *m_model, m_view, m_layers);
}

// A white-edged ring drawn live over the picture, so it follows every pan and zoom at once.
void MapCanvas::paintHighlight(QPainter& p) const
{
    if (!m_highlight)
        return;
    const MapPoint& point = m_model->points[*m_highlight];
    const QPointF at = m_view.toPixel(point.x, point.y);
    p.save();
    p.setClipRect(frame());
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 5));
    p.drawEllipse(at, kHighlightRadius, kHighlightRadius);
    p.setPen(QPen(kHighlightColour, 2.5));
    p.drawEllipse(at, kHighlightRadius, kHighlightRadius);
    p.restore();
}

// A view that shows the whole study keeps showing it; one the user moved keeps its scale.
void MapCanvas::resizeEvent(QResizeEvent*)
{
    if (m_fitted && m_model) {
        fitToStudy();
        return;
    }
    m_view = ViewTransform(size(), m_view.centreX(), m_view.centreY(), m_view.pixelsPerMetre());
    viewChanged();
}

void MapCanvas::wheelEvent(QWheelEvent* e)
{
    double steps = e->angleDelta().y() / 120.0;
    m_fitted = false;
    m_view.zoom(std::pow(kWheelStep, steps), e->position());
    viewChanged();
}

void MapCanvas::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomBy(kWheelStep); return;
    case Qt::Key_Minus: zoomBy(1 / kWheelStep); return;
    case Qt::Key_Home: fitToStudy(); return;
    case Qt::Key_Left: m_view.pan(QPointF(kKeyPan, 0)); break;
    case Qt::Key_Right: m_view.pan(QPointF(-kKeyPan, 0)); break;
    case Qt::Key_Up: m_view.pan(QPointF(0, kKeyPan)); break;
    case Qt::Key_Down: m_view.pan(QPointF(0, -kKeyPan)); break;
    default: QWidget::keyPressEvent(e); return;
    }
    m_fitted = false;
    viewChanged();
}

void MapCanvas::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_pressAt = m_lastDrag = e->position();
    m_dragging = false;
}

void MapCanvas::mouseMoveEvent(QMouseEvent* e)
{
    QPointF at = m_view.toStudy(e->position());
    if (onCursorMoved)
        onCursorMoved(at.x(), at.y());
    if (!(e->buttons() & Qt::LeftButton))
        return;
    if (!m_dragging && QLineF(m_pressAt, e->position()).length() < kClickSlop)
        return;
    m_dragging = true;
    m_fitted = false;
    setCursor(Qt::ClosedHandCursor);
    m_view.pan(e->position() - m_lastDrag);
    m_lastDrag = e->position();
    viewChanged();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    unsetCursor();
    if (m_dragging || !m_model || !frame().contains(e->position())) {
        m_dragging = false;
        return;
    }
    QPointF at = m_view.toStudy(e->position());
    double radius = (kPointRadius + 2) / m_view.pixelsPerMetre();
    std::optional<std::size_t> i = m_model->pointNear(at.x(), at.y(), radius);
    setHighlight(i);
    if (onPointClicked)
        onPointClicked(i);
}

bool MapCanvas::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && m_model && m_layers[static_cast<std::size_t>(MapLayer::Sources)]) {
        auto* help = static_cast<QHelpEvent*>(e);
        const MapSource* best = nullptr;
        double bestD = 8;
        for (const MapSource& s : m_model->sources) {
            double d = QLineF(m_view.toPixel(s.x, s.y), help->pos()).length();
            if (d <= bestD) {
                bestD = d;
                best = &s;
            }
        }
        if (best)
            QToolTip::showText(help->globalPos(), sourceTip(*best), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

}  // namespace ovd::mainui
