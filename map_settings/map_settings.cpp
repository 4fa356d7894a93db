#include "map_settings.h"

#include <algorithm>

#include "common/gis_services.h"
#include "common/text.h"
#include "common/number_list.h"

namespace ovd {

namespace {

// What a project that never chose its layers shows: everything it has but a background.
constexpr std::string_view kDefaultLayers = "teren;izopasma;izolinie;zdroje;body;ruzice";

std::vector<std::string> splitLayers(std::string_view text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find(';', start), text.size());
        std::string name = trim(text.substr(start, end - start));
        if (!name.empty())
            names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

}  // namespace

const std::vector<Param<MapSettings>> MapSettings::kParams = declare<Self>({
    inSection(section::kMap,
              {key("VstDbf", &Self::table), key("Sloupec", &Self::column), key("Urovne", &Self::levels),
               key("Vrstvy", &Self::layers), key("VstRastr", &Self::background),
               key("PodkladMezipamet", &Self::basemapCache), key("PodkladPopis", &Self::basemapCredit)}),
    inSection(section::kAnnual,
              {key("VystDbf", &Self::annualTable).readOnly(), key("KoncDobyPrek1", &Self::limit1).readOnly(),
               key("KoncDobyPrek2", &Self::limit2).readOnly(), key("KoncDobyPrek3", &Self::limit3).readOnly()}),
    inSection(section::kGlobal,
              {key("VstVyskoBin", &Self::terrain).readOnly(), key("VstZdrojBodBin", &Self::sources).readOnly(),
               key("VstRuziceTxt", &Self::windRose).readOnly(),
               key(kStudySystemKey, &Self::coordinateSystem).readOnly()}),
    inSection(section::kIsolines,
              {key("VystShp", &Self::isolineShp).readOnly(), key("VystDbf", &Self::isolineDbf).readOnly()}),
});

BreakMode MapSettings::breakMode() const
{
    std::string t = trim(levels);
    if (t.empty())
        return BreakMode::EqualSteps;
    return t == kLimitsLevelsText ? BreakMode::Limits : BreakMode::Levels;
}

std::optional<std::vector<double>> MapSettings::levelList() const
{
    if (breakMode() != BreakMode::Levels)
        return std::vector<double>{};
    Outcome<std::vector<double>> list = parseNumberList(levels);
    if (!list)
        return std::nullopt;
    std::sort(list->begin(), list->end());
    return *list;
}

std::vector<double> MapSettings::limits() const
{
    std::vector<double> used;
    for (double l : {limit1, limit2, limit3})
        if (l > 0)
            used.push_back(l);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}

std::string MapSettings::basemapCacheFolder() const
{
    std::string chosen = trim(basemapCache);
    return chosen.empty() ? std::string(kBasemapCacheFolder) : chosen;
}

bool MapSettings::layerShown(MapLayer layer) const
{
    std::string_view name = kMapLayerNames[static_cast<std::size_t>(layer)];
    std::vector<std::string> names = splitLayers(layers.empty() ? kDefaultLayers : std::string_view(layers));
    return std::find(names.begin(), names.end(), name) != names.end();
}

void MapSettings::showLayer(MapLayer layer, bool shown)
{
    std::array<bool, kMapLayerCount> on{};
    for (std::size_t i = 0; i < kMapLayerCount; ++i)
        on[i] = layerShown(static_cast<MapLayer>(i));
    on[static_cast<std::size_t>(layer)] = shown;
    std::string text;
    for (std::size_t i = 0; i < kMapLayerCount; ++i)
        if (on[i])
            text += (text.empty() ? "" : ";") + std::string(kMapLayerNames[i]);
    // Nothing shown must not read back as the default set.
    layers = text.empty() ? ";" : text;
}

}  // namespace ovd
