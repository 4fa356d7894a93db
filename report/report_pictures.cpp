#include "report_pictures.h"

#include "map/map_export.h"
#include "map/map_layout.h"
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
    bare.bands = {};
    bare.latticeValues = {};
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
    if (values.sources.empty())
        return {};
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
    // The rose is drawn in the map's margin, where the map's layout puts it; drawn at three
    // times the screen's size and cut out.
    constexpr int kSide = 1000, kDpi = 288;
    const LayerSet layers = only({MapLayer::WindRose});
    const MapLayout l = mapLayout(QSizeF(kSide, kSide), m, layers, kDpi / static_cast<double>(kScreenDpi));
    if (l.rose.isEmpty())
        return {};
    QImage whole = rendered(m, layers, QSize(kSide, kSide), kDpi);
    return whole.copy(l.rose.toAlignedRect().adjusted(-2, -2, 2, 2));
}

}  // namespace ovd
