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

std::span<const Param<GisExportSettings>> GisExportSettings::params()
{
    using S = GisExportSettings;
    static const auto kParams = declare<S>({
        inSection(section::kDbfExport,
                  {key("VstDbf", &S::input), key("ZapisGis", &S::target), key("VystGis", &S::output),
                   key("SloupecGis", &S::column)}),
        inSection(section::kIsolines,
                  {key("VstDbf", &S::isolineInput).readOnly(), key("VystShp", &S::isolineShp).readOnly(),
                   key("TypIzolinie", &S::levelMode).readOnly(), key("SkalaOd", &S::scaleFrom).readOnly(),
                   key("SkalaKrok", &S::scaleStep).readOnly(), key("SeznamJmenHodnot", &S::nominalList).readOnly()}),
        inSection(
            section::kGlobal,
            {key("VstZdrojBodBin", &S::sources).readOnly(), key(kStudySystemKey, &S::coordinateSystem).readOnly()}),
    });
    return kParams;
}

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
