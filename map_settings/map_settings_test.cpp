#include <gtest/gtest.h>

#include "map_request.h"
#include "map_settings.h"

namespace ovd {
namespace {

TEST(MapSettings, LayersDefaultToAllButTheBackgroundAndSwitchOneByOne)
{
    MapSettings s;
    EXPECT_TRUE(s.layerShown(MapLayer::Points));
    EXPECT_FALSE(s.layerShown(MapLayer::Background));
    s.showLayer(MapLayer::Terrain, false);
    s.showLayer(MapLayer::Background, true);
    EXPECT_EQ(s.layers, "podklad;izopasma;izolinie;zdroje;body;ruzice");
    for (MapLayer l : {MapLayer::Background, MapLayer::Isobands, MapLayer::Isolines, MapLayer::Sources,
                       MapLayer::Points, MapLayer::WindRose})
        s.showLayer(l, false);
    EXPECT_FALSE(s.layerShown(MapLayer::Points));  // nothing shown stays nothing, not the default
    s.layers = " body ; zdroje";
    EXPECT_TRUE(s.layerShown(MapLayer::Sources));
    EXPECT_FALSE(s.layerShown(MapLayer::Terrain));
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

TEST(MapSettings, TheIsolineFileLayerIsOffUnlessChosen)
{
    MapSettings s;
    EXPECT_TRUE(s.layerShown(MapLayer::Isolines));
    EXPECT_FALSE(s.layerShown(MapLayer::FileIsolines));
    s.showLayer(MapLayer::FileIsolines, true);
    s.showLayer(MapLayer::Isolines, false);
    EXPECT_EQ(s.layers, "teren;izopasma;zdroje;body;ruzice;izolinie_soubor");
}

}  // namespace
}  // namespace ovd
