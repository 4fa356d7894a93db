#pragma once
// The study's coordinate system as GDAL knows it.
#include <ogr_spatialref.h>

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

}  // namespace ovd
