#pragma once
// What the operating system gives differently on POSIX and on Windows, behind one interface:
// platform_posix.cpp and platform_win32.cpp implement it, the build picks one. Paths are
// UTF-8 on both; the Windows side hands them to the API as UTF-16.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

namespace ovd {

// The calendar time of `t` in UTC (thread-safe, unlike std::gmtime).
std::tm utcTime(std::time_t t);

// A file's size and last modification, in nanoseconds since 1970-01-01 UTC (as finely as the
// file system keeps it): what tells a changed input from the one a checkpoint was made with.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
};
// None when the file cannot be examined (missing, no permission).
std::optional<FileStamp> fileStamp(const std::string& path);

// std::fopen of a UTF-8 path (on Windows through its UTF-16 name, so Czech names open).
std::FILE* openFile(const std::string& path, const char* mode);
// A regular file opened for binary reading; null, errno EINVAL, for anything else (a FIFO or
// device would block or never end, a folder reads nothing), errno as the system set it when
// it cannot be opened.
std::FILE* openRegularInput(const std::string& path);

// The target of the symbolic link `path` as the link holds it (relative to the link's folder
// when it does not start at a root); none when `path` is not a link.
std::optional<std::string> symbolicLinkTarget(const std::string& path);

// Switches the calling thread's C library to the C locale (numbers with ".") for the scope's
// lifetime, whatever locale the process runs in.
class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    void* m_previous = nullptr;  // POSIX: the thread's locale_t before
    int m_mode = 0;              // Win32: the thread's locale mode before
    std::string m_saved;         // Win32: the thread's locale name before
};

}  // namespace ovd
