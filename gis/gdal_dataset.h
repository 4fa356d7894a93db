#pragma once
// GDAL datasets held by this library: closed when their owner goes, and a raster seen in the
// study's coordinate system.
#include <gdal_priv.h>

#include <functional>
#include <memory>
#include <string>

#include "common/outcome.h"

namespace ovd {

struct DatasetCloser {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

// A raster opened for reading and, where its own system differs from the study's, a warped
// view over it; `geo` is the view's geotransform (north-up or south-up, not rotated).
struct RasterView {
    DatasetPtr source;  // the warped view reads from it: declared first, closed last
    DatasetPtr warped;
    double geo[6] = {};
    GDALDataset* view() const { return warped ? warped.get() : source.get(); }
};

// How a raster is warped from its own system into the study's; null when it cannot be.
using RasterWarp =
    std::function<GDALDataset*(GDALDataset* source, const OGRSpatialReference& from, const OGRSpatialReference& to)>;

// Opens `path` as a raster with at least one band and a position, seen in `studySystem` (left
// in its own system when either is unknown). A failure's reason goes through `problem`, which
// names the file and the use; a study system GDAL does not know is its own problem.
Outcome<RasterView> openRasterView(const std::string& path, const std::string& studySystem, const RasterWarp& warp,
                                   const std::function<Problem(const std::string& why)>& problem);

}  // namespace ovd
