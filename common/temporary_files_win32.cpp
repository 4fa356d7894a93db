#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "paths.h"
#include "platform_win32.h"
#include "temporary_files.h"

namespace ovd {

namespace {

std::string randomSuffix(std::mt19937& gen)
{
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kChars) - 2);
    std::string s(6, 'A');
    for (char& c : s)
        c = kChars[pick(gen)];
    return s;
}

}  // namespace

// Held by being open: the writer shares it for reading and deleting (it is renamed and may be
// discarded while open), never for an exclusive open, which is how a cleaner tells it is alive.
// Windows keeps no permission bits to copy from `like`.
std::FILE* createHeldTemporary(const std::string& target, std::string_view infix, const std::string&,
                               std::string& name)
{
    std::random_device seed;
    std::mt19937 gen(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + std::string(infix) + randomSuffix(gen);
        const std::wstring wide = widePath(name);
        HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
            return nullptr;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
        std::FILE* fp = fd < 0 ? nullptr : _fdopen(fd, "wb");
        if (!fp) {
            FILE_DISPOSITION_INFO gone{TRUE};
            SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone);
            fd < 0 ? CloseHandle(h) : _close(fd);
        }
        return fp;
    }
    errno = EEXIST;
    return nullptr;
}

void removeUnheldTemporaries(const std::string& target, std::string_view infix)
{
    namespace fs = std::filesystem;
    const std::string folder = folderOf(target);
    const std::string prefix = fileNameOf(target) + std::string(infix);
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(widePath(folder.empty() ? "." : folder)), ec)) {
        const std::u8string u8 = e.path().filename().u8string();
        const std::string name(u8.begin(), u8.end());
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0 ||
            !e.is_regular_file(ec) || e.is_symlink(ec))
            continue;
        // An exclusive open succeeds only when no writer has the file open; closing deletes it.
        HANDLE h = CreateFileW(e.path().c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
}

}  // namespace ovd
