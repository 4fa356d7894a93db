#include "common/paths.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

using namespace ovd;

TEST(Paths, FolderAndNameSplitAtEitherSeparator)
{
    EXPECT_EQ(folderOf("/data/study/points.txt"), "/data/study/");
    EXPECT_EQ(folderOf("C:\\data\\points.txt"), "C:\\data\\");
    EXPECT_EQ(folderOf("a\\b/c.txt"), "a\\b/");
    EXPECT_EQ(folderOf("points.txt"), "");
    EXPECT_EQ(fileNameOf("a\\b/c.txt"), "c.txt");
}

TEST(Paths, DerivedNamesReplaceTheLastThreeCharacters)
{
    EXPECT_EQ(derivedName("results.dbf", "vst"), "results.vst");
    EXPECT_EQ(derivedName("/x/noext", "vst"), "/x/novst");
    EXPECT_EQ(derivedName("ab", "vst"), "vst");
}

TEST(Paths, UniqueFilesAreNewAndDistinct)
{
    TempDir dir;
    auto a = createUniqueFile(dir.root(), "OVD_");
    auto b = createUniqueFile(dir.root(), "OVD_");
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_EQ(fileNameOf(*a).rfind("OVD_", 0), 0u);
    EXPECT_TRUE(fileExists(*a));
    EXPECT_EQ(fileSize(*a).value(), 0);
    EXPECT_FALSE(createUniqueFile(dir.path("nope"), "OVD_"));
}
