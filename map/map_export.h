#pragma once
// A view of the map as a PNG, SVG or PDF file, written only when complete; and the renderer
// of ovardix-cli map, which draws without a screen.
#include <QByteArray>
#include <QGuiApplication>
#include <QSize>
#include <memory>
#include <optional>
#include <string>

#include "map_painter.h"
#include "map_settings/map_request.h"

namespace ovd {

struct MapPicture {
    MapFormat format = MapFormat::Png;
    QSize size{1600, 1200};  // pixels; an SVG or PDF is as large printed at `dpi`
    int dpi = 96;
    MapPage page = MapPage::None;  // a PDF of a page is that page
    bool landscape = false;
};

// A PNG is drawn in memory whole: no larger than this (an A3 page at 600 DPI is 70 million).
inline constexpr double kMaxPngPixels = 150e6;

// A picture that fills the page at the resolution.
MapPicture pagePicture(MapFormat, MapPage, bool landscape, int dpi);

// The view a picture is drawn with: the part of the study `v` shows, fitted into the
// picture's data frame.
ViewTransform pictureView(const MapModel&, const ViewTransform& v, const LayerSet&, const MapPicture&);
// The picture's bytes: the view's part of the study in its data frame, with every decoration.
QByteArray renderMapPicture(const MapModel&, const ViewTransform&, const LayerSet&, const MapPicture&);
// Renders and writes through a temporary file; the problem names the file.
std::optional<Problem> writeMapPicture(const std::string& path, const MapModel&, const ViewTransform&, const LayerSet&,
                                       const MapPicture&);

// Qt draws text only with an application: a run without one (ovardix-cli) gets one on the
// offscreen platform for as long as it keeps the result (none when the program has its own).
std::unique_ptr<QGuiApplication> guiApplicationForDrawing();

// The height that suits a study box at this width: its aspect, kept between 3:5 and 7:5.
int pictureHeight(const StudyBox&, int width);

// ovardix-cli map: creates the offscreen application it needs when there is none.
ToolStatus renderMapFile(const MapFileRequest&, const RunContext&);
// renderMapFile as the renderer a program hands its tools (app/tool_registry.h Services).
class FileMapRenderer : public MapRenderer {
public:
    ToolStatus render(const MapFileRequest&, const RunContext&) const override;
};

}  // namespace ovd
