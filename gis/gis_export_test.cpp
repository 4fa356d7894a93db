#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/source_layout.h"
#include "gdal_dataset.h"
#include "gdal_services.h"
#include "gdal_session.h"
#include "gis_export.h"
#include "inputs/binary_inputs.h"
#include "spatial_reference.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

constexpr double kX0 = -742000, kY0 = -1043000, kStep = 100;

DatasetPtr openWithGdal(const std::string& path)
{
    return DatasetPtr(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_RASTER | GDAL_OF_READONLY));
}

class GisExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initGdal();
        s.input = dir.path("rocni.dbf");
        s.coordinateSystem = "EPSG:5514";
    }

    // A result table of a 4 x 3 lattice (ID, coordinates, CONC = 10 * ID); `skip` leaves
    // a point out, `moved` shifts the point with that ID by 30 m east.
    void writeTable(int skip = 0, int moved = 0)
    {
        DbfWriter w;
        std::vector<DbfField> fields = {{"ID", 10, 0, 0},    {"X_COORD", 12, 3, 0}, {"Y_COORD", 12, 3, 0},
                                        {"Z_ELEV", 8, 2, 0}, {"L_ELEV", 8, 2, 0},   {"CONC", 15, 6, 1}};
        ASSERT_TRUE(w.open(s.input, fields, skip ? 11 : 12, DbfDate::todayUtc()));
        int id = 0;
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 4; ++i) {
                if (++id == skip)
                    continue;
                double x = kX0 + i * kStep + (id == moved ? 30 : 0);
                std::vector<double> v = {double(id), x, kY0 + j * kStep, 250, 1.5, 10.0 * id};
                ASSERT_TRUE(w.writeRecord(v));
            }
        ASSERT_TRUE(w.finish());
    }

    ToolStatus run(GisFormat f, std::string column = {}, std::optional<std::vector<double>> levels = {})
    {
        GisExportRequest q{f, {}, std::move(column), std::move(levels)};
        return exportGis(s, q, RunContext{r, true});
    }

    // A point, an area and a line source in the study's area, as the sources file.
    void writeThreeSources()
    {
        SourceRecord point, area, line;
        point.number = 1, point.type = kPointSource, point.x = kX0 + 50, point.y = kY0 + 50;
        point.values[StackParam::kEmission] = 2.5;
        area.number = 2, area.type = kAreaSource, area.x = kX0 + 200, area.y = kY0 + 100;
        area.values[StackParam::kElementSpacing] = 20;
        line.number = 3, line.type = kLineSource;
        line.values[LineParam::kStartX] = kX0, line.values[LineParam::kStartY] = kY0;
        line.values[LineParam::kEndX] = kX0 + 300, line.values[LineParam::kEndY] = kY0 + 200;
        ASSERT_TRUE(writeFileAtomically(dir.path("zdroje.bin"), encodeSources({point, area, line}, false)));
        s.sources = dir.path("zdroje.bin");
    }

    // Horizontal isoline segments at these levels, as the isoline tool leaves them.
    void writeIsolineSegments(const std::vector<double>& levels)
    {
        DatasetPtr shp(GetGDALDriverManager()
                           ->GetDriverByName("ESRI Shapefile")
                           ->Create(dir.path("iso.shp").c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        OGRLayer* l = shp->CreateLayer("iso", nullptr, wkbLineString, nullptr);
        OGRFieldDefn value("VALUE", OFTReal);
        l->CreateField(&value);
        for (double level : levels) {
            std::unique_ptr<OGRFeature> f(OGRFeature::CreateFeature(l->GetLayerDefn()));
            f->SetField("VALUE", level);
            OGRLineString segment;
            segment.addPoint(kX0, kY0 + level);
            segment.addPoint(kX0 + 100, kY0 + level);
            f->SetGeometry(&segment);
            ASSERT_EQ(l->CreateFeature(f.get()), OGRERR_NONE);
        }
    }

    // The folder's file names, to see that a refused export left nothing behind.
    std::vector<std::string> files() const { return dir.names(); }

    std::string lastMessage() const { return r.messages.empty() ? "" : r.messages.back().text; }

    TempDir dir;
    RecordingReporter r;
    GisExportSettings s;
};

// The sources of writeThreeSources as the GeoPackage's three layers hold them.
void expectThreeSources(GDALDataset& ds)
{
    OGRLayer* areas = ds.GetLayerByName("zdroje_plosne");
    OGRLayer* lines = ds.GetLayerByName("zdroje_liniove");
    OGRLayer* points = ds.GetLayerByName("zdroje_bodove");
    ASSERT_TRUE(areas && lines && points);
    EXPECT_EQ(points->GetFeatureCount(), 1);
    std::unique_ptr<OGRFeature> square(areas->GetNextFeature());
    ASSERT_TRUE(square);
    EXPECT_EQ(square->GetFieldAsInteger("CISLO"), 2);
    EXPECT_DOUBLE_EQ(square->GetGeometryRef()->toPolygon()->get_Area(), 400);
    std::unique_ptr<OGRFeature> segment(lines->GetNextFeature());
    ASSERT_TRUE(segment);
    EXPECT_DOUBLE_EQ(segment->GetGeometryRef()->toLineString()->get_Length(), std::hypot(300.0, 200.0));
    std::unique_ptr<OGRFeature> stack(points->GetNextFeature());
    EXPECT_DOUBLE_EQ(stack->GetFieldAsDouble("M"), 2.5);
}

TEST_F(GisExportTest, GeoPackageHoldsPointsSourcesAndIsobandsInTheStudySystem)
{
    writeTable();
    writeThreeSources();
    writeIsolineSegments({25.0, 55.0});
    s.isolineShp = dir.path("iso.shp");
    s.isolineInput = s.input;
    ASSERT_EQ(run(GisFormat::GeoPackage, "conc", std::vector<double>{25, 55, 85}), ToolStatus::Done) << lastMessage();

    DatasetPtr ds = openWithGdal(dir.path("rocni.gpkg"));
    ASSERT_TRUE(ds);
    OGRLayer* body = ds->GetLayerByName("body");
    ASSERT_TRUE(body);
    EXPECT_EQ(body->GetFeatureCount(), 12);
    EXPECT_STREQ(body->GetSpatialRef()->GetAuthorityCode(nullptr), "5514");
    OGRFeatureDefn* defn = body->GetLayerDefn();
    ASSERT_EQ(defn->GetFieldCount(), 6);
    EXPECT_STREQ(defn->GetFieldDefn(1)->GetNameRef(), "X_COORD");
    EXPECT_EQ(defn->GetFieldDefn(5)->GetType(), OFTReal);
    std::unique_ptr<OGRFeature> seventh(body->GetFeature(7));
    ASSERT_TRUE(seventh);
    EXPECT_EQ(seventh->GetFieldAsInteger("ID"), 7);
    EXPECT_DOUBLE_EQ(seventh->GetFieldAsDouble("CONC"), 70);
    auto* p = seventh->GetGeometryRef()->toPoint();
    EXPECT_DOUBLE_EQ(p->getX(), kX0 + 2 * kStep);
    EXPECT_DOUBLE_EQ(p->getY(), kY0 + kStep);

    expectThreeSources(*ds);

    // The bands cover the whole raster, 4 x 3 cells of 100 m, without overlapping.
    OGRLayer* bands = ds->GetLayerByName("izopasma");
    ASSERT_TRUE(bands);
    double covered = 0, top = 0;
    for (auto& f : *bands) {
        covered += f->GetGeometryRef()->toMultiPolygon()->get_Area();
        top = std::max(top, f->GetFieldAsDouble("DO"));
    }
    EXPECT_NEAR(covered, 400 * 300, 1e-6);
    EXPECT_EQ(top, 120);  // the open top band ends at the largest value
    OGRLayer* isolines = ds->GetLayerByName("izolinie");
    ASSERT_TRUE(isolines);
    EXPECT_EQ(isolines->GetFeatureCount(), 2);
    std::unique_ptr<OGRFeature> second(isolines->GetFeature(2));
    EXPECT_EQ(second->GetFieldAsDouble("VALUE"), 55);
    EXPECT_EQ(second->GetGeometryRef()->toLineString()->getY(0), kY0 + 55);
    ds.reset();

    // Isolines made from another table are not this table's: they stay out.
    s.isolineInput = dir.path("jina.dbf");
    ASSERT_EQ(run(GisFormat::GeoPackage), ToolStatus::Done) << lastMessage();
    ds = openWithGdal(dir.path("rocni.gpkg"));
    EXPECT_EQ(ds->GetLayerByName("izolinie"), nullptr);
    EXPECT_EQ(ds->GetLayerByName("izopasma"), nullptr);  // no column asked for
}

TEST_F(GisExportTest, GeoJsonAndKmlHoldWgs84AsGdalTransformsIt)
{
    writeTable();
    OGRSpatialReference study = *spatialReference("EPSG:5514");
    OGRSpatialReference lonLat = wgs84();
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&study, &lonLat));
    double lon = kX0 + kStep, lat = kY0;  // point 2
    ASSERT_TRUE(t->Transform(1, &lon, &lat));
    EXPECT_NEAR(lon, 14.4, 1.0);  // the national grid's negative numbers land in Bohemia
    EXPECT_NEAR(lat, 50.0, 1.0);
    for (GisFormat f : {GisFormat::GeoJson, GisFormat::Kml}) {
        ASSERT_EQ(run(f), ToolStatus::Done) << lastMessage();
        DatasetPtr ds = openWithGdal(dir.path(f == GisFormat::Kml ? "rocni.kml" : "rocni.geojson"));
        ASSERT_TRUE(ds);
        OGRLayer* layer = ds->GetLayer(0);
        EXPECT_EQ(layer->GetFeatureCount(), 12);
        bool found = false;
        for (auto& feature : *layer)
            if (feature->GetFieldAsInteger("ID") == 2) {
                auto* p = feature->GetGeometryRef()->toPoint();
                EXPECT_NEAR(p->getX(), lon, 1e-6);
                EXPECT_NEAR(p->getY(), lat, 1e-6);
                EXPECT_DOUBLE_EQ(feature->GetFieldAsDouble("CONC"), 20);
                found = true;
            }
        EXPECT_TRUE(found);
    }
}

