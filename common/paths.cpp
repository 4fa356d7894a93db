#include "paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform.h"

namespace ovd {

static std::size_t lastSeparator(std::string_view path)
{
    return path.find_last_of("/\\");
}

std::string folderOf(std::string_view path)
{
    std::size_t pos = lastSeparator(path);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string fileNameOf(std::string_view path)
{
    std::size_t pos = lastSeparator(path);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string stemOf(std::string_view path)
{
    std::string name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string derivedName(std::string_view path, std::string_view lastThree)
{
    std::size_t keep = path.size() >= 3 ? path.size() - 3 : 0;
    return std::string(path.substr(0, keep)) + std::string(lastThree);
}

bool fileExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isRegularFile(const std::string& path)
{
    return fileExists(path);
}

bool isNonRegular(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string resolvedPath(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path abs = fs::absolute(path, ec);
    if (ec)
        return path;
    fs::path canon = fs::weakly_canonical(abs, ec);
    return (ec ? abs.lexically_normal() : canon).string();
}

std::string followLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::optional<std::string> target = symbolicLinkTarget(current);
        if (!target)
            return current;
        const std::string& link = *target;
        current = link.front() == '/' ? link : folderOf(current) + link;
    }
    return current;  // a loop of links: opening it fails with the usual message
}

std::optional<long long> fileSize(const std::string& path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<long long>(st.st_size);
}

bool isWritableFolder(const std::string& folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

std::string tempFolder()
{
    for (const char* var : {"TMPDIR", "TMP", "TEMP"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            std::string dir(v);
            if (dir.back() != '/')
                dir.push_back('/');
            return dir;
        }
    }
    return "/tmp/";
}

std::optional<std::string> createUniqueFile(const std::string& folder, std::string_view prefix)
{
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '/')
        pattern.push_back('/');
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

}  // namespace ovd
