#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/reporter_wrapper.h"
#include "geotools/isoline_output.h"
#include "isoline_file.h"
#include "map_layers.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

TEST(IsolineFileTest, TheToolsFilesReadBackAsItsSegmentsAndTheirLevels)
{
    TempDir dir;
    const std::vector<IsolineSegment> written = {
        {-748000.5, -1043000.25, -747990, -1043010, 5}, {-747990, -1043010, -747980, -1043000, 5},
        {-747000, -1042000, -746900, -1042100, 15.5}};
    NullReporter r;
    ASSERT_TRUE(writeIsolineFiles(dir.path("i.shp"), dir.path("i.shx"), dir.path("i.dbf"),
                                  ShapeBox{-748001, -1043011, -746899, -1041999}, written, "", nullptr, r));
    Outcome<std::vector<IsolineSegment>> read = readIsolineFile(dir.path("i.shp"), dir.path("i.dbf"));
    ASSERT_TRUE(read) << read.problem().text;
    ASSERT_EQ(read->size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ((*read)[i].x1, written[i].x1);
        EXPECT_EQ((*read)[i].y2, written[i].y2);
        EXPECT_EQ((*read)[i].level, written[i].level);
    }
    // The two segments of level 5 that meet make one line of three points.
    const std::vector<MapIsolines::Chain> chains = levelChains(*read);
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_EQ(chains[0].points.size(), 3u);

    // A cut-short shapefile and a table without values are refused with their names.
    std::string bytes = *readFileBytes(dir.path("i.shp"));
    ASSERT_TRUE(writeFileAtomically(dir.path("cut.shp"), bytes.substr(0, bytes.size() - 10)));
    Outcome<std::vector<IsolineSegment>> cut = readIsolineFile(dir.path("cut.shp"), dir.path("i.dbf"));
    ASSERT_FALSE(cut);
    EXPECT_NE(cut.problem().text.find("cut.shp"), std::string::npos);
    EXPECT_FALSE(readIsolineFile(dir.path("i.shp"), dir.path("neni.dbf")));
}

// Every cut and many changed bytes of a real file: decoded or refused, never read past its end
// (the sanitizer build watches the reads).
TEST(IsolineFileTest, DamagedShapefilesAreRefusedOrReadWithinTheirBytes)
{
    TempDir dir;
    std::vector<IsolineSegment> lines;
    for (int i = 0; i < 6; ++i)
        lines.push_back({i * 10.0, 0, i * 10.0 + 5, 5, 1.0 + i});
    NullReporter r;
    ASSERT_TRUE(writeIsolineFiles(dir.path("i.shp"), dir.path("i.shx"), dir.path("i.dbf"), ShapeBox{0, 0, 60, 5}, lines,
                                  "", nullptr, r));
    const std::string bytes = *readFileBytes(dir.path("i.shp"));
    const std::vector<double> values(lines.size(), 1.0);
    ASSERT_TRUE(decodeIsolineShapes(bytes, values));
    EXPECT_FALSE(decodeIsolineShapes(bytes, std::vector<double>(lines.size() - 1, 1.0)));  // a record without value
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        std::optional<std::vector<IsolineSegment>> got = decodeIsolineShapes(bytes.substr(0, cut), values);
        if (cut < 100) {
            EXPECT_FALSE(got) << cut;
        } else if (got) {
            EXPECT_LE(got->size(), lines.size()) << cut;
        }
    }
    std::uint32_t seed = 5;
    for (int round = 0; round < 3000; ++round) {
        std::string changed = bytes;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 1664525u + 1013904223u;
            changed[100 + seed % (changed.size() - 100)] = static_cast<char>(seed >> 24);
        }
        decodeIsolineShapes(changed, values);
    }
}

}  // namespace
}  // namespace ovd
