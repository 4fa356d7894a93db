#include "tool.h"

#include "file_io.h"
#include "output_kind.h"
#include "output_paths.h"
#include "paths.h"

namespace ovd {

namespace {

// "[Section] Key" of the first project key whose value names `path`; empty when none does.
std::string projectKeyNaming(const std::string& projectFile, const std::string& path)
{
    for (const ProjectValue& v : projectValues(projectFile))
        if (samePath(v.value, path))
            return "[" + v.section + "] " + v.key;
    return {};
}

// True when `path` lies in `folder` or below it (both resolved).
bool isUnder(const std::string& path, const std::string& folder)
{
    std::string f = resolvedPath(folder.empty() ? "." : folder);
    if (f.empty() || f.back() != '/')
        f += '/';
    return resolvedPath(path).rfind(f, 0) == 0;
}

}  // namespace

Answer unattendedAnswer(const Question& q)
{
    return q.kind == QuestionKind::Overwrite ? Answer::Yes : Answer::No;
}

RunContext RunContext::withReporter(Reporter& other) const
{
    RunContext c{other, unattended, projectFile, profileFile, answeredByOption, gis};
    return c;
}

Answer RunContext::ask(const Question& q) const
{
    return unattended ? unattendedAnswer(q) : reporter.ask(q);
}

bool RunContext::mayReplaceUnasked(const std::string& path) const
{
    if (projectFile.empty() || !fileExists(path) || isUnder(path, folderOf(projectFile)) || isOwnOutputKind(path))
        return true;
    const std::string key = projectKeyNaming(projectFile, path);
    reporter.error("Soubor " + path + (key.empty() ? std::string() : " (klíč " + key + ")") +
                   " leží mimo složku projektu a není souborem, který tento program zapisuje.\n"
                   "Bez obsluhy jej nelze přepsat, nic nebylo zapsáno. Zvolte jiný výstupní soubor.");
    return false;
}

bool RunContext::confirmOverwrite(const std::string& path) const
{
    if ((unattended || answeredByOption) && !mayReplaceUnasked(path))
        return false;
    return unattended || ovd::confirmOverwrite(reporter, path);
}

}  // namespace ovd
