#include "study_folder.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/paths.h"
#include "common/project_paths.h"

namespace ovd {

namespace {

bool isFolder(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace

bool enterStudyFolder(Project& project, Profile& profile, std::vector<std::string>& args, std::string_view command,
                      Reporter& reporter)
{
    // Reading one key needs no folder, and its messages name the project as it was given.
    const std::string folder = folderOf(project.path());
    if (folder.empty() || !isFolder(folder) || command == "get")
        return true;
    std::error_code ec;
    const std::string start = std::filesystem::current_path(ec).string();
    if (ec)
        return true;
    const std::string profilePath = resolvedPath(profile.path());
    std::optional<std::string> inFolder = enterProjectFolder(project.path());
    if (!inFolder) {
        reporter.error("Složku projektu " + folder + " nelze otevřít !");
        return false;
    }
    project = Project::open(*inFolder);
    profile = Profile(profilePath);
    bool positionalSeen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string& a = args[i];
        if ((a == "--out" || a == "--table") && i + 1 < args.size()) {
            args[i + 1] = rebasedPath(args[i + 1], start);
            ++i;
        } else if (a.rfind("--out=", 0) == 0 || a.rfind("--table=", 0) == 0) {
            const std::size_t eq = a.find('=') + 1;
            a = a.substr(0, eq) + rebasedPath(a.substr(eq), start);
        } else if (a.rfind("--", 0) != 0 && command == "matrix-export" && !positionalSeen) {
            a = rebasedPath(a, start);
            positionalSeen = true;
        }
    }
    return true;
}

}  // namespace ovd
