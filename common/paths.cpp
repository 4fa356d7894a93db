#include "paths.h"

#include <filesystem>

#include "platform.h"

namespace ovd {

std::filesystem::path fsPath(std::string_view utf8)
{
    return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

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
    return pathKind(path) == PathKind::Regular;
}

bool isRegularFile(const std::string& path)
{
    return fileExists(path);
}

bool isNonRegular(const std::string& path)
{
    const PathKind kind = pathKind(path);
    return kind != PathKind::Missing && kind != PathKind::Regular;
}

std::string resolvedPath(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path abs = fs::absolute(fsPath(path), ec);
    if (ec)
        return path;
    fs::path canon = fs::weakly_canonical(abs, ec);
    return utf8Path(ec ? abs.lexically_normal() : canon);
}

std::string followLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::optional<std::string> target = symbolicLinkTarget(current);
        if (!target)
            return current;
        const std::string& link = *target;
        current = startsAtRoot(link) ? link : folderOf(current) + link;
    }
    return current;  // a loop of links: opening it fails with the usual message
}

std::optional<long long> fileSize(const std::string& path)
{
    if (pathKind(path) != PathKind::Regular)
        return std::nullopt;
    const std::optional<FileStamp> stamp = fileStamp(path);
    if (!stamp)
        return std::nullopt;
    return static_cast<long long>(stamp->size);
}

bool isWritableFolder(const std::string& folder)
{
    return folderWritable(folder);
}

std::string tempFolder()
{
    for (const char* var : {"TMPDIR", "TMP", "TEMP"}) {
        const std::optional<std::string> v = environmentValue(var);
        if (v && !v->empty()) {
            std::string dir(*v);
            if (dir.back() != '/')
                dir.push_back('/');
            return dir;
        }
    }
    return "/tmp/";
}

std::optional<std::string> createUniqueFile(const std::string& folder, std::string_view prefix)
{
    std::string withSeparator = folder;
    if (!withSeparator.empty() && withSeparator.back() != '/')
        withSeparator.push_back('/');
    return createUniqueFileIn(withSeparator, prefix);
}

}  // namespace ovd
