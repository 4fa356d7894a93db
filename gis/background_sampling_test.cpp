// Background values at study points from rasters and polygon layers, against values worked
// out by hand and against GDAL's own transformation of the points.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <memory>

#include "common/file_io.h"
#include "gdal_services.h"
#include "gdal_session.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// 4 x 3 cells of 100 m, north-west corner at (1000, 2300): row 0 is the north row.
constexpr double kWest = 1000, kNorth = 2300, kCell = 100;
const double kCells[3][4] = {{10, 20, 30, 40}, {50, 60, -1, 80}, {90, 100, 110, 120}};

void writeRaster(const std::string& path, int epsg, const double (*cells)[4], double west = kWest,
                 double north = kNorth, double cell = kCell)
{
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), 4, 3, 1, GDT_Float64,
                                                                               nullptr);
    ASSERT_TRUE(ds);
    double gt[6] = {west, cell, 0, north, 0, -cell};
    ds->SetGeoTransform(gt);
    if (epsg) {
        OGRSpatialReference srs;
        srs.importFromEPSG(epsg);
        ds->SetSpatialRef(&srs);
    }
    GDALRasterBand* band = ds->GetRasterBand(1);
    band->SetNoDataValue(-1);
    for (int r = 0; r < 3; ++r)
        ASSERT_EQ(band->RasterIO(GF_Write, 0, r, 4, 1, const_cast<double*>(cells[r]), 4, 1, GDT_Float64, 0, 0, nullptr),
                  CE_None);
    GDALClose(ds);
}

class BackgroundSampling : public ::testing::Test {
protected:
    void SetUp() override { initGdal(); }
    GdalServices gis;
    TempDir dir;
};

TEST_F(BackgroundSampling, CellValueIsTheCellThatHoldsThePoint)
{
    const std::string tif = dir.path("pozadi.tif");
    writeRaster(tif, 0, kCells);
    const std::vector<StudyPoint> at = {
        {1050, 2250},  // row 0, column 0
        {1399, 2001},  // the south-east cell's inside corner
        {1250, 2150},  // row 1, column 2: no-data
        {999, 2250},   // west of the raster
        {1100, 2100},  // on a corner: the cell to the east and south of it
        {1400, 2100},  // on the east edge: outside
    };
    Outcome<PointSamples> v = gis.sampleRaster(tif, "", at, false);
    ASSERT_TRUE(v) << v.problem().text;
    ASSERT_EQ(v->size(), at.size());
    EXPECT_EQ((*v)[0], 10.0);
    EXPECT_EQ((*v)[1], 120.0);
    EXPECT_FALSE((*v)[2]);
    EXPECT_FALSE((*v)[3]);
    EXPECT_EQ((*v)[4], 100.0);
    EXPECT_FALSE((*v)[5]);
}

TEST_F(BackgroundSampling, BilinearInterpolatesBetweenCellCentres)
{
    const std::string tif = dir.path("pozadi.tif");
    const double cells[3][4] = {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}};
    writeRaster(tif, 0, cells);
    const std::vector<StudyPoint> at = {
        {1050, 2250},  // a cell centre: its own value
        {1075, 2225},  // a quarter cell east and south of the first centre
        {1010, 2290},  // in the north-west border half cell: held at the corner cell's value
        {1010, 2200},  // on the west border between rows 0 and 1
        {1350, 2050},  // the south-east centre
    };
    Outcome<PointSamples> v = gis.sampleRaster(tif, "", at, true);
    ASSERT_TRUE(v) << v.problem().text;
    EXPECT_DOUBLE_EQ(*(*v)[0], 10);
    // 0.75 * (0.75 * 10 + 0.25 * 20) + 0.25 * (0.75 * 50 + 0.25 * 60)
    EXPECT_DOUBLE_EQ(*(*v)[1], 0.75 * 12.5 + 0.25 * 52.5);
    EXPECT_DOUBLE_EQ(*(*v)[2], 10);
    EXPECT_DOUBLE_EQ(*(*v)[3], 30);
    EXPECT_DOUBLE_EQ(*(*v)[4], 120);
}

TEST_F(BackgroundSampling, BilinearNextToNoDataHasNoValueButACentreBesideItHas)
{
    const std::string tif = dir.path("pozadi.tif");
    writeRaster(tif, 0, kCells);  // the cell of row 1, column 2 is no-data
    const std::vector<StudyPoint> at = {{1200, 2200}, {1050, 2250}, {1150, 2150}};
    Outcome<PointSamples> v = gis.sampleRaster(tif, "", at, true);
    ASSERT_TRUE(v);
    EXPECT_FALSE((*v)[0]);            // between four centres, one of them no-data
    EXPECT_DOUBLE_EQ(*(*v)[1], 10);   // a centre far from it
    EXPECT_DOUBLE_EQ(*(*v)[2], 60);   // the centre beside it: its weight is 0
}

