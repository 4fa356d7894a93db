#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "gdal_services.h"
#include "geotools/dbf_export.h"
#include "testing/gis_context.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

class ProjectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s.input = dir.path("rocni.dbf");
        s.deriveOutputNames();
        DbfWriter w;
        ASSERT_TRUE(
            w.open(s.input, {{"ID", 10, 0, 0}, {"X_COORD", 12, 3, 0}, {"Y_COORD", 12, 3, 0}}, 1, DbfDate::todayUtc()));
        std::vector<double> v = {1, -742000, -1043000};
        ASSERT_TRUE(w.writeRecord(v));
        ASSERT_TRUE(w.finish());
    }

    TempDir dir;
    RecordingReporter r;
    DbfExportSettings s;
};

TEST_F(ProjectionTest, ShapefileGetsItsPrjAndMapInfoItsCoordSys)
{
    s.coordinateSystem = "EPSG:5514";
    ASSERT_EQ(exportDbf(s, {}, gisContext(r)), ToolStatus::Done);
    std::string prj = readFileBytes(dir.path("rocni.prj")).value_or("");
    EXPECT_EQ(prj.rfind("PROJCS[\"S-JTSK_Krovak_East_North\"", 0), 0u) << prj;
    // GIS programs read the set together: the points, their table and their system.
    std::unique_ptr<GDALDataset> ds(GDALDataset::Open(s.shp.c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    OGRSpatialReference national;
    national.importFromEPSG(5514);
    ASSERT_TRUE(ds->GetLayer(0)->GetSpatialRef());
    EXPECT_TRUE(ds->GetLayer(0)->GetSpatialRef()->IsSame(&national));
    ds.reset();

    s.target = static_cast<int>(DbfExportTarget::MapInfo);
    ASSERT_EQ(exportDbf(s, {}, gisContext(r)), ToolStatus::Done);
    std::string mif = readFileBytes(s.mif).value_or("");
    EXPECT_NE(mif.find("\nCoordSys Earth Projection 32, 146, \"m\", 24.8333333333333, 49.5"), std::string::npos) << mif;
}

TEST_F(ProjectionTest, UnknownSystemStopsTheExportBeforeAnyFile)
{
    s.coordinateSystem = "EPSG:0";
    for (int target : {0, 1}) {
        s.target = target;
        EXPECT_EQ(exportDbf(s, {}, gisContext(r)), ToolStatus::Failed);
    }
    EXPECT_FALSE(fileExists(s.shp) || fileExists(s.mif) || fileExists(dir.path("rocni.prj")));
    EXPECT_NE(r.messages.at(0).text.find("\"EPSG:0\" není známý"), std::string::npos);
}

}  // namespace
}  // namespace ovd
