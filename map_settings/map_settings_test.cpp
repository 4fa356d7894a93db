#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "map_request.h"
#include "map_settings.h"

namespace ovd {
namespace {

TEST(MapSettings, LayersDefaultToAllButTheBackgroundAndTheIsolineFile)
{
    const MapSettings defaults;
    for (std::size_t i = 0; i < kMapLayerCount; ++i) {
        const auto layer = static_cast<MapLayer>(i);
        EXPECT_EQ(defaults.layerShown(layer), layer != MapLayer::Background && layer != MapLayer::FileIsolines)
            << kMapLayerNames[i];
    }
}

TEST(MapSettings, LayersSwitchOneByOne)
{
    struct Case {
        std::vector<std::pair<MapLayer, bool>> switches;
        const char* layers;
    };
    const Case cases[] = {
        {{{MapLayer::Terrain, false}, {MapLayer::Background, true}}, "podklad;izopasma;izolinie;zdroje;body;ruzice"},
        {{{MapLayer::FileIsolines, true}, {MapLayer::Isolines, false}},
         "teren;izopasma;zdroje;body;ruzice;izolinie_soubor"},
        // nothing shown is written so that it does not read back as the default
        {{{MapLayer::Terrain, false},
          {MapLayer::Isobands, false},
          {MapLayer::Isolines, false},
          {MapLayer::Sources, false},
          {MapLayer::Points, false},
          {MapLayer::WindRose, false}},
         ";"},
    };
    for (const Case& c : cases) {
        MapSettings s;
        for (const auto& [layer, on] : c.switches)
            s.showLayer(layer, on);
        EXPECT_EQ(s.layers, c.layers);
        EXPECT_EQ(s.layerShown(MapLayer::Points), std::string(c.layers).find("body") != std::string::npos);
    }
    MapSettings typed;
    typed.layers = " body ; zdroje";
    EXPECT_TRUE(typed.layerShown(MapLayer::Sources));
    EXPECT_FALSE(typed.layerShown(MapLayer::Terrain));
}

TEST(MapSettings, LevelsChooseTheBreaks)
{
    MapSettings s;
    EXPECT_EQ(s.breakMode(), BreakMode::EqualSteps);
    s.levels = "50;10,5;20";  // as typed in the map window's levels field
    EXPECT_EQ(s.breakMode(), BreakMode::Levels);
    EXPECT_EQ(*s.levelList(), (std::vector<double>{10.5, 20, 50}));
    s.levels = "0,2;0,5;1";
    EXPECT_EQ(*s.levelList(), (std::vector<double>{0.2, 0.5, 1}));
    s.levels = "1,2,5";  // two commas are not one decimal
    EXPECT_FALSE(s.levelList());
    s.levels = "5;x";
    EXPECT_FALSE(s.levelList());
    s.levels = " limity ";
    s.limit1 = 40;
    s.limit3 = 25;
    EXPECT_EQ(s.breakMode(), BreakMode::Limits);
    EXPECT_EQ(s.limits(), (std::vector<double>{25, 40}));
    s.annualTable = "rocni.dbf";
    EXPECT_EQ(s.tablePath(), "rocni.dbf");
}

TEST(MapRequest, PagesByTheirNamesInAnyCase)
{
    EXPECT_EQ(mapPageOf("A4"), MapPage::A4);
    EXPECT_EQ(mapPageOf(" a3 "), MapPage::A3);
    EXPECT_EQ(mapPageOf("A5"), std::nullopt);
    EXPECT_EQ(mapPageOf(""), std::nullopt);
}

}  // namespace
}  // namespace ovd