TEST_F(GisExportTest, CsvAndGeoTiffKeepTheStudyCoordinates)
{
    writeTable(6);  // point 6 missing: a no-data cell
    ASSERT_EQ(run(GisFormat::Csv), ToolStatus::Done) << lastMessage();
    std::string csv = readFileBytes(dir.path("rocni.csv")).value_or("");
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "X,Y,ID,X_COORD,Y_COORD,Z_ELEV,L_ELEV,CONC");
    EXPECT_NE(csv.find("\n-742000,-1043000,"), std::string::npos) << csv;

    ASSERT_EQ(run(GisFormat::GeoTiff, "CONC"), ToolStatus::Done) << lastMessage();
    DatasetPtr ds = openWithGdal(dir.path("rocni.tif"));
    ASSERT_TRUE(ds);
    EXPECT_EQ(ds->GetRasterXSize(), 4);
    EXPECT_EQ(ds->GetRasterYSize(), 3);
    double gt[6];
    ASSERT_EQ(ds->GetGeoTransform(gt), CE_None);
    EXPECT_DOUBLE_EQ(gt[0], kX0 - 50);
    EXPECT_DOUBLE_EQ(gt[3], kY0 + 250);
    EXPECT_STREQ(ds->GetSpatialRef()->GetAuthorityCode(nullptr), "5514");
    GDALRasterBand* band = ds->GetRasterBand(1);
    int hasNoData = 0;
    EXPECT_EQ(band->GetNoDataValue(&hasNoData), -9999);
    EXPECT_TRUE(hasNoData);
    double rows[3][4];
    ASSERT_EQ(band->RasterIO(GF_Read, 0, 0, 4, 3, rows, 4, 3, GDT_Float64, 0, 0, nullptr), CE_None);
    EXPECT_EQ(rows[0][0], 90);     // the north-west point is ID 9
    EXPECT_EQ(rows[2][3], 40);     // the south-east one ID 4
    EXPECT_EQ(rows[1][1], -9999);  // ID 6 is missing
}

