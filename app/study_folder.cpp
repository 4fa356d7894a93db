#include "study_folder.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/numbers.h"
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

bool enterStudyFolder(Project& project, Profile& profile, std::vector<std::string>& args, CommandArgs& options,
                      std::string_view command, Reporter& reporter)
{
    // Reading one key needs no folder, and its messages name the project as it was given.
    const std::string folder = folderOf(project.path());
    // A project not made yet holds no paths to find there; its messages name it as given.
    std::error_code exists;
    if (folder.empty() || !isFolder(folder) || command == "get" || !std::filesystem::exists(project.path(), exists))
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
    // Options that name files; --background may also be one number.
    for (std::string_view name : {"--out", "--table", "--shares", "--base", "--variant", "--limits", "--background"}) {
        std::optional<std::string> value = options.text(name);
        if (!value || value->empty() || (name == "--background" && parseDecimal(*value)))
            continue;
        options.set(name, rebasedPath(*value, start));
    }
    if (command == "matrix-export" && !args.empty())
        args.front() = rebasedPath(args.front(), start);
    return true;
}

}  // namespace ovd
