#include "gdal_output.h"

#include <cpl_vsi.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_errors.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "gdal_session.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

// As a driver writes: by name, through GDAL's own file layer.
bool gdalWrite(const std::string& path, const std::string& bytes)
{
    VSILFILE* f = VSIFOpenL(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = VSIFWriteL(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return VSIFCloseL(f) == 0 && ok;
}

TEST(GdalOutput, ReplacesTheTargetOnlyWhenPublished)
{
    initGdal();
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically(dir.path("a.gpkg"), "old"));
    {
        GdalOutput out;
        ASSERT_TRUE(out.open(dir.path("a.gpkg"), "gpkg"));
        EXPECT_EQ(out.path().substr(out.path().size() - 7), "/a.gpkg");
        ASSERT_TRUE(gdalWrite(out.path(), "half"));
    }  // not published: the old file stays, nothing is left beside it
    EXPECT_EQ(readFileBytes(dir.path("a.gpkg")), "old");
    EXPECT_EQ(dir.names().size(), 1u);
    GdalOutput out;
    ASSERT_TRUE(out.open(dir.path("a.gpkg"), "csv"));  // the driver's extension, whatever the target's
    EXPECT_EQ(out.path().substr(out.path().size() - 6), "/a.csv");
    VSIStatBufL st;
    EXPECT_NE(VSIStatL(out.path().c_str(), &st), 0);  // the driver creates it
    EXPECT_FALSE(out.publish());                      // nothing was written
    EXPECT_FALSE(out.error().empty());
    ASSERT_TRUE(gdalWrite(out.path(), "new"));
    EXPECT_TRUE(out.publish());
    EXPECT_EQ(readFileBytes(dir.path("a.gpkg")), "new");
    EXPECT_NE(VSIStatL(out.path().c_str(), &st), 0) << "the memory copy stays after publishing";
}

TEST(GdalOutput, NeverOverAFolderAndLeftoversOfKilledRunsGo)
{
    initGdal();
    TempDir dir;
    // What a killed run of an earlier version left of this target goes; another target's stays.
    ASSERT_TRUE(writeFileAtomically(dir.path(".a.gpkg.ovd-123456.gpkg"), "killed"));
    ASSERT_TRUE(writeFileAtomically(dir.path(".b.gpkg.ovd-123456.gpkg"), "other"));
    GdalOutput again;
    ASSERT_TRUE(again.open(dir.path("a.gpkg"), "gpkg"));
    EXPECT_FALSE(fileExists(dir.path(".a.gpkg.ovd-123456.gpkg")));
    EXPECT_TRUE(fileExists(dir.path(".b.gpkg.ovd-123456.gpkg")));
    ASSERT_EQ(::mkdir(dir.path("folder.tif").c_str(), 0755), 0);
    EXPECT_FALSE(GdalOutput().open(dir.path("folder.tif"), "tif"));
    EXPECT_FALSE(GdalOutput().open(dir.path("missing/x.tif"), "tif"));
    ASSERT_EQ(::mkfifo(dir.path("fifo.tif").c_str(), 0600), 0);
    EXPECT_FALSE(GdalOutput().open(dir.path("fifo.tif"), "tif"));
}

TEST(GdalOutput, WritesThroughASymlinkedTarget)
{
    initGdal();
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.path("data").c_str(), 0755), 0);
    ASSERT_TRUE(writeFileAtomically(dir.path("data/real.tif"), "old"));
    ASSERT_EQ(::symlink("data/real.tif", dir.path("link.tif").c_str()), 0);
    GdalOutput out;
    ASSERT_TRUE(out.open(dir.path("link.tif"), "tif"));
    ASSERT_TRUE(gdalWrite(out.path(), "new"));
    ASSERT_TRUE(out.publish());
    struct stat st;
    ASSERT_EQ(::lstat(dir.path("link.tif").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFileBytes(dir.path("data/real.tif")), "new");
}

TEST(FileErrorReason, NamesTheCommonCausesInWords)
{
    EXPECT_EQ(fileErrorReason(ENOSPC), "na disku není dost místa");
    EXPECT_EQ(fileErrorReason(EROFS), "disk je jen pro čtení");
    EXPECT_EQ(fileErrorReason(0), "zápis selhal");
    EXPECT_EQ(fileErrorReason(EBADF).rfind("zápis selhal: ", 0), 0u);
}

}  // namespace
}  // namespace ovd
