// The platform layer's promises that hold on both systems, with Czech names throughout (on
// Windows every call goes through UTF-16).
#include "common/platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "common/file_io.h"
#include "common/paths.h"
#include "testing/file_bytes.h"
#include "testing/test_support.h"

using namespace ovd;
namespace fs = std::filesystem;

TEST(Platform, CzechPathsReachTheFileSystemAndComeBackAsTheyWereWritten)
{
    TempDir dir;
    const std::string folder = dir.path("Studie Žďár");
    ASSERT_TRUE(fs::create_directory(fsPath(folder)));
    const std::string file = folder + "/výsledky roční.dbf";
    ASSERT_TRUE(writeInPlace(file, "ěščř"));
    EXPECT_EQ(contentOf(file), "ěščř");
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(fsPath(folder)))
        names.push_back(utf8Path(e.path().filename()));
    EXPECT_EQ(names, std::vector<std::string>{"výsledky roční.dbf"});
    EXPECT_EQ(utf8Path(fsPath("a/Žďár/b.txt")), "a/Žďár/b.txt");
    // The folder's part of a path through std::filesystem keeps its letters (with "/" between
    // the folders, also where the system's temporary folder came with "\\").
    EXPECT_EQ(utf8Path(fsPath(file).parent_path()), utf8Path(fsPath(folder)));
    EXPECT_EQ(fileNameOf(utf8Path(fsPath(file).parent_path())), "Studie Žďár");
}

TEST(Platform, PathKindsAndIdentitiesTellFilesFoldersAndOtherSpellingsApart)
{
    TempDir dir;
    const std::string a = dir.path("čára.txt"), b = dir.path("bod.txt");
    ASSERT_TRUE(writeInPlace(a, "1") && writeInPlace(b, "2"));
    EXPECT_EQ(pathKind(a), PathKind::Regular);
    EXPECT_EQ(pathKind(dir.root()), PathKind::Folder);
    EXPECT_EQ(pathKind(dir.path("chybí.txt")), PathKind::Missing);
    EXPECT_EQ(pathKind(""), PathKind::Missing);
    const std::optional<FileIdentity> ia = fileIdentity(a), ib = fileIdentity(b);
    ASSERT_TRUE(ia && ib);
    EXPECT_NE(*ia, *ib);
    EXPECT_EQ(fileIdentity(dir.root() + "/./čára.txt"), ia);
    EXPECT_FALSE(fileIdentity(dir.path("chybí.txt")));
    EXPECT_TRUE(samePath(a, dir.root() + "/./čára.txt"));
    EXPECT_FALSE(samePath(a, b));
}

TEST(Platform, ReplacingAndRemovingFiles)
{
    TempDir dir;
    const std::string target = dir.path("roční.dbf"), fresh = dir.path("roční.dbf.nový");
    ASSERT_TRUE(writeInPlace(target, "old") && writeInPlace(fresh, "new"));
    ASSERT_TRUE(replaceFile(fresh, target));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(pathKind(fresh), PathKind::Missing);
    // Nothing to rename: the target stays.
    EXPECT_FALSE(replaceFile(fresh, target));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_TRUE(removeFile(target));
    EXPECT_EQ(pathKind(target), PathKind::Missing);
    errno = 0;
    EXPECT_FALSE(removeFile(target));
    EXPECT_EQ(errno, ENOENT);
    // A folder is no file to remove.
    EXPECT_FALSE(removeFile(dir.root()));
    EXPECT_EQ(pathKind(dir.root()), PathKind::Folder);
}

