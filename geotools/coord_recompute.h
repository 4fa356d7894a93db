#pragma once
// Recomputing the coordinates of a reference-point or source coordinates file, and of the
// line-source end points of a description file, through the coordinate conversion table.
#include <optional>
#include <string>
#include <string_view>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

struct CoordRecomputeSettings {
    std::string coordinates;        // "PrepocetSouradnic" "VstSourad"
    std::string description;        // "VstPopis"
    std::string coordinatesOutput;  // "VystSourad"
    std::string descriptionOutput;  // "VystPopis"
    std::string table;              // "VstBinSourad"
    bool degrees = false;           // "DesetinyMinuty": 1 = degrees/minutes/seconds "49/12/30.5"
    bool withDescription = false;   // "TypSouboru": 1 = coordinates and description files
    bool overwrite = false;         // "PrepsatSoubor": replace the input files
    // The keys of the project file, each declared once.
    using Self = CoordRecomputeSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// "d/m/s" as decimal degrees; the sign of the degrees applies to the whole value.
std::optional<double> parseDegrees(std::string_view text);

// Coordinate lines become "number, X, Y, " and the rest of the line after its third comma;
// description lines of line sources get values 2 to 5 recomputed, other lines are copied.
// A record outside the table is left out together with its description line, and both are
// listed in the log "prub_sou.tmp" beside the coordinates output. Outputs appear only when
// both are complete.
ToolStatus recomputeCoordinates(const CoordRecomputeSettings&, const RunContext&);

}  // namespace ovd
