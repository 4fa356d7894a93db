#pragma once
// The GDAL-backed GIS services of the core (common/gis_services.h).
#include "common/gis_services.h"

namespace ovd {

class GdalServices : public GisServices {
public:
    std::optional<Problem> checkSystem(const std::string& definition) const override;
    Outcome<std::string> prjText(const std::string& definition) const override;
    Outcome<std::string> mapInfoCoordSys(const std::string& definition) const override;
    Outcome<std::unique_ptr<HeightRaster>> openHeightRaster(const std::string& path,
                                                            const std::string& studySystem) const override;
    Outcome<PointSamples> sampleRaster(const std::string& path, const std::string& studySystem,
                                       std::span<const StudyPoint> points, bool bilinear) const override;
    Outcome<PointSamples> samplePolygons(const std::string& path, const std::string& column,
                                         const std::string& studySystem,
                                         std::span<const StudyPoint> points) const override;
};

// The services, GDAL set up on the first call; the programs hand them to their tools.
const GdalServices& gdalServices();

// The no-data value of a raster that marks none: missing cells of a resampled raster get it.
inline constexpr double kRasterDefaultNoData = -9999;

}  // namespace ovd
