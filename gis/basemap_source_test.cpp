#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "basemap_service.h"
#include "basemap_source.h"
#include "common/reporter_wrapper.h"
#include "gdal_dataset.h"
#include "gdal_session.h"
#include "spatial_reference.h"
#include "testing/recording_reporter.h"
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
        EXPECT_EQ(d->GetRasterBand(b)->RasterIO(GF_Write, 0, 0, 4, 2, values, 4, 2, GDT_Float64, 0, 0, nullptr),
                  CE_None);
    }
    GDALClose(d);
    return path;
}

BasemapRequest over(const std::string& source, const std::string& system, int width, int height)
{
    return {source, "", system, -700000, -1000000, -699960, -999980, width, height};
}

Outcome<BackgroundPixels> read(const BasemapRequest& q, std::vector<std::string>* notes = nullptr)
{
    NullReporter quiet;
    std::vector<std::string> own;
    return readBasemap(q, quiet, notes ? *notes : own);
}

TEST(BasemapFile, ColourBandsKeepTheirPixelsNorthUpAtTheViewsPixels)
{
    TempDir dir;
    for (double yStep : {-10.0, 10.0}) {  // rows stored north first, then south first
        Outcome<BackgroundPixels> p = read(over(writeRaster(dir, 3, GDT_Byte, yStep), "EPSG:5514", 4, 2));
        ASSERT_TRUE(p) << p.problem().text;
        EXPECT_EQ(p->width, 4);
        EXPECT_EQ(p->height, 2);
        EXPECT_DOUBLE_EQ(p->xmin, -700000);
        EXPECT_DOUBLE_EQ(p->ymax, -999980);
        int northRow = yStep < 0 ? 0 : 1;
        std::uint32_t r = northRow * 100 + 2 * 10 + 1;
        EXPECT_EQ(p->argb[2], 0xFF000000u | r << 16 | (r + 1) << 8 | (r + 2));
    }
}

TEST(BasemapFile, OneBandIsGreyAndOutsideTheRasterIsTransparent)
{
    TempDir dir;
    // A view twice as wide as the raster, reaching 40 m east of it.
    BasemapRequest q = over(writeRaster(dir, 1, GDT_Float64), "", 8, 2);
    q.xmax += 40;
    Outcome<BackgroundPixels> p = read(q);
    ASSERT_TRUE(p) << p.problem().text;
    ASSERT_EQ(p->argb.size(), 16u);
    std::uint32_t inside = p->argb[1], outside = p->argb[7];
    EXPECT_EQ(inside >> 24, 255u);
    EXPECT_EQ(inside >> 16 & 0xFF, inside & 0xFF);  // grey
    EXPECT_EQ(outside >> 24, 0u);
}

// A grey raster of small bytes (0 to 10) is stretched over the greys, black to white.
TEST(BasemapFile, OneBandOfBytesIsStretchedOverItsRange)
{
    TempDir dir;
    const std::string path = writeRaster(dir, 1, GDT_Byte);
    {
        DatasetPtr d(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
        ASSERT_TRUE(d);
        std::uint8_t values[8] = {0, 1, 2, 3, 4, 5, 6, 10};
        ASSERT_EQ(d->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 4, 2, values, 4, 2, GDT_Byte, 0, 0, nullptr), CE_None);
    }
    Outcome<BackgroundPixels> p = read(over(path, "EPSG:5514", 4, 2));
    ASSERT_TRUE(p) << p.problem().text;
    ASSERT_EQ(p->argb.size(), 8u);
    EXPECT_EQ(p->argb[0], 0xFF000000u);
    EXPECT_EQ(p->argb[7], 0xFFFFFFFFu);
    EXPECT_EQ(p->argb[5] & 0xFF, 128u);  // 5 of 10
    EXPECT_EQ(p->argb[5] >> 8 & 0xFF, p->argb[5] & 0xFF);
}

// A palette's indices are its colours, not greys, and are not blended between cells.
TEST(BasemapFile, PalettedRasterShowsItsColours)
{
    TempDir dir;
    std::string path = writeRaster(dir, 1, GDT_Byte);
    {
        GDALDataset* d = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE);
        GDALColorTable palette;
        for (short i = 0; i < 256; ++i) {
            GDALColorEntry e{static_cast<short>(i == 21 ? 250 : 0), 0, static_cast<short>(i == 21 ? 0 : 250), 255};
            palette.SetColorEntry(i, &e);
        }
        ASSERT_EQ(d->GetRasterBand(1)->SetColorTable(&palette), CE_None);
        GDALClose(d);
    }
    Outcome<BackgroundPixels> p = read(over(path, "EPSG:5514", 8, 4));
    ASSERT_TRUE(p) << p.problem().text;
    // Cell (row 0, column 2) holds 21: red; its neighbours blue.
    EXPECT_EQ(p->argb[4], 0xFFFA0000u);
    EXPECT_EQ(p->argb[5], 0xFFFA0000u);
    EXPECT_EQ(p->argb[3], 0xFF0000FAu);
}

