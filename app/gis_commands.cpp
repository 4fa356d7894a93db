#include "gis_commands.h"

#include "geotools/dbf_export.h"
#include "gis/gis_export.h"

namespace ovd {

namespace {

constexpr const char* kUsage =
    "příkaz gis-export přijímá volby --format gpkg|geojson|kml|csv|tif, --column SLOUPEC, --levels HODNOTY "
    "(například 1;2;5) a --out SOUBOR";

// "--name value" or "--name=value"; false when an argument is not one of the options.
bool parseOptions(const std::vector<std::string>& args, std::vector<std::pair<std::string, std::string>>& out)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0)
            return false;
        std::size_t eq = a.find('=');
        if (eq != std::string::npos) {
            out.emplace_back(a.substr(0, eq), a.substr(eq + 1));
        } else {
            if (i + 1 >= args.size())
                return false;
            out.emplace_back(a, args[++i]);
        }
    }
    return true;
}

}  // namespace

bool isGisTarget(int target)
{
    return gisFormatOfTarget(target).has_value();
}

ToolStatus runGisExport(ToolCall& call)
{
    std::vector<std::pair<std::string, std::string>> options;
    if (!parseOptions(call.args, options)) {
        call.usageError = kUsage;
        return ToolStatus::Failed;
    }
    GisExportSettings s = loadSettings<GisExportSettings>(*call.project);
    GisExportRequest q;
    std::optional<GisFormat> format = gisFormatOfTarget(s.target);
    for (const auto& [name, value] : options) {
        if (name == "--format") {
            format = parseGisFormat(value);
            if (!format) {
                call.usageError = "neznámý formát " + value + " (platí gpkg, geojson, kml, csv, tif)";
                return ToolStatus::Failed;
            }
        } else if (name == "--column") {
            q.column = value;
        } else if (name == "--out") {
            q.output = value;
        } else if (name == "--levels") {
            q.levels = parseLevelList(value);
            if (!q.levels) {
                call.usageError = "volba --levels potřebuje čísla oddělená středníkem (například 1;2;5)";
                return ToolStatus::Failed;
            }
        } else {
            call.usageError = kUsage;
            return ToolStatus::Failed;
        }
    }
    if (!format) {
        call.usageError = "chybí volba --format gpkg|geojson|kml|csv|tif";
        return ToolStatus::Failed;
    }
    q.format = *format;
    return exportGis(s, q, call.context);
}

ToolStatus runGisTarget(ToolCall& call)
{
    GisExportSettings s = loadSettings<GisExportSettings>(*call.project);
    GisExportRequest q;
    q.format = *gisFormatOfTarget(s.target);
    return exportGis(s, q, call.context);
}

std::vector<ParamInfo> dbfExportParams()
{
    std::vector<ParamInfo> all = paramInfos<DbfExportSettings>();
    for (const ParamInfo& p : paramInfos<GisExportSettings>()) {
        bool known = false;
        for (const ParamInfo& q : all)
            known = known || (q.section == p.section && q.key == p.key);
        if (!known)
            all.push_back(p);
    }
    return all;
}

}  // namespace ovd