TEST_F(GisExportTest, BadInputIsRefusedAndLeavesNothing)
{
    writeTable(0, 7);  // point 7 30 m off the lattice
    ASSERT_TRUE(writeFileAtomically(dir.path("rocni.tif"), "old"));
    const std::vector<std::string> before = files();
    EXPECT_EQ(run(GisFormat::GeoTiff, "CONC"), ToolStatus::Failed);
    EXPECT_NE(lastMessage().find("Bod 7 (záznam 7, X -741770.000, Y -1042900.000) neleží v pravidelné mřížce"),
              std::string::npos)
        << lastMessage();
    EXPECT_EQ(run(GisFormat::GeoTiff, "NEXISTUJE"), ToolStatus::Failed);
    EXPECT_NE(lastMessage().find("nemá sloupec NEXISTUJE (má sloupce ID, X_COORD"), std::string::npos);
    EXPECT_EQ(run(GisFormat::GeoTiff), ToolStatus::Failed);  // no column at all
    s.coordinateSystem = "EPSG:123456789";
    EXPECT_EQ(run(GisFormat::GeoPackage), ToolStatus::Failed);
    EXPECT_NE(lastMessage().find("\"EPSG:123456789\" není známý"), std::string::npos) << lastMessage();
    s.coordinateSystem.clear();
    for (GisFormat f : {GisFormat::GeoPackage, GisFormat::GeoJson, GisFormat::Kml, GisFormat::GeoTiff}) {
        EXPECT_EQ(run(f, "CONC"), ToolStatus::Failed);
        EXPECT_NE(lastMessage().find("potřebuje souřadnicový systém studie"), std::string::npos);
    }
    s.input = dir.path("chybi.dbf");
    EXPECT_EQ(run(GisFormat::Csv), ToolStatus::Failed);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(readFileBytes(dir.path("rocni.tif")), "old");
}

