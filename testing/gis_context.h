#pragma once
// A run as the programs start it, with the GDAL services in its context (for the tests that
// link the GIS library).
#include "common/tool.h"
#include "gis/gdal_services.h"

namespace ovd {

inline RunContext gisContext(Reporter& r)
{
    RunContext c{r, true};
    c.gis = &gdalServices();
    return c;
}

}  // namespace ovd
