#pragma once
// The steps of reading a background that touch GDAL's datasets: a first request to a
// service, a reduced view of a raster without overviews, and the warped view as pixels.
#include <gdal_priv.h>

#include <optional>
#include <utility>

#include "basemap_source.h"
#include "gdal_dataset.h"

namespace ovd {

// One pixel read at the view's centre and resolution: a service that does not answer fails
// here after one time-out rather than after one per tile. True when it answered (or when the
// centre lies outside the service's system, where no tile is asked for).
bool answersAtCentre(GDALDataset* service, const BasemapRequest&, Reporter&);

// GDAL's progress callback that stops a read once the reporter is cancelled.
int basemapKeepGoing(double, const char*, void* reporter);

// A raster without overviews that is much finer than the view, seen through a virtual raster
// with fewer cells, so that only the cells the view needs are read; null when it is not finer.
DatasetPtr decimatedView(GDALDataset* raster, const BasemapRequest&, const std::string& studyWkt);

// The range of a raster's single grey band of bytes (no palette), to stretch it over the
// greys: a grey study raster of small values (0 to 10) is otherwise drawn almost black. None
// for colour, paletted, other than byte or constant rasters.
std::optional<std::pair<double, double>> greyRange(GDALDataset* raster);

// The warped view's bands as pixels: one band grey (or its palette's colours), three or more
// red, green, blue, a last alpha band as alpha; bands of other than bytes stretched over
// their range, a grey band of bytes over `grey` when given. The problem says why the values
// cannot be read.
Outcome<BackgroundPixels> viewPixels(GDALDataset* view, const GDALColorTable* palette,
                                     std::optional<std::pair<double, double>> grey = std::nullopt);

}  // namespace ovd
