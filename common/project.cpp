#include "project.h"

#include "file_io.h"
#include "paths.h"

namespace ovd {

Project Project::open(const std::string& path)
{
    Project p;
    p.setPath(path);
    return p;
}

std::optional<Project> Project::createUntitled(const std::string& folder)
{
    auto path = createUniqueFile(folder.empty() ? tempFolder() : folder, "OVD_");
    if (!path)
        return std::nullopt;
    Project p;
    p.setPath(*path);
    p.m_untitled = true;
    return p;
}

std::string Project::windowTitle() const
{
    return m_untitled ? std::string("Bez názvu - Ovardix") : path() + " - Ovardix";
}

Project::SaveResult Project::saveAs(const std::string& target, Reporter& reporter)
{
    if (target.empty())
        return SaveResult::Failed;
    bool same = samePath(path(), target);
    if (!same && !confirmOverwrite(reporter, target))
        return SaveResult::Declined;
    if (!same) {
        // A project not yet written to has no file and saves as an empty one.
        auto bytes = readFileBytes(path());
        if (!bytes && fileExists(path())) {
            reporter.message(Severity::Error, kCaptionError, "Nelze přečíst soubor " + path());
            return SaveResult::Failed;
        }
        if (!writeFileAtomically(target, bytes.value_or(std::string()))) {
            reporter.message(Severity::Error, kCaptionError, "Nepodařilo se uložit soubor " + target);
            return SaveResult::Failed;
        }
    }
    setPath(target);
    m_untitled = false;
    return SaveResult::Saved;
}

}  // namespace ovd