TEST(Platform, FoldersAreRenamedAndExchangedOrLeftAsTheyWere)
{
    TempDir dir;
    const std::string a = dir.path("dlaždice"), b = dir.path("dlaždice.nové"), c = dir.path("dlaždice.staré");
    ASSERT_TRUE(fs::create_directory(fsPath(a)) && fs::create_directory(fsPath(b)));
    ASSERT_TRUE(writeInPlace(a + "/jedna.txt", "a") && writeInPlace(b + "/dvě.txt", "b"));
    if (exchangeFolders(a, b)) {
        EXPECT_EQ(contentOf(a + "/dvě.txt"), "b");
        EXPECT_EQ(contentOf(b + "/jedna.txt"), "a");
        ASSERT_TRUE(exchangeFolders(a, b));
    }
    // Exchanged back, or never: each folder holds its own file.
    EXPECT_EQ(contentOf(a + "/jedna.txt"), "a");
    EXPECT_EQ(contentOf(b + "/dvě.txt"), "b");
    ASSERT_TRUE(renameFolder(a, c));
    EXPECT_EQ(pathKind(a), PathKind::Missing);
    EXPECT_EQ(contentOf(c + "/jedna.txt"), "a");
    EXPECT_FALSE(renameFolder(dir.path("žádná"), dir.path("jiná")));
}

TEST(Platform, AHardLinkIsTheSameFile)
{
    TempDir dir;
    const std::string a = dir.path("matice.bin"), link = dir.path("matice – odkaz.bin");
    ASSERT_TRUE(writeInPlace(a, "bytes"));
    if (!hardLink(a, link))
        GTEST_SKIP() << "the file system has no hard links";
    EXPECT_EQ(contentOf(link), "bytes");
    EXPECT_EQ(fileIdentity(a), fileIdentity(link));
    EXPECT_FALSE(hardLink(a, link)) << "a link over an existing name";
    EXPECT_FALSE(hardLink(dir.path("chybí.bin"), dir.path("x.bin")));
}

TEST(Platform, UniqueFilesAreNewEmptyAndNamedAfterThePrefix)
{
    TempDir dir;
    std::set<std::string> made;
    for (int i = 0; i < 20; ++i) {
        const std::optional<std::string> path = createUniqueFileIn(dir.root() + "/", "ÚDAJ_");
        ASSERT_TRUE(path);
        EXPECT_EQ(fileNameOf(*path).rfind("ÚDAJ_", 0), 0u) << *path;
        EXPECT_EQ(fileNameOf(*path).size(), std::string("ÚDAJ_").size() + 6) << *path;
        EXPECT_EQ(contentOf(*path), "");
        made.insert(*path);
    }
    EXPECT_EQ(made.size(), 20u);
    EXPECT_FALSE(createUniqueFileIn(dir.path("chybí") + "/", "x"));
}

TEST(Platform, PathsStartingAtARoot)
{
    EXPECT_TRUE(startsAtRoot("/data/teren.txt"));
    EXPECT_FALSE(startsAtRoot("data/teren.txt"));
    EXPECT_FALSE(startsAtRoot("./teren.txt"));
    EXPECT_FALSE(startsAtRoot(""));
#ifdef _WIN32
    EXPECT_TRUE(startsAtRoot("C:/data/teren.txt"));
    EXPECT_TRUE(startsAtRoot("d:\\data\\teren.txt"));
    EXPECT_TRUE(startsAtRoot("\\\\server\\share\\teren.txt"));
    EXPECT_FALSE(startsAtRoot("C:teren.txt"));  // relative to drive C's current folder
#else
    EXPECT_FALSE(startsAtRoot("C:/data/teren.txt"));  // a folder named "C:"
    EXPECT_FALSE(startsAtRoot("\\data"));
#endif
}

TEST(Platform, EnvironmentValuesAndTheSettingsFolder)
{
    EXPECT_FALSE(environmentValue("OVARDIX_SURELY_NOT_SET_ANYWHERE"));
    const std::optional<std::string> base = settingsBaseFolder();
    if (base) {
        ASSERT_FALSE(base->empty());
        EXPECT_TRUE(base->back() == '/' || base->back() == '\\') << *base;
    }
    const std::optional<std::string> data = installedDataFolder();
    ASSERT_TRUE(data) << "the program's own path is unknown";
    ASSERT_FALSE(data->empty());
    EXPECT_TRUE(data->back() == '/' || data->back() == '\\') << *data;
#ifdef _WIN32
    EXPECT_EQ(pathKind(*data), PathKind::Folder) << *data;  // the program's own
#else
    EXPECT_EQ(data->substr(data->size() - 17), "../share/ovardix/") << *data;
#endif
}
