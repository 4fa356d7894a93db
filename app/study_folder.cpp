#include "study_folder.h"

#include <cctype>
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
    return std::filesystem::is_directory(fsPath(path), ec);
}

// A service's address ("http://...", "WMS:...", "WMTS:...") or a description given as text:
// no file to rebase. One letter before the colon is a drive ("C:").
bool namesService(const std::string& value)
{
    if (value.find("://") != std::string::npos || value.rfind('<', 0) == 0)
        return true;
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    for (std::size_t i = 0; i < colon; ++i)
        if (!std::isalpha(static_cast<unsigned char>(value[i])))
            return false;
    return true;
}

// Whether a value typed for an option that takes a file names one: not empty, not the number
// or the service's address the option also takes instead.
bool namesFile(PathUse use, const std::string& value)
{
    return !value.empty() && !(use == PathUse::FileOrNumber && parseDecimal(value)) &&
        !(use == PathUse::FileOrService && namesService(value));
}

}  // namespace

bool enterStudyFolder(Project& project, Profile& profile, std::vector<std::string>& args, CommandArgs& options,
                      std::string_view command, std::span<const OptionSpec> declared, Reporter& reporter)
{
    // Reading one key needs no folder, and its messages name the project as it was given.
    const std::string folder = folderOf(project.path());
    // A project not made yet holds no paths to find there; its messages name it as given.
    std::error_code exists;
    if (folder.empty() || !isFolder(folder) || command == "get" ||
        !std::filesystem::exists(fsPath(project.path()), exists))
        return true;
    std::error_code ec;
    const std::string start = utf8Path(std::filesystem::current_path(ec));
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
    std::size_t position = 0;  // among the positional values after the project
    for (const OptionSpec& declaration : declared) {
        std::string* positional =
            declaration.positional && position < args.size() ? &args[position] : nullptr;
        if (declaration.positional)
            ++position;
        if (declaration.path == PathUse::None)
            continue;
        if (positional) {
            if (namesFile(declaration.path, *positional))
                *positional = rebasedPath(*positional, start);
        } else if (!declaration.positional && options.has(declaration.name)) {
            // Every value of a repeated option, each as it was typed.
            std::vector<std::string> values = options.all(declaration.name);
            for (std::string& v : values)
                if (namesFile(declaration.path, v))
                    v = rebasedPath(v, start);
            options.setAll(declaration.name, std::move(values));
        }
    }
    return true;
}

}  // namespace ovd