// A raster whose header claims 100 000 x 100 000 cells (a VRT over a small file) is read at
// the view's resolution, not whole: the read ends at once.
TEST(BasemapFile, HugeRasterWithoutOverviewsIsReadDecimated)
{
    TempDir dir;
    std::string small = writeRaster(dir, 1, GDT_Byte);
    std::ofstream(dir.path("velky.vrt"))
        << "<VRTDataset rasterXSize=\"100000\" rasterYSize=\"100000\"><SRS>EPSG:5514</SRS>"
           "<GeoTransform>-700000, 0.0004, 0, -999980, 0, -0.0002</GeoTransform>"
           "<VRTRasterBand dataType=\"Byte\" band=\"1\"><SimpleSource><SourceFilename relativeToVRT=\"1\">podklad.tif"
           "</SourceFilename><SourceBand>1</SourceBand><SrcRect xOff=\"0\" yOff=\"0\" xSize=\"4\" ySize=\"2\"/>"
           "<DstRect xOff=\"0\" yOff=\"0\" xSize=\"100000\" ySize=\"100000\"/></SimpleSource></VRTRasterBand>"
           "</VRTDataset>";
    auto start = std::chrono::steady_clock::now();
    Outcome<BackgroundPixels> p = read(over(dir.path("velky.vrt"), "EPSG:5514", 200, 100));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(p) << p.problem().text;
    EXPECT_EQ(p->width, 200);
    EXPECT_LT(seconds, 20);
    EXPECT_EQ(p->argb[0] >> 24, 255u);
}

