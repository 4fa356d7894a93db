#pragma once
// What an export to the GIS world reads from the project and is asked for: the formats, their
// "ZapisGis" values and the settings. Plain C++, so that a program built without the GIS
// library still knows the keys and the commands; the export itself is gis/gis_export.h.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/parameters.h"

namespace ovd {

enum class GisFormat { GeoPackage, GeoJson, Kml, Csv, GeoTiff };

// "gpkg", "geojson", "kml", "csv", "tif".
std::optional<GisFormat> parseGisFormat(std::string_view);
std::string_view gisFormatExtension(GisFormat);
// The DbfExport "ZapisGis" values of the formats follow the three older targets: 3 to 7.
inline constexpr int kFirstGisTarget = 3;
std::optional<GisFormat> gisFormatOfTarget(int target);

struct GisExportSettings {
    std::string input;   // "DbfExport" "VstDbf"
    int target = 0;      // "DbfExport" "ZapisGis"
    std::string output;  // "DbfExport" "VystGis": empty gives the DBF's name with the format's extension
    std::string column;  // "DbfExport" "SloupecGis": the column of the GeoTIFF and of the isobands
    // Read only, owned by other tools: the isolines made from the same table, their levels,
    // the sources, the study's coordinate system.
    std::string isolineInput, isolineShp;
    int levelMode = 0;
    double scaleFrom = 0, scaleStep = 0;
    std::string nominalList;
    std::string sources;
    std::string coordinateSystem;

    using Self = GisExportSettings;

    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

struct GisExportRequest {
    GisFormat format = GisFormat::GeoPackage;
    std::string output = {};  // empty: the settings' output, else the DBF's name with the extension
    std::string column = {};  // empty: the settings' column
    std::optional<std::vector<double>> levels = {};  // none: the isoline tool's levels
    // A usage error of the command line that is reported only once the output has passed the
    // checks every output passes (an output that is an input is refused as such first); it
    // is handed back through `usageError`.
    std::string deferredUsage = {};
    std::string* usageError = nullptr;
};

// The output a request writes.
std::string gisOutputPath(const GisExportSettings&, const GisExportRequest&);

}  // namespace ovd
