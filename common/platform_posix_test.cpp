#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "common/platform.h"
#include "testing/test_support.h"

namespace ovd {
namespace {

TEST(PlatformPosix, UtcTimeOfKnownInstants)
{
    const std::tm epoch = utcTime(0);
    EXPECT_EQ(epoch.tm_year, 70);
    EXPECT_EQ(epoch.tm_mon, 0);
    EXPECT_EQ(epoch.tm_mday, 1);
    // A leap day and the last second of a day: whatever the process's time zone.
    const std::tm leap = utcTime(951868799);  // 2000-02-29 23:59:59 UTC
    EXPECT_EQ(leap.tm_year, 100);
    EXPECT_EQ(leap.tm_mon, 1);
    EXPECT_EQ(leap.tm_mday, 29);
    EXPECT_EQ(leap.tm_hour, 23);
    EXPECT_EQ(leap.tm_sec, 59);
}

TEST(PlatformPosix, FileStampKeepsNanosecondsAndSize)
{
    TempDir dir;
    const std::string path = dir.path("vstup.txt");
    std::ofstream(path) << "12345";
    const timespec times[2] = {{1700000000, 5}, {1700000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    std::optional<FileStamp> stamp = fileStamp(path);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->size, 5);
    EXPECT_EQ(stamp->modifiedNs, 1700000000123456789LL);
    EXPECT_FALSE(fileStamp(dir.path("chybi.txt")));
}

TEST(PlatformPosix, RegularInputsOnly)
{
    TempDir dir;
    std::ofstream(dir.path("vstup.bin")) << "ab";
    std::FILE* fp = openRegularInput(dir.path("vstup.bin"));
    ASSERT_TRUE(fp);
    EXPECT_EQ(std::fgetc(fp), 'a');
    std::fclose(fp);
    // A FIFO without a writer is refused at once instead of blocking the open.
    ASSERT_EQ(::mkfifo(dir.path("roura").c_str(), 0600), 0);
    errno = 0;
    EXPECT_FALSE(openRegularInput(dir.path("roura")));
    EXPECT_EQ(errno, EINVAL);
    std::filesystem::create_directory(dir.path("slozka"));
    EXPECT_FALSE(openRegularInput(dir.path("slozka")));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(openRegularInput(dir.path("chybi.bin")));
    EXPECT_EQ(errno, ENOENT);
}

TEST(PlatformPosix, SymbolicLinkTargetAsTheLinkHoldsIt)
{
    TempDir dir;
    std::ofstream(dir.path("cil.txt")) << "x";
    ASSERT_EQ(::symlink("cil.txt", dir.path("odkaz").c_str()), 0);
    ASSERT_EQ(::symlink(dir.path("cil.txt").c_str(), dir.path("absolutni").c_str()), 0);
    EXPECT_EQ(symbolicLinkTarget(dir.path("odkaz")), "cil.txt");
    EXPECT_EQ(symbolicLinkTarget(dir.path("absolutni")), dir.path("cil.txt"));
    EXPECT_FALSE(symbolicLinkTarget(dir.path("cil.txt")));  // a file, not a link
    EXPECT_FALSE(symbolicLinkTarget(dir.path("chybi")));
}

}  // namespace
}  // namespace ovd
