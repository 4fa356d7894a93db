#pragma once
// The isoline tool's files read back for the map: the segments of its PolyLine shapefile,
// each at the VALUE of its record in the table beside it.
#include <string>
#include <vector>

#include "common/outcome.h"
#include "geotools/isoline_tracing.h"

namespace ovd {

Outcome<std::vector<IsolineSegment>> readIsolineFile(const std::string& shp, const std::string& dbf);

}  // namespace ovd
