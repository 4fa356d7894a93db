#include "spatial_reference.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "common/numbers.h"
#include "gdal_session.h"

namespace ovd {

Outcome<OGRSpatialReference> spatialReference(const std::string& definition)
{
    initGdal();
    GdalMessages messages;
    OGRSpatialReference srs;
    if (definition.empty() || srs.SetFromUserInput(definition.c_str()) != OGRERR_NONE)
        return Problem::error(withGdalDetail("Souřadnicový systém \"" + definition +
                                                 "\" není známý. Zadejte kód EPSG (například EPSG:5514) nebo "
                                                 "jinou definici, kterou zná knihovna GDAL.",
                                             messages));
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

Outcome<std::string> systemName(const std::string& definition)
{
    Outcome<OGRSpatialReference> srs = spatialReference(definition);
    if (!srs)
        return srs.problem();
    const char* name = srs->GetName();
    return std::string(name && *name ? name : definition);
}

Problem missingSystemProblem(const std::string& what)
{
    return Problem::error(what +
                          " potřebuje souřadnicový systém studie. Zadejte jej v dialogu \"Souřadnicový systém "
                          "studie…\" (menu Nástroje) nebo příkazem ovardix-cli set PROJEKT.ovd Global "
                          "SouradnicovySystem EPSG:5514.");
}

void PointExtent::add(double x, double y)
{
    if (empty) {
        xmin = xmax = x;
        ymin = ymax = y;
        empty = false;
        return;
    }
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
}

std::optional<Problem> areaOfUseProblem(const OGRSpatialReference& srs, const std::string& definition,
                                        const PointExtent& e)
{
    double west = 0, south = 0, east = 0, north = 0;
    const char* area = nullptr;
    if (e.empty || !srs.GetAreaOfUse(&west, &south, &east, &north, &area))
        return std::nullopt;
    constexpr double kMargin = 0.1;
    const OGRSpatialReference lonLat = wgs84();
    GdalMessages messages;  // a point that cannot be transformed is outside: no GDAL text for it
    std::unique_ptr<OGRCoordinateTransformation> toLonLat(OGRCreateCoordinateTransformation(&srs, &lonLat));
    bool inside = toLonLat != nullptr;
    const double xs[] = {e.xmin, e.xmax, (e.xmin + e.xmax) / 2}, ys[] = {e.ymin, e.ymax, (e.ymin + e.ymax) / 2};
    for (double x : xs)
        for (double y : ys) {
            double lon = x, lat = y;
            if (!inside || !toLonLat->Transform(1, &lon, &lat) || !std::isfinite(lon) || !std::isfinite(lat))
                inside = false;
            // An area across the 180th meridian has its west edge east of its east edge.
            const bool lonInside = west <= east ? lon >= west - kMargin && lon <= east + kMargin
                                                : lon >= west - kMargin || lon <= east + kMargin;
            inside = inside && lonInside && lat >= south - kMargin && lat <= north + kMargin;
        }
    if (inside)
        return std::nullopt;
    return Problem::error(cformat("Body studie leží mimo oblast použití souřadnicového systému %s (%s: zeměpisná "
                                  "délka %.2f° až %.2f°, šířka %.2f° až %.2f°).\nRozsah bodů v systému studie: X "
                                  "%.3f až %.3f, Y %.3f až %.3f. Zadejte systém, ve kterém jsou souřadnice bodů.",
                                  definition.c_str(), area && *area ? area : "?", west, east, south, north, e.xmin,
                                  e.xmax, e.ymin, e.ymax));
}

OGRSpatialReference wgs84()
{
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

}  // namespace ovd
