#include "platform.h"

#include <windows.h>

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <clocale>
#include <filesystem>
#include <random>

#include "paths.h"
#include "platform_win32.h"
#include "text.h"

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

std::string utf8Text(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
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
    if (wide.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    const std::string_view m(mode);
    const bool update = m.find('+') != std::string_view::npos;
    DWORD access = 0, disposition = 0;
    int flags = _O_BINARY;
    switch (m.empty() ? 'r' : m.front()) {
    case 'w':
        access = GENERIC_WRITE | (update ? GENERIC_READ : 0);
        disposition = CREATE_ALWAYS;
        flags |= update ? _O_RDWR : _O_WRONLY;
        break;
    case 'a':
        access = GENERIC_WRITE | (update ? GENERIC_READ : 0);
        disposition = OPEN_ALWAYS;
        flags |= (update ? _O_RDWR : _O_WRONLY) | _O_APPEND;
        break;
    default:
        access = GENERIC_READ | (update ? GENERIC_WRITE : 0);
        disposition = OPEN_EXISTING;
        flags |= update ? _O_RDWR : _O_RDONLY;
        break;
    }
    // Shared for deleting too, as a POSIX file is: an output can be replaced or removed while
    // this one is open, and nobody's open file stops the program's own renames.
    HANDLE h = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        errno = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ENOENT
            : err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION ? EACCES
                                                                           : EIO;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), flags);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    // Always binary: the bytes on the disk are the program's, as on POSIX (text mode would
    // turn every "\n" into "\r\n", also in the legacy protocols that write "\r\n" themselves).
    std::string binary(m);
    if (binary.find('b') == std::string::npos)
        binary.push_back('b');
    std::FILE* fp = _fdopen(fd, binary.c_str());
    if (!fp)
        _close(fd);
    return fp;
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

// True for a name Windows keeps for a device in every folder ("NUL", "con.txt", "COM1"):
// such a path is never a file of that name.
static bool isReservedDeviceName(const std::string& path)
{
    std::string name = fileNameOf(path);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && (name.back() == ' ' || name.back() == ':'))
        name.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (equalsIgnoreCase(name, device))
            return true;
    const std::string_view port = std::string_view(name).substr(0, 3);
    return name.size() == 4 && (equalsIgnoreCase(port, "COM") || equalsIgnoreCase(port, "LPT")) && name[3] >= '1' &&
        name[3] <= '9';
}

PathKind pathKind(const std::string& path)
{
    if (isReservedDeviceName(path))
        return PathKind::Other;
    const std::wstring wide = widePath(path);
    const DWORD attributes = wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder
        : (attributes & FILE_ATTRIBUTE_DEVICE)     ? PathKind::Other
                                                   : PathKind::Regular;
}

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (wide.empty())
        return std::nullopt;
    // No access asked: only the file's numbers are read; folders need backup semantics.
    HANDLE h = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool removeFile(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (!wide.empty() && DeleteFileW(wide.c_str()))
        return true;
    const DWORD err = wide.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
    errno = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
    return false;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    const std::wstring a = widePath(from), b = widePath(to);
    if (a.empty() || b.empty())
        return false;
    // A target another program holds open without sharing it for deleting (a viewer, a virus
    // scanner looking at the new file) refuses the rename for as long as it holds it: tried
    // again for up to about 3 s.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD err = GetLastError();
        if ((err != ERROR_ACCESS_DENIED && err != ERROR_SHARING_VIOLATION) || attempt == 30)
            return false;
        Sleep(attempt < 10 ? 10 : 150);
    }
}

bool renameFolder(const std::string& from, const std::string& to)
{
    const std::wstring a = widePath(from), b = widePath(to);
    return !a.empty() && !b.empty() && MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

// Windows has no exchange of two names: the caller renames twice.
bool exchangeFolders(const std::string&, const std::string&)
{
    return false;
}

bool hardLink(const std::string& existing, const std::string& link)
{
    const std::wstring a = widePath(existing), b = widePath(link);
    return !a.empty() && !b.empty() && CreateHardLinkW(b.c_str(), a.c_str(), nullptr) != 0;
}

bool startsAtRoot(std::string_view path)
{
    auto separator = [](char c) { return c == '/' || c == '\\'; };
    if (!path.empty() && separator(path.front()))
        return true;
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
        path[1] == ':' && separator(path[2]);
}

bool folderWritable(const std::string& folder)
{
    const std::wstring wide = widePath(folder.empty() ? "." : folder);
    const DWORD attributes = wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        _waccess(wide.c_str(), 2) == 0;
}

std::optional<std::string> createUniqueFileIn(const std::string& folder, std::string_view prefix)
{
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 gen(seed());
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder + std::string(prefix);
        for (int i = 0; i < 6; ++i)
            name.push_back(kChars[pick(gen)]);
        const std::wstring wide = widePath(name);
        HANDLE h = wide.empty()
            ? INVALID_HANDLE_VALUE
            : CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return name;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> environmentValue(const char* name)
{
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* v = _wgetenv(wideName.c_str());
    return v ? std::optional<std::string>(utf8Text(v)) : std::nullopt;
}

std::optional<std::string> settingsBaseFolder()
{
    std::optional<std::string> base = environmentValue("APPDATA");
    if (!base || base->empty())
        return std::nullopt;
    if (base->back() != '/' && base->back() != '\\')
        base->push_back('/');
    return base;
}

std::optional<std::string> installedDataFolder()
{
    std::wstring exe(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n == 0 || n >= exe.size())
        return std::nullopt;
    exe.resize(n);
    const std::string path = utf8Text(exe);
    return path.substr(0, path.find_last_of("/\\") + 1);
}

std::vector<std::string> programArguments(int argc, char** argv)
{
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < n; ++i)
        args.push_back(utf8Text(wide[i]));
    LocalFree(wide);
    return args;
}

void useUtf8Console()
{
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
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
