#pragma once
// Display of a result table and its export to a point shapefile, a MapInfo interchange
// pair or a text file of chosen columns. Only live records are shown or exported.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/dbf_reader.h"
#include "common/outcome.h"
#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

enum class DbfExportTarget { Gis = 0, MapInfo = 1, Text = 2 };

struct DbfExportSettings {  // section "DbfExport"
    std::string input;
    int target = 0;  // a DbfExportTarget
    std::string shp, shx, mif, mid, txt;
    std::string coordinateSystem;  // "Global" "SouradnicovySystem": a .prj and the MIF's CoordSys
    // The keys of the project file, each declared once.
    using Self = DbfExportSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
    // The five outputs named after the input (its last three characters replaced);
    // nothing changes when the input is empty.
    void deriveOutputNames();
};

struct DbfDisplay {
    std::vector<std::string> columns;            // "#" and the ten-character field names
    std::vector<std::vector<std::string>> rows;  // running number, then the texts as stored
};
std::optional<DbfDisplay> showDbf(const std::string& path, Reporter&);

// A coordinate from its fixed-width text: integer positions with their place values (a
// blank is 0, a "-" anywhere makes it negative), the decimal point, then the decimals.
// A field without decimals has no point. Nullopt when another character appears.
std::optional<double> decodeFixedWidthNumber(std::string_view text, int decimals);

// "%02d .. " and the ten-character name, for choosing the columns of the text export.
std::vector<std::string> textExportLabels(const DbfTable&);

ToolStatus exportDbfToGis(const DbfExportSettings&, const RunContext&);
ToolStatus exportDbfToMapInfo(const DbfExportSettings&, const RunContext&);
// `columns` holds field numbers from 1; the fields go out in table order whatever the
// order given.
ToolStatus exportDbfToText(const DbfExportSettings&, std::span<const int> columns, const RunContext&);
// A shapefile's attributes are the .dbf of its own name: an export to a .shp whose folder
// and name (without the extension) differ from the table's would pair the points with
// another table. The problem, naming both, for such a shapefile export.
std::optional<Problem> shapefileTableProblem(const DbfExportSettings&);
// The export of settings.target.
// An output named after the table: its file name's extension (after the last dot of the
// name) replaced by `extension`, or `extension` added to a name without one.
std::string tableOutputName(const std::string& table, std::string_view extension);

ToolStatus exportDbf(const DbfExportSettings&, std::span<const int> columns, const RunContext&);

inline constexpr std::string_view kDbfCannotOpen = "Vstupní dbf soubor se nepodařilo otevřít !";

}  // namespace ovd
