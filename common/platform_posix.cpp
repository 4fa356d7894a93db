#include "platform.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace ovd {

std::tm utcTime(std::time_t t)
{
    std::tm utc{};
    gmtime_r(&t, &utc);
    return utc;
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileStamp{static_cast<std::int64_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::FILE* openFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::FILE* openRegularInput(const std::string& path)
{
    // Non-blocking only for the open itself: opening a FIFO without a writer would wait.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* fp = ::fdopen(fd, "rb");
    if (!fp)
        ::close(fd);
    return fp;
}

std::optional<std::string> symbolicLinkTarget(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return std::nullopt;
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size() - 1);
    if (n <= 0)
        return std::nullopt;
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

namespace {

locale_t cLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

CLocaleScope::CLocaleScope() : m_previous(uselocale(cLocale())) {}

CLocaleScope::~CLocaleScope()
{
    uselocale(static_cast<locale_t>(m_previous));
}

}  // namespace ovd