TEST_F(BackgroundSampling, RasterInAnotherSystemIsSampledAtTheTransformedPoints)
{
    // A UTM raster whose values are a plane in its own coordinates: the bilinear value is the
    // plane at the point, so the expected value needs only GDAL's transformation of the point.
    const double west = 470000, north = 5550000, cell = 1000;
    auto plane = [](double x, double y) { return 0.001 * (x - 470000) + 0.002 * (5550000 - y) + 5; };
    double cells[3][4];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            cells[r][c] = plane(west + (c + 0.5) * cell, north - (r + 0.5) * cell);
    const std::string tif = dir.path("utm.tif");
    writeRaster(tif, 32633, cells, west, north, cell);

    OGRSpatialReference krovak, utm;
    krovak.importFromEPSG(5514);
    utm.importFromEPSG(32633);
    krovak.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> back(OGRCreateCoordinateTransformation(&utm, &krovak));
    std::unique_ptr<OGRCoordinateTransformation> there(OGRCreateCoordinateTransformation(&krovak, &utm));
    ASSERT_TRUE(back && there);
    // Study points chosen inside the raster's central part.
    std::vector<StudyPoint> at;
    for (auto [x, y] : {std::pair{471700.0, 5548700.0}, {472300.0, 5548200.0}, {471234.5, 5548765.4}}) {
        ASSERT_TRUE(back->Transform(1, &x, &y));
        at.push_back({x, y});
    }
    Outcome<PointSamples> v = gis.sampleRaster(tif, "EPSG:5514", at, true);
    ASSERT_TRUE(v) << v.problem().text;
    Outcome<PointSamples> cellValues = gis.sampleRaster(tif, "EPSG:5514", at, false);
    ASSERT_TRUE(cellValues);
    for (std::size_t i = 0; i < at.size(); ++i) {
        double x = at[i].x, y = at[i].y;
        ASSERT_TRUE(there->Transform(1, &x, &y));
        ASSERT_TRUE((*v)[i]);
        EXPECT_NEAR(*(*v)[i], plane(x, y), 1e-6) << i;
        const int col = static_cast<int>((x - west) / cell), row = static_cast<int>((north - y) / cell);
        EXPECT_EQ(*(*cellValues)[i], cells[row][col]) << i;
    }
}

TEST_F(BackgroundSampling, ALayerWithASystemInAStudyWithoutOneIsRefused)
{
    const std::string tif = dir.path("pozadi.tif");
    writeRaster(tif, 5514, kCells);
    Outcome<PointSamples> v = gis.sampleRaster(tif, "", std::vector<StudyPoint>{{1050, 2250}}, false);
    ASSERT_FALSE(v);
    EXPECT_NE(v.problem().text.find(tif), std::string::npos);
    EXPECT_NE(v.problem().text.find("studie žádný nemá"), std::string::npos);
    // The same system as the study's: taken as it is.
    Outcome<PointSamples> same = gis.sampleRaster(tif, "EPSG:5514", std::vector<StudyPoint>{{1050, 2250}}, false);
    ASSERT_TRUE(same);
    EXPECT_EQ((*same)[0], 10.0);
}

TEST_F(BackgroundSampling, AFileGdalCannotReadIsRefusedNamingIt)
{
    const std::string bad = dir.path("pozadi.tif");
    ASSERT_TRUE(writeFileAtomically(bad, "no raster here\n"));
    Outcome<PointSamples> v = gis.sampleRaster(bad, "", std::vector<StudyPoint>{{0, 0}}, false);
    ASSERT_FALSE(v);
    EXPECT_NE(v.problem().text.find(bad), std::string::npos);
    Outcome<PointSamples> p = gis.samplePolygons(bad, "PM10", "", std::vector<StudyPoint>{{0, 0}});
    ASSERT_FALSE(p);
    EXPECT_NE(p.problem().text.find(bad), std::string::npos);
}

// Two squares of 1 km side by side (the western one stored first, with a hole of 200 m in
// its middle), a third square with no value, in `epsg`.
void writeSquares(const std::string& path, int epsg)
{
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(path.c_str(), 0, 0, 0, GDT_Unknown,
                                                                              nullptr);
    ASSERT_TRUE(ds);
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    OGRLayer* layer = ds->CreateLayer("ctverce", &srs, wkbPolygon, nullptr);
    ASSERT_TRUE(layer);
    OGRFieldDefn value("PM10", OFTReal);
    OGRFieldDefn name("NAZEV", OFTString);
    ASSERT_EQ(layer->CreateField(&value), OGRERR_NONE);
    ASSERT_EQ(layer->CreateField(&name), OGRERR_NONE);
    const char* wkt[] = {
        "POLYGON ((0 0, 1000 0, 1000 1000, 0 1000, 0 0), (400 400, 600 400, 600 600, 400 600, 400 400))",
        "POLYGON ((1000 0, 2000 0, 2000 1000, 1000 1000, 1000 0))",
        "POLYGON ((0 1000, 1000 1000, 1000 2000, 0 2000, 0 1000))",
    };
    for (int i = 0; i < 3; ++i) {
        OGRFeature f(layer->GetLayerDefn());
        if (i < 2)
            f.SetField("PM10", 20.5 + i);
        f.SetField("NAZEV", "ctverec");
        OGRGeometry* g = nullptr;
        ASSERT_EQ(OGRGeometryFactory::createFromWkt(wkt[i], nullptr, &g), OGRERR_NONE);
        f.SetGeometryDirectly(g);
        ASSERT_EQ(layer->CreateFeature(&f), OGRERR_NONE);
    }
    GDALClose(ds);
}

