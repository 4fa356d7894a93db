#include "gis_export_settings.h"

#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "geotools/dbf_export.h"

namespace ovd {

namespace {

struct FormatName {
    GisFormat format;
    std::string_view name, extension;
};
constexpr FormatName kFormats[] = {
    {GisFormat::GeoPackage, "gpkg", "gpkg"}, {GisFormat::GeoJson, "geojson", "geojson"}, {GisFormat::Kml, "kml", "kml"},
    {GisFormat::Csv, "csv", "csv"},          {GisFormat::GeoTiff, "tif", "tif"},
};
}  // namespace

const std::vector<Param<GisExportSettings>> GisExportSettings::kParams = declare<Self>({
    inSection(section::kDbfExport,
              {key("VstDbf", &Self::input), key("ZapisGis", &Self::target), key("VystGis", &Self::output),
               key("SloupecGis", &Self::column)}),
    inSection(section::kIsolines,
              {key("VstDbf", &Self::isolineInput).readOnly(), key("VystShp", &Self::isolineShp).readOnly(),
               key("TypIzolinie", &Self::levelMode).readOnly(), key("SkalaOd", &Self::scaleFrom).readOnly(),
               key("SkalaKrok", &Self::scaleStep).readOnly(), key("SeznamJmenHodnot", &Self::nominalList).readOnly()}),
    inSection(
        section::kGlobal,
        {key("VstZdrojBodBin", &Self::sources).readOnly(), key(kStudySystemKey, &Self::coordinateSystem).readOnly()}),
});

std::optional<GisFormat> parseGisFormat(std::string_view name)
{
    for (const FormatName& f : kFormats)
        if (f.name == name)
            return f.format;
    return std::nullopt;
}

std::string_view gisFormatExtension(GisFormat format)
{
    for (const FormatName& f : kFormats)
        if (f.format == format)
            return f.extension;
    return {};
}

std::optional<GisFormat> gisFormatOfTarget(int target)
{
    int i = target - kFirstGisTarget;
    if (i < 0 || i >= static_cast<int>(std::size(kFormats)))
        return std::nullopt;
    return kFormats[i].format;
}

std::string gisOutputPath(const GisExportSettings& s, const GisExportRequest& q)
{
    if (!q.output.empty())
        return q.output;
    if (!s.output.empty())
        return s.output;
    if (s.input.empty())
        return {};
    return tableOutputName(s.input, gisFormatExtension(q.format));
}

}  // namespace ovd
