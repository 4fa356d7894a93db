#include "report_pictures.h"

#include "map/map_export.h"
#include "map/map_painter.h"

namespace ovd {

namespace {

QImage rendered(const MapModel& m, const LayerSet& layers, QSize size, int dpi)
{
    MapPicture pic;
    pic.format = MapFormat::Png;
    pic.size = size;
    pic.dpi = dpi;
    ViewTransform view = ViewTransform::fit(m.box, size, size.width() / 20);
    QByteArray png = renderMapPicture(m, view, layers, pic);
    return QImage::fromData(png, "PNG");
}

LayerSet only(std::initializer_list<MapLayer> shown)
{
    LayerSet l{};
    for (MapLayer layer : shown)
        l[static_cast<std::size_t>(layer)] = true;
    return l;
}

// The model without its values: the study's sources and terrain under a title of their own.
MapModel withoutValues(const MapModel& m, const std::string& study, const std::string& what)
{
    MapModel bare = m;
    bare.points.clear();
    bare.breaks = ClassBreaks{};
    bare.isolines = {};
    bare.isobands = {};
    bare.table = study;
    bare.column = what;
    bare.unit.clear();
    return bare;
}

}  // namespace

QImage valuesMap(const MapModel& m, const MapSettings& s)
{
    LayerSet layers = layerSet(s);
    layers[static_cast<std::size_t>(MapLayer::Points)] = true;
    layers[static_cast<std::size_t>(MapLayer::WindRose)] = false;  // a picture of its own
    return rendered(m, layers, QSize(kReportMapWidth, pictureHeight(m.box, kReportMapWidth)), 192);
}

QImage sourcesMap(const MapModel& values, const std::string& study)
{
    const MapModel m = withoutValues(values, study, "zdroje");
    return rendered(m, only({MapLayer::Terrain, MapLayer::Sources}),
                    QSize(kReportMapWidth, pictureHeight(m.box, kReportMapWidth)), 192);
}

QImage terrainMap(const MapModel& values, const std::string& study)
{
    if (values.hillshade.empty())
        return {};
    const MapModel m = withoutValues(values, study, "výškopis");
    return rendered(m, only({MapLayer::Terrain}), QSize(kReportMapWidth, pictureHeight(m.box, kReportMapWidth)), 192);
}

QImage windRosePicture(const MapModel& m)
{
    if (!m.windRose)
        return {};
    // The rose is a decoration in the map's bottom right corner, 36 units in radius in a frame
    // 24 units wider and 36 higher than its diameter, 10 units from the right edge and 32
    // from the bottom; drawn at three times the screen's size and cut out.
    constexpr int kSide = 1000, kDpi = 288;
    const double u = kDpi / 96.0, r = 36 * u;
    QImage whole = rendered(m, only({MapLayer::WindRose}), QSize(kSide, kSide), kDpi);
    const int w = static_cast<int>(2 * r + 24 * u) + 3, h = static_cast<int>(2 * r + 36 * u) + 3;
    const int x = static_cast<int>(kSide - 10 * u) - w + 2, y = static_cast<int>(kSide - 32 * u) - h + 2;
    return whole.copy(x, y, w, h);
}

}  // namespace ovd
