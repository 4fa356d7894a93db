#include "tiles/tile_manifest.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

TileManifest sample()
{
    TileManifest m;
    m.project = "studie.ovd";
    m.points = 250;
    m.perTile = 100;
    m.width = "avx2";
    m.signature = "0123456789abcdef";
    m.pointsHash = "fedcba9876543210";
    m.tiles = {{"001", 1, 100, "1111111111111111"},
               {"002", 101, 200, "2222222222222222"},
               {"003", 201, 250, "3333333333333333"}};
    return m;
}

TEST(TileManifest, ReadsBackWhatItWrites)
{
    Outcome<TileManifest> m = TileManifest::parse(sample().text(), "m.txt");
    ASSERT_TRUE(m.ok()) << m.problem().text;
    EXPECT_EQ(m->text(), sample().text());
    ASSERT_EQ(m->tiles.size(), 3u);
    EXPECT_EQ(m->tiles[2].firstPoint, 201);
    EXPECT_EQ(m->tiles[2].pointCount(), 50);
    EXPECT_EQ(m->width, "avx2");
}

TEST(TileManifest, RefusesEveryHandEdit)
{
    const std::string text = sample().text();
    // each change of one character, or a line added or dropped, is caught
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"101,200", "101,199"}, {"avx2", "sse2"}, {"Body=250", "Body=251"}, {"Dlazdice=003", "Dlazdice=004"}}) {
        std::string edited = text;
        edited.replace(edited.find(from), from.size(), to);
        Outcome<TileManifest> m = TileManifest::parse(edited, "m.txt");
        ASSERT_FALSE(m.ok()) << from;
        EXPECT_NE(m.problem().text.find("m.txt"), std::string::npos);
    }
    EXPECT_FALSE(TileManifest::parse(text.substr(0, text.size() - 1), "m.txt").ok());
    EXPECT_FALSE(TileManifest::parse("", "m.txt").ok());
}

TEST(TileManifest, RefusesRangesThatDoNotCoverThePointsInOrder)
{
    for (auto change : {+[](TileManifest& m) { m.tiles[1].firstPoint = 102; },  // a gap
                        +[](TileManifest& m) { m.points = 260; },               // points left out
                        +[](TileManifest& m) { m.perTile = 50; },               // a tile over the limit
                        +[](TileManifest& m) { m.tiles.clear(); }}) {
        TileManifest m = sample();
        change(m);
        EXPECT_FALSE(TileManifest::parse(m.text(), "m.txt").ok());  // checksum right, content wrong
    }
}

TEST(TileManifest, FolderBesideTheProjectAndTileNames)
{
    EXPECT_EQ(tilesFolderOf("/data/kraj.ovd"), "/data/kraj_dlazdice/");
    EXPECT_EQ(tilesFolderOf("kraj.ovd"), "kraj_dlazdice/");
    EXPECT_EQ(tileName(0, 7), "001");
    EXPECT_EQ(tileName(999, 1000), "1000");
    EXPECT_EQ(tileName(4, 1500), "0005");
}

}  // namespace
}  // namespace ovd
