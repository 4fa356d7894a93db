#pragma once
// What the core asks of a GIS library without linking one: the study's coordinate system as
// the texts its files carry, and terrain heights from rasters. The programs hand the
// GDAL-backed services to their tools in the run context (RunContext::gis); without them a
// study with a coordinate system is refused and a raster is not terrain.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "outcome.h"
#include "parameters.h"

namespace ovd {

// The study's coordinate system: "Global" "SouradnicovySystem", an EPSG code or any
// definition the GIS library accepts; empty means the study has none.
struct StudySystemSettings {
    std::string definition;
    using Self = StudySystemSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};
inline constexpr std::string_view kStudySystemKey = "SouradnicovySystem";

// Where a raster's cells lie once it is in the study's system: square cells, the origin at
// the south-west corner, as in the binary terrain matrix.
struct RasterGeometry {
    std::int32_t ncols = 0, nrows = 0;
    double xOrigin = 0, yOrigin = 0, cellSize = 0;
    std::optional<double> noData;  // none when the raster marks no cell as missing
};

class HeightRaster {
public:
    virtual ~HeightRaster() = default;
    virtual const RasterGeometry& geometry() const = 0;
    // Fills `values` with row `row` (0 = northernmost), ncols values west to east.
    virtual std::optional<Problem> readRow(std::int32_t row, std::vector<double>& values) = 0;
};

// A point in the study's coordinate system.
struct StudyPoint {
    double x = 0, y = 0;
};

// What a layer gives at each point asked: its value, or none where the point lies outside the
// layer or on a cell (a polygon) without a value.
using PointSamples = std::vector<std::optional<double>>;

class GisServices {
public:
    virtual ~GisServices() = default;
    // Nullopt when the library knows the definition; else the problem naming it.
    virtual std::optional<Problem> checkSystem(const std::string& definition) const = 0;
    // The ESRI text of a shapefile's .prj.
    virtual Outcome<std::string> prjText(const std::string& definition) const = 0;
    // The MapInfo clause that follows "CoordSys ".
    virtual Outcome<std::string> mapInfoCoordSys(const std::string& definition) const = 0;
    // A raster the library reads, resampled (bilinear) into `studySystem` when its own
    // differs; taken as it is when the study has no system.
    virtual Outcome<std::unique_ptr<HeightRaster>> openHeightRaster(const std::string& path,
                                                                    const std::string& studySystem) const = 0;
    // The raster's first band at each point (given in `studySystem` and transformed point by
    // point into the raster's own system): the value of the cell that holds the point, or with
    // `bilinear` the bilinear interpolation between the centres of the four nearest cells. A
    // raster with a system of its own in a study without one is refused.
    virtual Outcome<PointSamples> sampleRaster(const std::string& path, const std::string& studySystem,
                                               std::span<const StudyPoint> points, bool bilinear) const = 0;
    // The numeric attribute `column` of the polygon of the layer (the file's first) that holds
    // each point; transformed and refused as a raster is.
    virtual Outcome<PointSamples> samplePolygons(const std::string& path, const std::string& column,
                                                 const std::string& studySystem,
                                                 std::span<const StudyPoint> points) const = 0;
};

// The problem of a study with a coordinate system in a program without the GIS library.
Problem noGisServicesProblem();
// The services' answers, or that problem when there are none (null).
std::optional<Problem> checkStudySystem(const GisServices*, const std::string& definition);
Outcome<std::string> studyPrjText(const GisServices*, const std::string& definition);
Outcome<std::string> studyMapInfoCoordSys(const GisServices*, const std::string& definition);

}  // namespace ovd
