#include "gis_commands.h"

#include "geotools/dbf_export.h"
#include "common/paths.h"
#include "common/text.h"
#include "geotools/gis_export_settings.h"
#ifdef OVD_WITH_GIS
#include "gis/gis_export.h"
#endif

namespace ovd {

bool isGisTarget(int target)
{
    return gisFormatOfTarget(target).has_value();
}

namespace {

// The output's extension is the format's ("x.tiff" for tif and "x.json" for geojson too).
bool extensionFits(const std::string& path, GisFormat format)
{
    const std::string name = toLowerAscii(fileNameOf(path));
    auto ends = [&](std::string_view e) { return name.size() > e.size() + 1 && name.ends_with("." + std::string(e)); };
    return ends(gisFormatExtension(format)) || (format == GisFormat::GeoTiff && ends("tiff")) ||
           (format == GisFormat::GeoJson && ends("json"));
}

// The options' levels without a column of values; empty when they have one.
std::string refusedLevels(const CommandArgs& o, const GisExportSettings& s, const GisExportRequest& q)
{
    if (o.has("--levels") && q.column.empty() && s.column.empty())
        return "volba --levels potřebuje sloupec hodnot izopásem (volba --column SLOUPEC)";
    return {};
}

// An output whose extension is not the format's; empty when it fits.
std::string refusedExtension(const CommandArgs& o, const GisExportSettings& s, const GisExportRequest& q)
{
    const std::string out = gisOutputPath(s, q);
    if ((o.has("--format") || o.has("--out")) && !out.empty() && !extensionFits(out, q.format))
        return "výstup " + out + " nemá příponu ." + std::string(gisFormatExtension(q.format)) + " formátu " +
               std::string(gisFormatExtension(q.format));
    return {};
}

// The export itself, which only a program built with the GIS library can make.
ToolStatus exportOrRefuse(const GisExportSettings& s, const GisExportRequest& q, const RunContext& ctx)
{
#ifdef OVD_WITH_GIS
    return exportGis(s, q, ctx);
#else
    (void)s, (void)q;
    Problem::error(std::string(kNoGisLibraryText)).report(ctx.reporter);
    return ToolStatus::Failed;
#endif
}

}  // namespace

ToolStatus runGisExport(ToolCall& call)
{
    const CommandArgs& o = call.options;
    GisExportSettings s = loadSettings<GisExportSettings>(*call.project);
    GisExportRequest q;
    std::optional<GisFormat> format = gisFormatOfTarget(s.target);
    if (std::optional<std::string> name = o.text("--format"))
        format = parseGisFormat(*name);
    if (!format)
        return call.refuseUsage("chybí volba --format gpkg|geojson|kml|csv|tif");
    q.format = *format;
    q.column = o.text("--column").value_or("");
    q.output = o.text("--out").value_or("");
    q.levels = o.numbers("--levels");
    call.usageError = refusedLevels(o, s, q);
    if (!call.usageError.empty())
        return ToolStatus::Failed;
    q.deferredUsage = refusedExtension(o, s, q);
    q.usageError = &call.usageError;
    return exportOrRefuse(s, q, call.context);
}

ToolStatus runGisTarget(ToolCall& call)
{
    GisExportSettings s = loadSettings<GisExportSettings>(*call.project);
    GisExportRequest q;
    q.format = *gisFormatOfTarget(s.target);
    return exportOrRefuse(s, q, call.context);
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
