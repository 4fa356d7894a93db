#pragma once
// The isoline files: a PolyLine shapefile of the segments (box of the input points in the
// main headers) and a dBASE table ID_LINE, VALUE with no end-of-file byte. All three
// replace their targets only when all three are complete.
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "common/gis_services.h"
#include "common/reporter.h"
#include "isoline_tracing.h"

namespace ovd {

// The table's header and records as bytes.
std::string isolineTableBytes(const std::vector<IsolineSegment>&, DbfDate);

// With a coordinate system, a .prj joins the set. False after reporting the failure.
bool writeIsolineFiles(const std::string& shp, const std::string& shx, const std::string& dbf, const ShapeBox&,
                       const std::vector<IsolineSegment>&, const std::string& coordinateSystem, const GisServices*,
                       Reporter&);

}  // namespace ovd
