#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "gis_export.h"

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
    // The DBF's name with its extension (the part after the last dot of the name) replaced.
    std::string name = fileNameOf(s.input);
    std::size_t dot = name.rfind('.');
    std::string base = dot == std::string::npos ? s.input : s.input.substr(0, s.input.size() - (name.size() - dot));
    return base + "." + std::string(gisFormatExtension(q.format));
}

std::optional<std::vector<double>> parseLevelList(std::string_view text)
{
    std::vector<double> levels;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(";,", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::optional<double> v = parseDouble(text.substr(start, end - start));
        if (!v)
            return std::nullopt;
        levels.push_back(*v);
        start = end + 1;
    }
    return levels;
}

}  // namespace ovd
