#pragma once
// The isoline tool's files read back for the map: the segments of its PolyLine shapefile,
// each at the VALUE of its record in the table beside it.
#include <optional>
#include <string>
#include <vector>

#include "common/outcome.h"
#include "geotools/isoline_tracing.h"

namespace ovd {

Outcome<std::vector<IsolineSegment>> readIsolineFile(const std::string& shp, const std::string& dbf);

// The segments of a shapefile's bytes, record i at values[i]; none when the bytes are not a
// whole shapefile of lines or hold more records than values.
std::optional<std::vector<IsolineSegment>> decodeIsolineShapes(const std::string& shp,
                                                               const std::vector<double>& values);

}  // namespace ovd
