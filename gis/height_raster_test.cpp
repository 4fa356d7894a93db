#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include "common/file_io.h"
#include "gdal_services.h"
#include "gdal_session.h"
#include "inputs/terrain_conversion.h"
#include "inputs/terrain_matrix.h"
#include "testing/gis_context.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A 4 x 3 terrain with one missing cell, as an ESRI text grid: lower-left corner, cell 10 m.
constexpr double kX0 = -600000, kY0 = -1130000, kCell = 10;
const double kHeights[3][4] = {{310, 312.5, 315, -9999}, {305, 307, 309, 311}, {300, 301, 302, 303.75}};

std::string esriGrid()
{
    std::string t = "ncols 4\nnrows 3\nxllcorner -600000\nyllcorner -1130000\ncellsize 10\nNODATA_value -9999\n";
    for (const auto& row : kHeights) {
        for (double v : row)
            t += std::to_string(v) + " ";
        t += "\n";
    }
    return t;
}

// The same terrain as a GeoTIFF of `type` in `epsg`, north row first.
void writeGeoTiff(const std::string& path, GDALDataType type, int epsg = 5514, bool southUp = false)
{
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), 4, 3, 1, type, nullptr);
    ASSERT_TRUE(ds);
    double gt[6] = {kX0, kCell, 0, kY0 + 3 * kCell, 0, -kCell};
    if (southUp) {
        gt[3] = kY0;
        gt[5] = kCell;
    }
    ds->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    ds->SetSpatialRef(&srs);
    GDALRasterBand* band = ds->GetRasterBand(1);
    band->SetNoDataValue(-9999);
    for (int r = 0; r < 3; ++r) {
        double row[4];
        for (int c = 0; c < 4; ++c)
            row[c] = kHeights[southUp ? 2 - r : r][c];
        ASSERT_EQ(band->RasterIO(GF_Write, 0, r, 4, 1, row, 4, 1, GDT_Float64, 0, 0, nullptr), CE_None);
    }
    GDALClose(ds);
}

class RasterTerrainTest : public ::testing::Test {
protected:
    void SetUp() override { initGdal(); }

    ToolStatus convert(const std::string& input, const std::string& output, TerrainElement e,
                       const std::string& system = "EPSG:5514")
    {
        TerrainSettings s{input, output, e, system};
        return convertTerrain(s, gisContext(r));
    }

    TempDir dir;
    RecordingReporter r;
};

TEST_F(RasterTerrainTest, GeoTiffGivesTheMatrixOfTheSameTextGrid)
{
    ASSERT_TRUE(writeFileAtomically(dir.path("grid.txt"), esriGrid()));
    for (TerrainElement e : {TerrainElement::Int16, TerrainElement::Int32, TerrainElement::Real}) {
        for (bool southUp : {false, true}) {
            writeGeoTiff(dir.path("grid.tif"), GDT_Float32, 5514, southUp);
            ASSERT_EQ(convert(dir.path("grid.txt"), dir.path("text.bin"), e), ToolStatus::Done);
            ASSERT_EQ(convert(dir.path("grid.tif"), dir.path("tif.bin"), e), ToolStatus::Done);
            std::string text = readFileBytes(dir.path("text.bin")).value_or("a");
            EXPECT_EQ(text, readFileBytes(dir.path("tif.bin")).value_or("b")) << static_cast<int>(e) << southUp;
            // The height lookup and the interpolation read the same cells.
            auto a = TerrainMatrix::open(dir.path("text.bin"));
            auto b = TerrainMatrix::open(dir.path("tif.bin"));
            ASSERT_TRUE(a && b);
            for (auto [x, y] : {std::pair{kX0 + 15, kY0 + 15}, {kX0 + 35, kY0 + 25}, {kX0 + 1, kY0 + 29}})
                for (bool interpolate : {false, true}) {
                    TerrainHeight ha = a->lookup(x, y, interpolate), hb = b->lookup(x, y, interpolate);
                    EXPECT_EQ(ha.height, hb.height);
                    EXPECT_EQ(ha.noData, hb.noData);
                }
        }
    }
    EXPECT_TRUE(r.messages.empty()) << r.messages.front().text;
}

