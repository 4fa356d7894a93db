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

namespace {

// The system as text of another program's form; `cannot` completes the message when GDAL
// cannot express it so.
template <class Export>
Outcome<std::string> systemText(const std::string& definition, std::string_view cannot, Export exportText)
{
    Outcome<OGRSpatialReference> srs = spatialReference(definition);
    if (!srs)
        return srs.problem();
    GdalMessages messages;
    CplText text;
    if (exportText(*srs, &text.text) != OGRERR_NONE || !text.text || !*text.text)
        return Problem::error(
            withGdalDetail("Souřadnicový systém \"" + definition + "\" " + std::string(cannot), messages));
    return std::string(text.text);
}

}  // namespace

Outcome<std::string> GdalServices::prjText(const std::string& definition) const
{
    return systemText(definition, "nelze zapsat do souboru PRJ vedle SHP souboru.",
                      [](const OGRSpatialReference& srs, char** text) {
                          const char* const options[] = {"FORMAT=WKT1_ESRI", nullptr};
                          return srs.exportToWkt(text, options);
                      });
}

Outcome<std::string> GdalServices::mapInfoCoordSys(const std::string& definition) const
{
    return systemText(definition, "nelze vyjádřit v hlavičce MIF souboru.",
                      [](const OGRSpatialReference& srs, char** text) { return srs.exportToMICoordSys(text); });
}

Outcome<std::unique_ptr<HeightRaster>> GdalServices::openHeightRaster(const std::string& path,
                                                                      const std::string& studySystem) const
{
    return openGdalHeightRaster(path, studySystem);
}

const GdalServices& gdalServices()
{
    static const GdalServices services = [] {
        initGdal();
        return GdalServices();
    }();
    return services;
}

}  // namespace ovd
