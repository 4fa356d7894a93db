#pragma once
// How the map's background source is given: a raster file, or a service GDAL's WMS driver
// reads (a tile URL template, a service description, a "WMS:"/"WMTS:" connection), and the
// description GDAL opens a service by, with the request limits and tile cache of this system.
#include <string>

namespace ovd {

enum class BasemapKind {
    File,          // any raster GDAL reads from a file
    TileTemplate,  // "http://host/{z}/{x}/{y}.png"; "{-y}" counts the rows from the south (TMS)
    Description,   // a GDAL WMS service description: its XML text or a file holding it
    Connection,    // "WMS:...", "WMTS:...", a GDAL WMTS description, "/vsicurl/..." or another URL GDAL opens
};

BasemapKind basemapKindOf(const std::string& source);

// What every service request is held to: a time-out of its own (seconds), how many requests
// run at once, and the folder the tiles are kept in (empty: none).
struct ServiceLimits {
    int timeoutSeconds = 5;
    int maxConnections = 4;
    std::string cacheFolder;
};

// The GDAL WMS description of a tile URL template: web Mercator tiles of 256 pixels, zoom 0 to
// 19, a missing tile (HTTP 404) left empty.
std::string tileTemplateDescription(const std::string& urlTemplate, const ServiceLimits&);

// A service description with the limits added where it sets none of its own (its own time-out,
// connections and cache folder stay); empty when the text is not a GDAL WMS description.
std::string limitedDescription(const std::string& description, const ServiceLimits&);

// The service description a file holds (its first 1 MiB), empty when it holds none.
std::string descriptionInFile(const std::string& path);

}  // namespace ovd
