#include "common/paths.h"
#include "common/project_paths.h"

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
    // The stem drops the last extension only, from the file name only.
    for (auto [path, stem] : {std::pair{"/data/studie.v2/study.ovd", "study"},
                              {"C:\\a.b\\archive.tar.gz", "archive.tar"},
                              {"/data/studie.v2/noext", "noext"},
                              {".ovardix", ".ovardix"}})
        EXPECT_EQ(stemOf(path), stem) << path;
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

TEST(ProjectPaths, FilesInTheProjectsFolderAreStoredRelative)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path("study/sub"));
    const std::string project = dir.path("study/p.ovd");
    EXPECT_EQ(pathForProject(dir.path("study/body.txt"), project), "body.txt");
    EXPECT_EQ(pathForProject(dir.path("study/sub/../sub/x.dbf"), project), "sub/x.dbf");
    EXPECT_EQ(pathForProject(dir.path("other/x.dbf"), project), dir.path("other/x.dbf"));
    // A folder whose name only begins like the study's is another folder.
    EXPECT_EQ(pathForProject(dir.path("study2/x.dbf"), project), dir.path("study2/x.dbf"));
    EXPECT_EQ(pathForProject("", project), "");
}

TEST(ProjectPaths, AProgramWorksInTheProjectsFolder)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path("study"));
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.root());
    EXPECT_EQ(enterProjectFolder("study/p.ovd"), std::optional<std::string>("p.ovd"));
    EXPECT_EQ(resolvedPath("."), resolvedPath(dir.path("study")));
    // Typed where the program was started: relative below the new folder, else absolute.
    EXPECT_EQ(rebasedPath("study/out.png", dir.root()), "out.png");
    EXPECT_EQ(rebasedPath("out.png", dir.root()), resolvedPath(dir.root()) + "/out.png");
    EXPECT_EQ(rebasedPath("/abs/x.png", dir.root()), "/abs/x.png");
    EXPECT_EQ(enterProjectFolder("p.ovd"), std::optional<std::string>("p.ovd"));  // already there
    EXPECT_EQ(enterProjectFolder(dir.path("missing/p.ovd")), std::nullopt);
    EXPECT_EQ(resolvedPath("."), resolvedPath(dir.path("study")));  // nothing changed
    std::filesystem::current_path(before);
}
