#pragma once
// What the result map reads through GDAL, handed over without GDAL types: a background
// as plain pixels in the study's system (basemap_source.h), and the name of the study's system.
#include <cstdint>
#include <string>
#include <vector>

#include "common/outcome.h"

namespace ovd {

struct BackgroundPixels {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;  // the extent the pixels cover
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;  // width x height, row 0 the northernmost; 0 where nothing is
};

// "EPSG:5514 (S-JTSK / Krovak East North)"; the definition alone when GDAL does not know it.
std::string studySystemLabel(const std::string& definition);

}  // namespace ovd
