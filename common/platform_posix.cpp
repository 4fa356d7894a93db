#include "platform.h"

#include <fcntl.h>
#include <locale.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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

PathKind pathKind(const std::string& path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return PathKind::Missing;
    return S_ISREG(st.st_mode) ? PathKind::Regular : S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::Other;
}

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool renameFolder(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool exchangeFolders(const std::string& a, const std::string& b)
{
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

bool hardLink(const std::string& existing, const std::string& link)
{
    return ::link(existing.c_str(), link.c_str()) == 0;
}

bool startsAtRoot(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

bool folderWritable(const std::string& folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> createUniqueFileIn(const std::string& folder, std::string_view prefix)
{
    std::string pattern = folder;
    pattern.append(prefix);
    pattern.append("XXXXXX");
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = ::mkstemp(buf.data());
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    return std::string(buf.data());
}

std::optional<std::string> environmentValue(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
}

std::optional<std::string> settingsBaseFolder()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        return std::nullopt;
    if (base.back() != '/')
        base.push_back('/');
    return base;
}

std::optional<std::string> installedDataFolder()
{
    char exe[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return std::nullopt;
    const std::string_view path(exe, static_cast<std::size_t>(n));
    return std::string(path.substr(0, path.rfind('/') + 1)) + "../share/ovardix/";
}

std::vector<std::string> programArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void useUtf8Console() { }

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
