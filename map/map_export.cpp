#include "map_export.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QPageSize>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/numbers.h"
#include "common/text.h"
#include "gis/basemap_source.h"
#include "map_layout.h"
#include "ui_common/qt_text.h"

namespace ovd {

namespace {

constexpr int kDefaultWidth = 1600;

double unitOf(const MapPicture& pic)
{
    return std::max(0.5, pic.dpi / static_cast<double>(kScreenDpi));
}

void paintInto(QPainter& p, const MapModel& m, const ViewTransform& v, const LayerSet& l, const MapPicture& pic)
{
    paintMap(p, m, pictureView(m, v, l, pic), l, MapStyle{unitOf(pic), {}});
}

QPageSize pageSizeOf(MapPage page)
{
    return QPageSize(page == MapPage::A3 ? QPageSize::A3 : QPageSize::A4);
}

}  // namespace

std::unique_ptr<QGuiApplication> guiApplicationForDrawing()
{
    if (QGuiApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The runner's stderr holds its own messages only, not Qt's notes about the platform.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "Qt: %s\n", qPrintable(text));
    });
    static int argc = 1;
    static char name[] = "ovardix-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

MapPicture pagePicture(MapFormat format, MapPage page, bool landscape, int dpi)
{
    MapPicture pic{format, QSize(), dpi, page, landscape};
    QSizeF mm = pageSizeOf(page).size(QPageSize::Millimeter);
    if (landscape)
        mm.transpose();
    pic.size = QSize(static_cast<int>(std::lround(mm.width() / 25.4 * dpi)),
                     static_cast<int>(std::lround(mm.height() / 25.4 * dpi)));
    return pic;
}

ViewTransform pictureView(const MapModel& m, const ViewTransform& v, const LayerSet& l, const MapPicture& pic)
{
    const MapLayout layout = mapLayout(QSizeF(pic.size), m, l, unitOf(pic));
    return fitToFrame(v.visibleBox(), pic.size, layout.frame, 0);
}

int pictureHeight(const StudyBox& box, int width)
{
    double aspect = box.valid() && box.width() > 0 ? box.height() / box.width() : 0.75;
    return static_cast<int>(width * std::clamp(aspect, 0.6, 1.4));
}

QByteArray renderMapPicture(const MapModel& m, const ViewTransform& v, const LayerSet& l, const MapPicture& pic)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString title = qs(m.title());
    switch (pic.format) {
    case MapFormat::Png: {
        QImage img(pic.size, QImage::Format_ARGB32);
        if (img.isNull())
            return bytes;  // no memory for it: nothing, which no one writes
        img.setDotsPerMeterX(static_cast<int>(pic.dpi / 0.0254));
        img.setDotsPerMeterY(static_cast<int>(pic.dpi / 0.0254));
        img.fill(Qt::white);
        {
            QPainter p(&img);
            paintInto(p, m, v, l, pic);
        }
        img.save(&buffer, "PNG");
        break;
    }
    case MapFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(pic.size);
        svg.setViewBox(QRect(QPoint(0, 0), pic.size));
        svg.setResolution(pic.dpi);
        svg.setTitle(title);
        QPainter p(&svg);
        paintInto(p, m, v, l, pic);
        break;
    }
    case MapFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator("Ovardix");
        pdf.setResolution(pic.dpi);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (pic.page != MapPage::None) {
            pdf.setPageSize(pageSizeOf(pic.page));
            pdf.setPageOrientation(pic.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        } else {
            pdf.setPageSize(
                QPageSize(QSizeF(pic.size) * 72.0 / pic.dpi, QPageSize::Point, QString(), QPageSize::ExactMatch));
        }
        QPainter p(&pdf);
        p.setWindow(QRect(QPoint(0, 0), pic.size));
        p.setViewport(QRect(QPoint(0, 0), QSize(pdf.width(), pdf.height())));
        paintInto(p, m, v, l, pic);
        break;
    }
    }
    return bytes;
}

