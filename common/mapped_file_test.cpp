#include "common/mapped_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "common/paths.h"
#include "testing/test_support.h"

using namespace ovd;

namespace {

bool write(const std::string& path, std::string_view bytes)
{
    File f;
    return f.open(path, "wb") && f.write(bytes) && f.close();
}

std::string bytesOf(const MappedFile& m)
{
    return std::string(reinterpret_cast<const char*>(m.data()), static_cast<std::size_t>(m.size()));
}

}  // namespace

TEST(MappedFile, MapsTheWholeFileOrItsFirstBytes)
{
    TempDir dir;
    const std::string path = dir.path("terén.bin");
    ASSERT_TRUE(write(path, std::string("ab\0cd", 5)));
    MappedFile whole;
    ASSERT_EQ(whole.open(path), MappedFile::Status::Mapped);
    EXPECT_EQ(bytesOf(whole), std::string("ab\0cd", 5));
    EXPECT_EQ(whole.fileSize(), 5u);
    whole.willNeed();
    MappedFile prefix;
    ASSERT_EQ(prefix.open(path, 3), MappedFile::Status::Mapped);
    EXPECT_EQ(bytesOf(prefix), std::string("ab\0", 3));
    EXPECT_EQ(prefix.fileSize(), 5u);
    // Moved, the mapping goes with the new owner; closed, nothing is left.
    MappedFile moved = std::move(prefix);
    EXPECT_EQ(prefix.data(), nullptr);
    EXPECT_EQ(prefix.size(), 0u);
    EXPECT_EQ(bytesOf(moved), std::string("ab\0", 3));
    moved.close();
    EXPECT_EQ(moved.data(), nullptr);
#ifdef _WIN32
    // Windows keeps a mapped file from being replaced (after the tries of a few seconds the
    // write is refused and the old file stays); once the mapping is closed it can be.
    EXPECT_FALSE(writeFileAtomically(path, "xyzzy"));
    EXPECT_EQ(bytesOf(whole), std::string("ab\0cd", 5));
    whole.close();
    ASSERT_TRUE(writeFileAtomically(path, "xyzzy"));
#else
    // The file can be replaced while it is mapped: the mapping keeps what it had.
    ASSERT_TRUE(writeFileAtomically(path, "xyzzy"));
    EXPECT_EQ(bytesOf(whole), std::string("ab\0cd", 5));
#endif
}

TEST(MappedFile, SaysWhyItMapsNothing)
{
    TempDir dir;
    MappedFile m;
    EXPECT_EQ(m.open(dir.path("chybí.bin")), MappedFile::Status::CannotOpen);
    EXPECT_EQ(m.open(dir.root()), MappedFile::Status::CannotOpen);
    ASSERT_TRUE(write(dir.path("prázdný.bin"), ""));
    EXPECT_EQ(m.open(dir.path("prázdný.bin")), MappedFile::Status::Empty);
    ASSERT_TRUE(write(dir.path("krátký.bin"), "abc"));
    EXPECT_EQ(m.open(dir.path("krátký.bin"), 4), MappedFile::Status::TooShort);
    EXPECT_EQ(m.data(), nullptr);
    // A failed open drops what was mapped before.
    ASSERT_EQ(m.open(dir.path("krátký.bin")), MappedFile::Status::Mapped);
    EXPECT_EQ(m.open(dir.path("chybí.bin")), MappedFile::Status::CannotOpen);
    EXPECT_EQ(m.data(), nullptr);
    EXPECT_EQ(m.size(), 0u);
}