TEST_F(BackgroundSampling, PolygonAttributeOfThePolygonThatHoldsThePoint)
{
    const std::string gpkg = dir.path("ctverce.gpkg");
    writeSquares(gpkg, 5514);
    const std::vector<StudyPoint> at = {
        {100, 100},    // western square
        {1500, 500},   // eastern square
        {1000, 500},   // on the border they share: the one stored first
        {500, 500},    // in the western square's hole
        {500, 1500},   // the square without a value
        {2500, 500},   // outside every square
        {0, 0},        // on the western square's corner
    };
    Outcome<PointSamples> v = gis.samplePolygons(gpkg, "pm10", "EPSG:5514", at);
    ASSERT_TRUE(v) << v.problem().text;
    EXPECT_EQ((*v)[0], 20.5);
    EXPECT_EQ((*v)[1], 21.5);
    EXPECT_EQ((*v)[2], 20.5);
    EXPECT_FALSE((*v)[3]);
    EXPECT_FALSE((*v)[4]);
    EXPECT_FALSE((*v)[5]);
    EXPECT_EQ((*v)[6], 20.5);
}

TEST_F(BackgroundSampling, PolygonColumnMissingOrNotNumericIsRefused)
{
    const std::string gpkg = dir.path("ctverce.gpkg");
    writeSquares(gpkg, 5514);
    const std::vector<StudyPoint> at = {{100, 100}};
    Outcome<PointSamples> missing = gis.samplePolygons(gpkg, "NO2", "EPSG:5514", at);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.problem().text.find("nemá sloupec NO2 (má sloupce PM10, NAZEV)"), std::string::npos);
    Outcome<PointSamples> text = gis.samplePolygons(gpkg, "NAZEV", "EPSG:5514", at);
    ASSERT_FALSE(text);
    EXPECT_NE(text.problem().text.find("neobsahuje čísla"), std::string::npos);
    Outcome<PointSamples> noSystem = gis.samplePolygons(gpkg, "PM10", "", at);
    ASSERT_FALSE(noSystem);
}

TEST_F(BackgroundSampling, PolygonLayerInAnotherSystemIsSampledAtTheTransformedPoints)
{
    // Squares in UTM 33N; study points in S-JTSK that GDAL carries into chosen squares.
    const std::string gpkg = dir.path("utm.gpkg");
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(gpkg.c_str(), 0, 0, 0, GDT_Unknown,
                                                                              nullptr);
    ASSERT_TRUE(ds);
    OGRSpatialReference utm, krovak;
    utm.importFromEPSG(32633);
    krovak.importFromEPSG(5514);
    utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    krovak.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRLayer* layer = ds->CreateLayer("ctverce", &utm, wkbPolygon, nullptr);
    OGRFieldDefn value("NO2", OFTInteger);
    ASSERT_EQ(layer->CreateField(&value), OGRERR_NONE);
    for (int i = 0; i < 2; ++i) {
        OGRFeature f(layer->GetLayerDefn());
        f.SetField("NO2", 11 + i);
        const double x0 = 470000 + 1000.0 * i;
        OGRPolygon poly;
        OGRLinearRing ring;
        ring.addPoint(x0, 5549000);
        ring.addPoint(x0 + 1000, 5549000);
        ring.addPoint(x0 + 1000, 5550000);
        ring.addPoint(x0, 5550000);
        ring.closeRings();
        poly.addRing(&ring);
        f.SetGeometry(&poly);
        ASSERT_EQ(layer->CreateFeature(&f), OGRERR_NONE);
    }
    GDALClose(ds);
    std::unique_ptr<OGRCoordinateTransformation> back(OGRCreateCoordinateTransformation(&utm, &krovak));
    std::vector<StudyPoint> at;
    for (auto [x, y] : {std::pair{470500.0, 5549500.0}, {471999.0, 5549001.0}, {472500.0, 5549500.0}}) {
        ASSERT_TRUE(back->Transform(1, &x, &y));
        at.push_back({x, y});
    }
    Outcome<PointSamples> v = gis.samplePolygons(gpkg, "NO2", "EPSG:5514", at);
    ASSERT_TRUE(v) << v.problem().text;
    EXPECT_EQ((*v)[0], 11.0);
    EXPECT_EQ((*v)[1], 12.0);
    EXPECT_FALSE((*v)[2]);
}

}  // namespace
}  // namespace ovd