TEST_F(RasterTerrainTest, RasterInAnotherSystemIsResampledIntoTheStudys)
{
    // A flat 250 m plain in UTM 33N around Prague, the study in the national grid.
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(dir.path("utm.tif").c_str(), 20, 20, 1,
                                                                               GDT_Int16, nullptr);
    ASSERT_TRUE(ds);
    double gt[6] = {458000, 50, 0, 5549000, 0, -50};
    ds->SetGeoTransform(gt);
    OGRSpatialReference utm;
    utm.importFromEPSG(32633);
    ds->SetSpatialRef(&utm);
    std::vector<std::int16_t> flat(400, 250);
    ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 20, 20, flat.data(), 20, 20, GDT_Int16, 0, 0, nullptr),
              CE_None);
    GDALClose(ds);
    ASSERT_EQ(convert(dir.path("utm.tif"), dir.path("t.bin"), TerrainElement::Int16), ToolStatus::Done);
    auto m = TerrainMatrix::open(dir.path("t.bin"));
    ASSERT_TRUE(m);
    const TerrainHeader& h = m->header();
    // Negative national-grid coordinates; the 1 km square, turned by the grids' convergence,
    // needs a slightly larger box.
    EXPECT_LT(h.xOrigin, -700000);
    EXPECT_GT(h.xOrigin, -800000);
    EXPECT_LT(h.yOrigin, -1000000);
    EXPECT_NEAR(h.ncols * h.cellSize, 1100, 100);
    // The middle is the plain; the corners of the rotated footprint lie outside it: no data.
    double cx = h.xOrigin + h.ncols * h.cellSize / 2, cy = h.yOrigin + h.nrows * h.cellSize / 2;
    EXPECT_EQ(m->lookup(cx, cy, true).height, 250);
    EXPECT_EQ(h.noData, -9999);
}

TEST_F(RasterTerrainTest, UnreadableRasterIsRefusedAndWritesNothing)
{
    ASSERT_TRUE(writeFileAtomically(dir.path("junk.tif"), std::string("II*\0garbage", 11)));
    ASSERT_TRUE(writeFileAtomically(dir.path("old.bin"), "previous"));
    EXPECT_EQ(convert(dir.path("junk.tif"), dir.path("old.bin"), TerrainElement::Int16), ToolStatus::Failed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].text.find("junk.tif nelze použít jako rastr s výškopisem"), std::string::npos)
        << r.messages[0].text;
    EXPECT_EQ(readFileBytes(dir.path("old.bin")), "previous");
}

TEST_F(RasterTerrainTest, TextKindsKeepTheirPathWhateverTheServices)
{
    // A misspelt first word is a raster to GDAL too: it cannot read it, and says so.
    EXPECT_TRUE(writeFileAtomically(dir.path("a.txt"), "\xEF\xBB\xBF  NCOLS 1\n"));
    File f(dir.path("a.txt"), "rb");
    EXPECT_TRUE(startsAsTextGrid(f.get()));
    for (const char* text : {"DSAA\r\n", "", "\n", "ncols\t4", "\tdsaa 3"}) {
        ASSERT_TRUE(writeFileAtomically(dir.path("b.txt"), text));
        File g(dir.path("b.txt"), "rb");
        EXPECT_TRUE(startsAsTextGrid(g.get())) << text;
    }
    for (const char* text : {"ncolsx 4\n", "II*", "nrows 3\nncols 4\n"}) {
        ASSERT_TRUE(writeFileAtomically(dir.path("c.txt"), text));
        File g(dir.path("c.txt"), "rb");
        EXPECT_FALSE(startsAsTextGrid(g.get())) << text;
        // The check rewinds: the reader that follows starts at the first byte.
        EXPECT_EQ(std::fgetc(g.get()), static_cast<unsigned char>(text[0]));
    }
}

}  // namespace
}  // namespace ovd
