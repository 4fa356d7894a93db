#include <gdal_priv.h>
#include <gtest/gtest.h>

#include "gdal_session.h"
#include "map_inputs.h"
#include "spatial_reference.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// A GeoTIFF of `bands` bands, 4 x 2 cells of 10 m from (-700000, -1000000), band b holding
// the value row * 100 + col * 10 + b in every cell.
std::string writeRaster(const TempDir& dir, int bands, GDALDataType type, double yStep = -10)
{
    initGdal();
    std::string path = dir.path("podklad.tif");
    GDALDriver* tiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* d = tiff->Create(path.c_str(), 4, 2, bands, type, nullptr);
    double gt[6] = {-700000, 10, 0, yStep < 0 ? -999980.0 : -1000000.0, 0, yStep};
    d->SetGeoTransform(gt);
    OGRSpatialReference srs = *spatialReference("EPSG:5514");
    d->SetSpatialRef(&srs);
    for (int b = 1; b <= bands; ++b) {
        double values[8];
        for (int i = 0; i < 8; ++i)
            values[i] = (i / 4) * 100 + (i % 4) * 10 + b;
        EXPECT_EQ(d->GetRasterBand(b)->RasterIO(GF_Write, 0, 0, 4, 2, values, 4, 2, GDT_Float64, 0, 0, nullptr), CE_None);
    }
    GDALClose(d);
    return path;
}

TEST(BackgroundRaster, ColourBandsKeepTheirPixelsAndExtentNorthUp)
{
    TempDir dir;
    for (double yStep : {-10.0, 10.0}) {  // rows stored north first, then south first
        Outcome<BackgroundPixels> p = readBackgroundRaster(writeRaster(dir, 3, GDT_Byte, yStep), "EPSG:5514", 100);
        ASSERT_TRUE(p) << p.problem().text;
        EXPECT_EQ(p->width, 4);
        EXPECT_EQ(p->height, 2);
        EXPECT_DOUBLE_EQ(p->xmin, -700000);
        EXPECT_DOUBLE_EQ(p->xmax, -699960);
        EXPECT_DOUBLE_EQ(p->ymin, -1000000);
        EXPECT_DOUBLE_EQ(p->ymax, -999980);
        // File row 0 is the north one when the step is negative, the south one otherwise.
        int northRow = yStep < 0 ? 0 : 1;
        std::uint32_t r = northRow * 100 + 2 * 10 + 1;
        EXPECT_EQ(p->argb[2], 0xFF000000u | r << 16 | (r + 1) << 8 | (r + 2));
    }
}

TEST(BackgroundRaster, OneBandIsGreyStretchedAndLargeRastersAreReduced)
{
    TempDir dir;
    Outcome<BackgroundPixels> p = readBackgroundRaster(writeRaster(dir, 1, GDT_Float64), "", 2);
    ASSERT_TRUE(p) << p.problem().text;
    EXPECT_EQ(p->width, 2);
    EXPECT_EQ(p->height, 1);
    EXPECT_DOUBLE_EQ(p->xmax, -699960);  // the whole extent, fewer pixels
    for (std::uint32_t px : p->argb) {
        std::uint32_t r = px >> 16 & 0xFF, g = px >> 8 & 0xFF, b = px & 0xFF;
        EXPECT_EQ(r, g);
        EXPECT_EQ(g, b);
    }

    Outcome<BackgroundPixels> missing = readBackgroundRaster(dir.path("neni.tif"), "", 100);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.problem().text.find("nelze použít jako podklad mapy"), std::string::npos);
}

}  // namespace
}  // namespace ovd
