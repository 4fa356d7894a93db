#pragma once
// Terrain heights from any raster GDAL reads, resampled into the study's system when the
// raster's own differs.
#include <memory>
#include <string>

#include "common/gis_services.h"

namespace ovd {

// Band 1 of the raster. Refused: a file GDAL cannot read as a raster, one without a position,
// a rotated one, and cells that are not square once in the study's system.
Outcome<std::unique_ptr<HeightRaster>> openGdalHeightRaster(const std::string& path, const std::string& studySystem);

}  // namespace ovd