TEST(BasemapFile, UnreadableSourcesAreNamed)
{
    TempDir dir;
    Outcome<BackgroundPixels> missing = read(over(dir.path("neni.tif"), "", 10, 10));
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.problem().text.find("Soubor " + dir.path("neni.tif") + " nelze použít jako podklad mapy"),
              std::string::npos);
    std::ofstream(dir.path("text.tif")) << "není to rastr\n";
    EXPECT_FALSE(read(over(dir.path("text.tif"), "", 10, 10)));
    // A FIFO is neither read as a description nor opened.
    ASSERT_EQ(::mkfifo(dir.path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(basemapKindOf(dir.path("fifo")), BasemapKind::File);
    Outcome<BackgroundPixels> fifo = read(over(dir.path("fifo"), "", 10, 10));
    ASSERT_FALSE(fifo);
    EXPECT_NE(fifo.problem().text.find("není obyčejný soubor"), std::string::npos);
}

TEST(BasemapFile, ACancelStopsTheReading)
{
    TempDir dir;
    RecordingReporter cancel;
    cancel.cancelRequested = true;
    std::vector<std::string> notes;
    Outcome<BackgroundPixels> p = readBasemap(over(writeRaster(dir, 3, GDT_Byte), "EPSG:5514", 4, 2), cancel, notes);
    ASSERT_FALSE(p);
    EXPECT_EQ(p.problem().text, "Načítání podkladu mapy bylo přerušeno.");
}

TEST(BasemapService, KindsOfSources)
{
    TempDir dir;
    EXPECT_EQ(basemapKindOf("https://tile.example/{z}/{x}/{y}.png"), BasemapKind::TileTemplate);
    EXPECT_EQ(basemapKindOf("http://tile.example/{z}/{x}/{-y}.png"), BasemapKind::TileTemplate);
    EXPECT_EQ(basemapKindOf("http://host/wms?SERVICE=WMS"), BasemapKind::Connection);
    EXPECT_EQ(basemapKindOf("WMS:http://host/wms?LAYERS=a"), BasemapKind::Connection);
    EXPECT_EQ(basemapKindOf("wmts:http://host/caps.xml,layer=a"), BasemapKind::Connection);
    EXPECT_EQ(basemapKindOf("/vsicurl/http://host/orto.tif"), BasemapKind::Connection);
    EXPECT_EQ(basemapKindOf("<GDAL_WMS><Service name=\"TMS\"/></GDAL_WMS>"), BasemapKind::Description);
    std::ofstream(dir.path("sluzba.xml")) << "<GDAL_WMS>\n<Service name=\"TMS\"/></GDAL_WMS>\n";
    std::ofstream(dir.path("jiny.xml")) << " <GDAL_WMS></GDAL_WMS>\n";  // GDAL takes nothing before it
    EXPECT_EQ(basemapKindOf(dir.path("sluzba.xml")), BasemapKind::Description);
    EXPECT_EQ(basemapKindOf(dir.path("jiny.xml")), BasemapKind::File);
    EXPECT_EQ(basemapKindOf("podklad.tif"), BasemapKind::File);
    EXPECT_FALSE(isBasemapService("podklad.tif"));
}

TEST(BasemapService, DescriptionsCarryTheLimitsUnlessTheyHaveTheirOwn)
{
    ServiceLimits limits{3, 4, "/tmp/mezipamet"};
    std::string xyz = tileTemplateDescription("http://h/{z}/{x}/{-y}.png?a=1&b=2", limits);
    EXPECT_NE(xyz.find("<ServerUrl>http://h/${z}/${x}/${y}.png?a=1&amp;b=2</ServerUrl>"), std::string::npos) << xyz;
    EXPECT_NE(xyz.find("<YOrigin>bottom</YOrigin>"), std::string::npos);
    EXPECT_NE(xyz.find("<Timeout>3</Timeout>"), std::string::npos);
    EXPECT_NE(xyz.find("<MaxConnections>4</MaxConnections>"), std::string::npos);
    EXPECT_NE(xyz.find("<Path>/tmp/mezipamet</Path>"), std::string::npos);
    EXPECT_NE(tileTemplateDescription("http://h/{z}/{x}/{y}.png", limits).find("<YOrigin>top</YOrigin>"),
              std::string::npos);

    std::string own = limitedDescription(
        "<GDAL_WMS><Service name=\"WMS\"/><Timeout>30</Timeout><Cache><Path>vlastni</Path></Cache></GDAL_WMS>", limits);
    EXPECT_NE(own.find("<Timeout>30</Timeout>"), std::string::npos) << own;
    EXPECT_EQ(own.find("<Timeout>3</Timeout>"), std::string::npos);
    EXPECT_NE(own.find("<Path>vlastni</Path>"), std::string::npos);
    EXPECT_EQ(own.find("/tmp/mezipamet"), std::string::npos);
    EXPECT_NE(own.find("<MaxConnections>4</MaxConnections>"), std::string::npos);
    EXPECT_TRUE(limitedDescription("<GDAL_WMS><Service", limits).empty());
    EXPECT_TRUE(tileTemplateDescription("http://h/{z}/{x}/{y}.png", {5, 4, ""}).find("<Cache") == std::string::npos);
}

TEST(BasemapService, RefusedWithoutAStudySystemOrWhenNothingAnswers)
{
    Outcome<BackgroundPixels> noSystem = read(over("http://127.0.0.1:1/{z}/{x}/{y}.png", "", 10, 10));
    ASSERT_FALSE(noSystem);
    EXPECT_NE(noSystem.problem().text.find("nelze použít jako podklad mapy: studie nemá zadaný souřadnicový systém"),
              std::string::npos);

    TempDir dir;
    std::ofstream(dir.path("soubor")) << "x";
    BasemapRequest q = over("http://127.0.0.1:1/{z}/{x}/{y}.png", "EPSG:5514", 10, 10);
    q.cacheFolder = dir.path("soubor") + "/mezipamet";  // under a file: cannot be made
    std::vector<std::string> notes;
    auto start = std::chrono::steady_clock::now();
    Outcome<BackgroundPixels> refused = read(q, &notes);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.problem().text.find("Službu http://127.0.0.1:1/{z}/{x}/{y}.png nelze použít jako podklad mapy"),
              std::string::npos)
        << refused.problem().text;
    EXPECT_NE(refused.problem().text.find("Mapa je nakreslena bez podkladu."), std::string::npos);
    EXPECT_LT(seconds, 2 * kBasemapTimeoutSeconds);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0],
              "Nelze vytvořit složku " + q.cacheFolder + " pro mezipaměť podkladu mapy, dlaždice se stahují bez ní.");

    Outcome<BackgroundPixels> broken = read(over("<GDAL_WMS><Service", "EPSG:5514", 10, 10));
    ASSERT_FALSE(broken);
    EXPECT_NE(broken.problem().text.find("Zadaný popis služby nelze použít jako podklad mapy"), std::string::npos);
}

}  // namespace
}  // namespace ovd
