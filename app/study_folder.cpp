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
    return std::filesystem::is_directory(path, ec);
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

}  // namespace

bool enterStudyFolder(Project& project, Profile& profile, std::vector<std::string>& args, CommandArgs& options,
                      std::string_view command, std::span<const OptionSpec> declared, Reporter& reporter)
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
    std::size_t position = 0;  // among the positional values after the project
    for (const OptionSpec& spec : declared) {
        std::string* positional = spec.positional && position < args.size() ? &args[position] : nullptr;
        if (spec.positional)
            ++position;
        if (spec.path == PathUse::None)
            continue;
        std::optional<std::string> value = positional ? std::optional<std::string>(*positional) : options.text(spec.name);
        if (!value || value->empty() || (spec.path == PathUse::FileOrNumber && parseDecimal(*value)) ||
            (spec.path == PathUse::FileOrService && namesService(*value)))
            continue;
        if (positional) {
            *positional = rebasedPath(*value, start);
        } else if (!spec.positional) {
            std::vector<std::string> values = options.all(spec.name);
            for (std::string& v : values)
                if (!v.empty() && !(spec.path == PathUse::FileOrNumber && parseDecimal(v)))
                    v = rebasedPath(v, start);
            options.setAll(spec.name, std::move(values));
        }
    }
    return true;
}

}  // namespace ovd
