#include "output_paths.h"

#include "file_io.h"
#include "paths.h"
#include "text.h"

namespace ovd {

std::string sharedFileText(const NamedPath& first, const NamedPath& second)
{
    return "Soubor " + second.path + " je zadán jako " + first.role + " i jako " + second.role +
        ".\nZvolte pro výstup jiný soubor.";
}

bool refuseSharedFiles(Reporter& rep, const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs)
{
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& out = outputs[i];
        if (out.path.empty())
            continue;
        for (const NamedPath& in : inputs)
            if (samePath(in.path, out.path)) {
                rep.error(sharedFileText(in, out));
                return false;
            }
        for (std::size_t j = 0; j < i; ++j)
            if (samePath(outputs[j].path, out.path)) {
                rep.error(sharedFileText(outputs[j], out));
                return false;
            }
    }
    return true;
}

std::vector<ProjectValue> projectValues(const std::string& projectFile)
{
    std::vector<ProjectValue> values;
    std::optional<std::string> bytes = projectFile.empty() ? std::nullopt : readFileBytes(projectFile);
    if (!bytes)
        return values;
    std::string section;
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos)
            end = bytes->size();
        const std::string line = trim(std::string_view(*bytes).substr(start, end - start));
        start = end + 1;
        if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
            section = trim(std::string_view(line).substr(1, line.size() - 2));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || line.front() == ';')
            continue;
        std::string value = trim(std::string_view(line).substr(eq + 1));
        if (!value.empty())
            values.push_back({section, trim(std::string_view(line).substr(0, eq)), std::move(value)});
    }
    return values;
}

std::vector<NamedPath> studyFileRoles(const std::string& projectFile, const std::vector<ProjectKey>& ownKeys)
{
    std::vector<NamedPath> roles;
    for (ProjectValue& v : projectValues(projectFile)) {
        bool own = false;
        for (const ProjectKey& k : ownKeys)
            own = own || (equalsIgnoreCase(k.section, v.section) && equalsIgnoreCase(k.key, v.key));
        if (!own)
            roles.push_back({"soubor studie (klíč [" + v.section + "] " + v.key + ")", std::move(v.value)});
    }
    return roles;
}

bool refuseSharedFiles(const RunContext& ctx, std::vector<NamedPath> inputs, const std::vector<NamedPath>& outputs)
{
    inputs.insert(inputs.begin(), {{kProjectFileRole, ctx.projectFile}, {kProfileRole, ctx.profileFile}});
    if (!refuseSharedFiles(ctx.reporter, inputs, outputs))
        return false;
    if (ctx.unattended || ctx.answeredByOption)
        for (const NamedPath& out : outputs)
            if (!out.path.empty() && !ctx.mayReplaceUnasked(out.path))
                return false;
    return true;
}

}  // namespace ovd