std::optional<Problem> writeMapPicture(const std::string& path, const MapModel& m, const ViewTransform& v,
                                       const LayerSet& l, const MapPicture& pic)
{
    if (pic.format == MapFormat::Png &&
        static_cast<double>(pic.size.width()) * pic.size.height() > kMaxPngPixels)
        return Problem::error(cformat("Obrázek %d x %d pixelů by se nevešel do paměti (nejvýše %.0f milionů "
                                      "pixelů); zvolte menší stránku nebo rozlišení, nebo soubor SVG či PDF.",
                                      pic.size.width(), pic.size.height(), kMaxPngPixels / 1e6));
    QByteArray bytes = renderMapPicture(m, v, l, pic);
    AtomicOutput out;
    if (bytes.isEmpty() || !out.open(path) || !out.write(std::string_view(bytes.constData(), bytes.size())) ||
        !out.commit())
        return Problem::error("Mapu nelze zapsat do souboru " + path + "!");
    return std::nullopt;
}

namespace {

// What the map reads, then every other file of the study.
std::vector<NamedPath> mapInputRoles(const MapSettings& s, const std::string& projectFile)
{
    std::vector<NamedPath> roles{{"vstupní tabulka mapy", s.tablePath()},
                                 // a service is no file of the study
                                 {"podkladový rastr mapy", isBasemapService(s.background) ? "" : s.background},
                                 {"vstupní binární matice výškopisu", s.terrain},
                                 {"vstupní soubor se zdroji", s.sources},
                                 {"vstupní soubor s větrnou růžicí", s.windRose}};
    for (NamedPath& r : studyFileRoles(projectFile))
        roles.push_back(std::move(r));
    return roles;
}

}  // namespace

ToolStatus renderMapFile(const MapFileRequest& q, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    std::optional<MapFormat> format = mapFormatOf(q.output);
    if (!format) {
        Problem::error(unknownMapFormatText(q.output)).report(r);
        return ToolStatus::Failed;
    }
    if (!refuseSharedFiles(ctx, mapInputRoles(q.settings, ctx.projectFile), {{"výstupní soubor mapy", q.output}}))
        return ToolStatus::Failed;
    OutputLock lock;  // one run at a time writes the picture, as every other output
    if (auto stop = lock.claim(ctx, {q.output}))
        return *stop;
    std::unique_ptr<QGuiApplication> app = guiApplicationForDrawing();
    // A page's size is known before the study's extent; the background is read for the width.
    std::optional<MapPicture> page;
    if (q.page != MapPage::None)
        page = pagePicture(*format, q.page, q.landscape, q.dpi > 0 ? q.dpi : kPageDpi);
    const int width = page ? page->size.width() : q.width > 0 ? q.width : kDefaultWidth;
    Outcome<MapModel> model = buildMapModel(q.settings, r, width);
    if (!model) {
        model.problem().report(r);
        return ToolStatus::Failed;
    }
    for (const std::string& w : model->warnings)
        r.message(Severity::Warning, kCaptionWarning, w);
    if (r.cancelled())
        return ToolStatus::Declined;
    MapPicture pic;
    if (page) {
        pic = *page;
    } else {
        pic.format = *format;
        pic.dpi = q.dpi > 0 ? q.dpi : kScreenDpi;
        pic.size = QSize(width, pictureHeight(model->box, width));
    }
    const ViewTransform view = ViewTransform::fit(model->box, pic.size, pic.size.width() / 20);
    r.status(0, "Kreslím mapu do souboru " + q.output);
    if (std::optional<Problem> p = writeMapPicture(q.output, *model, view, layerSet(q.settings), pic)) {
        p->report(r);
        return ToolStatus::Failed;
    }
    r.status(0, "Mapa zapsána do souboru " + q.output);
    return ToolStatus::Done;
}

ToolStatus FileMapRenderer::render(const MapFileRequest& q, const RunContext& ctx) const
{
    return renderMapFile(q, ctx);
}

}  // namespace ovd
