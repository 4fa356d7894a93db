#include "gdal_services.h"

#include <cpl_conv.h>

#include "gdal_session.h"
#include "height_raster.h"
#include "spatial_reference.h"

namespace ovd {

namespace {

// Text GDAL allocated, freed on every path.
struct CplText {
    char* text = nullptr;
    ~CplText() { CPLFree(text); }
};

}  // namespace

std::optional<Problem> GdalServices::checkSystem(const std::string& definition) const
{
    Outcome<OGRSpatialReference> srs = spatialReference(definition);
    return srs ? std::nullopt : std::optional<Problem>(srs.problem());
}

Outcome<std::string> GdalServices::prjText(const std::string& definition) const
{
    Outcome<OGRSpatialReference> srs = spatialReference(definition);
    if (!srs)
        return srs.problem();
    GdalMessages messages;
    CplText wkt;
    const char* const options[] = {"FORMAT=WKT1_ESRI", nullptr};
    if (srs->exportToWkt(&wkt.text, options) != OGRERR_NONE || !wkt.text)
        return Problem::error(withGdalDetail(
            "Souřadnicový systém \"" + definition + "\" nelze zapsat do souboru PRJ vedle SHP souboru.", messages));
    return std::string(wkt.text);
}

Outcome<std::string> GdalServices::mapInfoCoordSys(const std::string& definition) const
{
    Outcome<OGRSpatialReference> srs = spatialReference(definition);
    if (!srs)
        return srs.problem();
    GdalMessages messages;
    CplText clause;
    if (srs->exportToMICoordSys(&clause.text) != OGRERR_NONE || !clause.text || !*clause.text)
        return Problem::error(withGdalDetail(
            "Souřadnicový systém \"" + definition + "\" nelze vyjádřit v hlavičce MIF souboru.", messages));
    return std::string(clause.text);
}

Outcome<std::unique_ptr<HeightRaster>> GdalServices::openHeightRaster(const std::string& path,
                                                                      const std::string& studySystem) const
{
    return openGdalHeightRaster(path, studySystem);
}

void registerGdalServices()
{
    initGdal();
    static const GdalServices services;
    setGisServices(&services);
}

}  // namespace ovd
