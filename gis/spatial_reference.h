#pragma once
// The study's coordinate system as GDAL knows it.
#include <ogr_spatialref.h>

#include <optional>
#include <string>

#include "common/outcome.h"

namespace ovd {

// The system of a definition ("EPSG:5514", WKT, PROJ text ...), X east and Y north whatever
// the authority's axis order; the problem names the definition GDAL does not know.
Outcome<OGRSpatialReference> spatialReference(const std::string& definition);

// GDAL's name of the system ("S-JTSK / Krovak East North"), for the user to see what a
// definition means.
Outcome<std::string> systemName(const std::string& definition);

// The problem of an export that needs a coordinate system in a study without one.
Problem missingSystemProblem(const std::string& what);

// WGS 84 longitude, latitude: what GeoJSON and KML hold.
OGRSpatialReference wgs84();

// The points' extent in the study's system.
struct PointExtent {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    bool empty = true;
    void add(double x, double y);
};

// Points outside the area of use of their system (Krovak coordinates in a study set to
// EPSG:4326) land on the wrong continent when transformed: the problem naming the system's
// area and the points' extent, or nullopt when they lie inside (a margin of a tenth of a
// degree is allowed), when there are none or when GDAL knows no area for the system.
std::optional<Problem> areaOfUseProblem(const OGRSpatialReference&, const std::string& definition,
                                        const PointExtent&);

}  // namespace ovd
