#include "platform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <clocale>
#include <filesystem>

#include "platform_win32.h"

namespace ovd {

std::wstring widePath(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    if (n <= 0)
        return {};  // not UTF-8: no file has that name
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::tm utcTime(std::time_t t)
{
    std::tm utc{};
    gmtime_s(&utc, &t);
    return utc;
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::wstring wide = widePath(path);
    if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    // FILETIME counts 100 ns steps from 1601-01-01; 11644473600 s lie between 1601 and 1970.
    const std::int64_t ticks = (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                               data.ftLastWriteTime.dwLowDateTime;
    const std::int64_t size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return FileStamp{size, (ticks - 116444736000000000LL) * 100};
}

std::FILE* openFile(const std::string& path, const char* mode)
{
    const std::wstring wide = widePath(path);
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    if (wide.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return _wfopen(wide.c_str(), wideMode.c_str());
}

std::FILE* openRegularInput(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (wide.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
        return nullptr;
    }
    // A disk file, not a pipe, console or device (a folder cannot be opened this way).
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        errno = EINVAL;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* fp = _fdopen(fd, "rb");
    if (!fp)
        _close(fd);
    return fp;
}

std::optional<std::string> symbolicLinkTarget(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path wide(widePath(path));
    if (wide.empty() || !fs::is_symlink(fs::symlink_status(wide, ec)))
        return std::nullopt;
    const fs::path target = fs::read_symlink(wide, ec);
    if (ec || target.empty())
        return std::nullopt;
    const std::u8string text = target.u8string();
    return std::string(text.begin(), text.end());
}

// The Windows C library keeps one locale per process unless a thread asks for its own.
CLocaleScope::CLocaleScope() : m_mode(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE))
{
    if (const char* name = std::setlocale(LC_ALL, nullptr))
        m_saved = name;
    std::setlocale(LC_ALL, "C");
}

CLocaleScope::~CLocaleScope()
{
    if (!m_saved.empty())
        std::setlocale(LC_ALL, m_saved.c_str());
    _configthreadlocale(m_mode);
}

}  // namespace ovd
