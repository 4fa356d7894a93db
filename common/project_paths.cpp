#include "project_paths.h"

#include <filesystem>
#include <system_error>

#include "paths.h"
#include "platform.h"

namespace ovd {

namespace fs = std::filesystem;

namespace {

// `path` (absolute, normalised) relative to `folder` when it lies in it or below.
std::optional<std::string> relativeBelow(const std::string& path, const std::string& folder)
{
    std::string f = resolvedPath(folder.empty() ? "." : folder);
    if (f.empty())
        return std::nullopt;
    if (f.back() != '/')
        f += '/';
    if (path.size() <= f.size() || path.compare(0, f.size(), f) != 0)
        return std::nullopt;
    return path.substr(f.size());
}

}  // namespace

std::string pathForProject(const std::string& path, const std::string& projectFile)
{
    if (path.empty())
        return path;
    return relativeBelow(resolvedPath(path), folderOf(projectFile)).value_or(path);
}

std::optional<std::string> enterProjectFolder(const std::string& projectFile)
{
    const std::string folder = folderOf(projectFile);
    if (folder.empty())
        return projectFile;
    std::error_code ec;
    fs::current_path(fsPath(folder), ec);
    if (ec)
        return std::nullopt;
    return fileNameOf(projectFile);
}

std::string rebasedPath(const std::string& path, const std::string& fromFolder)
{
    if (path.empty() || startsAtRoot(path))
        return path;
    const std::string absolute = utf8Path((fsPath(fromFolder) / fsPath(path)).lexically_normal());
    std::error_code ec;
    const std::string here = utf8Path(fs::current_path(ec));
    if (ec)
        return absolute;
    return relativeBelow(resolvedPath(absolute), here).value_or(absolute);
}

}  // namespace ovd
