#pragma once
// A result table out to the GIS world: a GeoPackage of the study (points with every result
// field, the isolines, the sources, isobands of one column), GeoJSON and KML in WGS 84, CSV
// with coordinates, and a GeoTIFF of one column when the points form a regular lattice.
#include "common/tool.h"
#include "geotools/gis_export_settings.h"

namespace ovd {

ToolStatus exportGis(const GisExportSettings&, const GisExportRequest&, const RunContext&);

}  // namespace ovd