TEST_F(GisExportTest, UnreadableStudyLayerStopsTheExportWithItsReason)
{
    writeTable();
    ASSERT_TRUE(writeFileAtomically(dir.path("rocni.gpkg"), "old"));
    s.sources = dir.path("zdroje.bin");
    // Empty, cut after the header, or a points file named as the sources.
    for (const std::string& bytes : {std::string(), std::string(40, '\x01'), std::string(1000, '\0')}) {
        ASSERT_TRUE(writeFileAtomically(s.sources, bytes));
        r.messages.clear();
        EXPECT_EQ(run(GisFormat::GeoPackage, "CONC", std::vector<double>{50}), ToolStatus::Failed);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_NE(lastMessage().find("se zdroji"), std::string::npos) << lastMessage();
        EXPECT_EQ(readFileBytes(dir.path("rocni.gpkg")), "old");
    }
}

TEST_F(GisExportTest, CutTablesAndValuesThatAreNoNumbersAreRefused)
{
    writeTable();
    std::string table = *readFileBytes(s.input);
    const std::size_t header = static_cast<unsigned char>(table[8]) | static_cast<unsigned char>(table[9]) << 8;
    const std::size_t record = static_cast<unsigned char>(table[10]) | static_cast<unsigned char>(table[11]) << 8;
    ASSERT_TRUE(writeFileAtomically(s.input, table.substr(0, header + 5 * record + 3)));
    EXPECT_EQ(run(GisFormat::Csv), ToolStatus::Failed);
    EXPECT_EQ(lastMessage(), "DBF soubor " + s.input + " je zkrácený: hlavička uvádí 12 záznamů, celých je v něm jen 5.");
    EXPECT_FALSE(std::filesystem::exists(dir.path("rocni.csv")));

    // CONC of record 3 as another program writes a value that is not a number.
    std::string bad = table;
    const std::size_t conc = header + 2 * record + 1 + 10 + 12 + 12 + 8 + 8;
    for (const char* text : {"            nan", "           -inf", "       Infinity"}) {
        bad.replace(conc, 15, text);
        ASSERT_TRUE(writeFileAtomically(s.input, bad));
        EXPECT_EQ(run(GisFormat::Csv), ToolStatus::Failed) << text;
        EXPECT_NE(lastMessage().find("Záznam 3 DBF souboru " + s.input + " má v poli CONC hodnotu"), std::string::npos)
            << lastMessage();
    }
    // A blank value stays an empty field.
    bad.replace(conc, 15, std::string(15, ' '));
    ASSERT_TRUE(writeFileAtomically(s.input, bad));
    EXPECT_EQ(run(GisFormat::Csv), ToolStatus::Done) << lastMessage();
}

TEST_F(GisExportTest, CancelKeepsThePreviousFile)
{
    writeTable();
    ASSERT_TRUE(writeFileAtomically(dir.path("rocni.gpkg"), "old"));
    r.cancelRequested = true;
    EXPECT_EQ(run(GisFormat::GeoPackage, "CONC", std::vector<double>{50}), ToolStatus::Declined);
    EXPECT_EQ(readFileBytes(dir.path("rocni.gpkg")), "old");
    EXPECT_EQ(files().size(), 2u);
}

TEST(GisExportNames, FormatsTargetsAndOutputs)
{
    EXPECT_EQ(parseGisFormat("gpkg"), GisFormat::GeoPackage);
    EXPECT_EQ(parseGisFormat("tiff"), std::nullopt);
    EXPECT_EQ(gisFormatOfTarget(2), std::nullopt);
    EXPECT_EQ(gisFormatOfTarget(3), GisFormat::GeoPackage);
    EXPECT_EQ(gisFormatOfTarget(7), GisFormat::GeoTiff);
    EXPECT_EQ(gisFormatOfTarget(8), std::nullopt);
    GisExportSettings s;
    s.input = "/st.v1/rocni.dbf";
    EXPECT_EQ(gisOutputPath(s, {GisFormat::Kml}), "/st.v1/rocni.kml");
    s.input = "/st.v1/rocni";
    EXPECT_EQ(gisOutputPath(s, {GisFormat::GeoTiff}), "/st.v1/rocni.tif");
    s.output = "mapa.gpkg";
    EXPECT_EQ(gisOutputPath(s, {GisFormat::GeoPackage}), "mapa.gpkg");
    EXPECT_EQ(gisOutputPath(s, {GisFormat::GeoPackage, "jiny.gpkg"}), "jiny.gpkg");
}

}  // namespace
}  // namespace ovd
