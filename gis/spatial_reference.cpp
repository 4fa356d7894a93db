#include "spatial_reference.h"

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

OGRSpatialReference wgs84()
{
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

}  // namespace ovd
