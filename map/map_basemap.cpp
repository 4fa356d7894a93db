// The map's background: read for the part of the study the map shows at the map's pixels,
// and the attribution the source asks for, printed in a corner of the data.
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "common/text.h"
#include "gis/basemap_source.h"
#include "map_export.h"
#include "map_layers.h"
#include "map_painter.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

// A window's background covers this much of the study's view across ...
constexpr int kWindowSide = 2048;
// ... and a picture's at most this many pixels a side.
constexpr int kMaxSide = 8192;

// The study's view in a picture of `width` pixels, grown by `extra` of its size on each side.
BasemapRequest viewRequest(const StudyBox& box, int width, double extra)
{
    const int height = pictureHeight(box, width);
    StudyBox b = ViewTransform::fit(box, QSize(width, height), width / 20).visibleBox();
    const double dx = b.width() * extra, dy = b.height() * extra;
    BasemapRequest q;
    q.xmin = b.xmin - dx;
    q.xmax = b.xmax + dx;
    q.ymin = b.ymin - dy;
    q.ymax = b.ymax + dy;
    double scale = std::min(1.0, kMaxSide / (std::max(width, height) * (1 + 2 * extra)));
    q.width = std::max(1, static_cast<int>(std::lround(width * (1 + 2 * extra) * scale)));
    q.height = std::max(1, static_cast<int>(std::lround(height * (1 + 2 * extra) * scale)));
    return q;
}

QImage imageOf(const BackgroundPixels& px)
{
    QImage img(px.width, px.height, QImage::Format_ARGB32);
    for (int j = 0; j < px.height; ++j)
        std::copy_n(px.argb.begin() + static_cast<long>(j) * px.width, px.width,
                    reinterpret_cast<QRgb*>(img.scanLine(j)));
    return img;
}

}  // namespace

namespace {

void readBackground(const MapSettings& s, MapModel& m, Reporter& r, BasemapRequest q)
{
    const bool service = isBasemapService(s.background);
    q.source = s.background;
    q.studySystem = s.coordinateSystem;
    q.cacheFolder = s.basemapCacheFolder();
    if (service)
        r.status(0, "Načítám podklad mapy ze služby " + trim(s.background));
    std::vector<std::string> notes;
    Outcome<BackgroundPixels> px = readBasemap(q, r, notes);
    for (const std::string& n : notes)
        m.warnings.push_back(std::string(kBackgroundWarning) + n);
    if (!px) {
        if (!r.cancelled())
            m.warnings.push_back(std::string(kBackgroundWarning) + px.problem().text);
        return;
    }
    m.background = {imageOf(*px), {px->xmin, px->ymin, px->xmax, px->ymax}};
    m.backgroundCredit = trim(s.basemapCredit);
}

bool wanted(const MapSettings& s, const MapModel& m)
{
    if (trim(s.background).empty() || !m.box.valid())
        return false;
    return !isBasemapService(s.background) || s.layerShown(MapLayer::Background);
}

}  // namespace

void buildBackgroundLayer(const MapSettings& s, MapModel& m, Reporter& r, int pictureWidth)
{
    if (!wanted(s, m))
        return;
    // A picture gets its own view with a rim for the antialiased edge; a window room to pan.
    readBackground(s, m, r,
                   pictureWidth > 0 ? viewRequest(m.box, pictureWidth, 0.02) : viewRequest(m.box, kWindowSide / 2, 0.5));
}

void buildViewBackground(const MapSettings& s, MapModel& m, Reporter& r, const StudyBox& view, QSize pixels)
{
    if (!wanted(s, m) || !view.valid() || pixels.isEmpty())
        return;
    BasemapRequest q;
    const double dx = view.width() / 2, dy = view.height() / 2;
    q.xmin = view.xmin - dx;
    q.xmax = view.xmax + dx;
    q.ymin = view.ymin - dy;
    q.ymax = view.ymax + dy;
    const double scale = std::min(1.0, static_cast<double>(kMaxSide) / (2 * std::max(pixels.width(), pixels.height())));
    q.width = std::max(1, static_cast<int>(std::lround(2 * pixels.width() * scale)));
    q.height = std::max(1, static_cast<int>(std::lround(2 * pixels.height() * scale)));
    readBackground(s, m, r, q);
}

void drawBasemapCredit(QPainter& p, const MapModel& m, const QRectF& frame, const MapStyle& st)
{
    if (m.background.empty() || m.backgroundCredit.empty())
        return;
    const double u = st.unit;
    QFont f = p.font();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(9 * u))));
    p.save();
    p.setFont(f);
    const QString text = qs(m.backgroundCredit);
    QRectF r = QFontMetricsF(f).boundingRect(text).adjusted(-3 * u, -1 * u, 3 * u, 1 * u);
    r.moveBottomLeft(frame.bottomLeft() + QPointF(1 * u, -1 * u));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(r);
    p.setPen(QColor(60, 60, 60));
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

}  // namespace ovd
