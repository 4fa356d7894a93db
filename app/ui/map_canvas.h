#pragma once
// The drawing area of the result map: the layers are drawn into a picture off the GUI thread
// and shown moved and scaled to the current view until the next one is ready, so panning and
// zooming never wait for a redraw; the decorations are drawn over it directly.
#include <QFutureWatcher>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "map/map_painter.h"

namespace ovd::mainui {

class MapCanvas : public QWidget {
public:
    explicit MapCanvas(QWidget* parent = nullptr);
    ~MapCanvas() override;

    // Shows a new model fitted to the study.
    void setModel(std::shared_ptr<const MapModel>);
    // The same map with another layer (a background read meanwhile): the view and the
    // highlighted point stay.
    void replaceModel(std::shared_ptr<const MapModel>);
    // No map: the text says why and what to do (a study without results yet).
    void setHint(const QString&);
    const QString& hint() const { return m_hint; }
    const MapModel* model() const { return m_model.get(); }
    void setLayers(const LayerSet&);
    const LayerSet& layers() const { return m_layers; }

    const ViewTransform& view() const { return m_view; }
    // The data frame of the current layout, and a view of just what it shows (what an export
    // of the window draws).
    QRectF frame() const;
    ViewTransform frameView() const;
    void fitToStudy();
    void zoomBy(double factor);  // about the centre of the view
    // The point drawn with a ring over its marker (the one clicked last); a new model clears it.
    void setHighlight(std::optional<std::size_t> point);
    std::optional<std::size_t> highlight() const { return m_highlight; }
    // True once the picture of the current view is drawn (tests wait for it).
    bool pictureReady() const { return !m_picture.isNull() && m_pictureGeneration == m_generation; }

    // Called with the study coordinates under the cursor, and at a click in the frame with
    // the index of the point clicked (none when the click hit no point).
    std::function<void(double x, double y)> onCursorMoved;
    std::function<void(std::optional<std::size_t> point)> onPointClicked;
    // Called whenever the view moves, zooms or is resized.
    std::function<void()> onViewChanged;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    bool event(QEvent*) override;

private:
    void viewChanged();
    void startPicture();
    void pictureDone();
    void paintHighlight(QPainter&) const;

    std::shared_ptr<const MapModel> m_model;
    QString m_hint;
    std::optional<std::size_t> m_highlight;
    LayerSet m_layers{};
    ViewTransform m_view;
    QImage m_picture;  // the layers as drawn for m_pictureView
    ViewTransform m_pictureView, m_pendingView;
    quint64 m_generation = 0, m_pictureGeneration = 0;
    QFutureWatcher<QImage> m_watcher;
    bool m_drawing = false;
    QPointF m_pressAt, m_lastDrag;
    bool m_dragging = false;
    bool m_fitted = true;  // the view shows the whole study and follows the window's size
};

// The ring around the highlighted point: its radius in pixels and colour.
inline constexpr double kHighlightRadius = kPointRadius + 4;
inline const QColor kHighlightColour{220, 0, 120};

// How far a drag must go before it is a pan and not a click, in pixels.
inline constexpr double kClickSlop = 4;

}  // namespace ovd::mainui
