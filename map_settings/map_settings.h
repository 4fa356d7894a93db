#pragma once
// What the result map shows, kept in the project's section "Mapa": the table and column the
// points are coloured by, the class breaks and the layers that are switched on.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/parameters.h"

namespace ovd {

// FileIsolines: the isoline tool's lines (its output files) instead of or beside the map's own.
enum class MapLayer { Terrain, Background, Isobands, Isolines, Sources, Points, WindRose, FileIsolines };
inline constexpr std::size_t kMapLayerCount = 8;

// The layers by the names "Vrstvy" lists them with.
inline constexpr std::array<std::string_view, kMapLayerCount> kMapLayerNames = {
    "teren", "podklad", "izopasma", "izolinie", "zdroje", "body", "ruzice", "izolinie_soubor"};

// How the class breaks are chosen: equal steps over the values' range, the levels the user
// lists, or the limit concentrations of the annual computation.
enum class BreakMode { EqualSteps, Levels, Limits };

// "Urovne": empty for equal steps, "limity" for the limits, else the levels "1;2.5;5".
inline constexpr std::string_view kLimitsLevelsText = "limity";

// The tile cache's folder beside the project when "PodkladMezipamet" is empty.
inline constexpr std::string_view kBasemapCacheFolder = "mezipamet_podkladu";

struct MapSettings {
    std::string table;       // "Mapa" "VstDbf"; empty: the annual computation's output
    std::string column;      // "Mapa" "Sloupec"; empty: CONC_AVG, else the table's first value column
    std::string levels;      // "Mapa" "Urovne"
    std::string layers;      // "Mapa" "Vrstvy": the names of the layers shown, ";" between them
    std::string background;  // "Mapa" "VstRastr": any raster GDAL reads, or a tile or map service
    std::string basemapCache;   // "Mapa" "PodkladMezipamet": the folder of a service's tiles
    std::string basemapCredit;  // "Mapa" "PodkladPopis": the background's attribution, printed on the map
    // Read only, owned by other tools.
    std::string annualTable, terrain, sources, windRose, coordinateSystem;
    std::string isolineShp, isolineDbf;  // the isoline tool's output
    double limit1 = 0, limit2 = 0, limit3 = 0;

    using Self = MapSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code

    // The table to draw: the chosen one, else the annual computation's.
    std::string tablePath() const { return table.empty() ? annualTable : table; }
    BreakMode breakMode() const;
    // The chosen levels; nullopt when one is not a number.
    std::optional<std::vector<double>> levelList() const;
    // The limits that are used (not 0), ascending.
    std::vector<double> limits() const;
    // The folder a service's tiles are kept in: the chosen one, else kBasemapCacheFolder in the
    // project's folder (the folder a command works in).
    std::string basemapCacheFolder() const;
    bool layerShown(MapLayer) const;
    void showLayer(MapLayer, bool shown);
};

}  // namespace ovd
