#include "run_signatures.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "common/content_hash.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "common/text.h"

namespace ovd {

namespace {

// A run names its inputs in keys such as "VstDbf" and its outputs in keys "Vyst...": an
// output key the tool writes itself never names one of its inputs, even when its file
// exists and the run did not replace it (the shares of a run without them).
bool namesOwnOutput(const ParamInfo& p)
{
    return p.write != ParamWrite::Never && toLowerAscii(p.key).rfind("vyst", 0) == 0;
}

// What can stand in a key or a name of the signature: the separators escaped.
std::string escaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool edgeBlank = c == ' ' && (i == 0 || i + 1 == text.size());
        if (c == '%' || c == '=' || c == ';' || c == '|' || c == '[' || c == ']' || edgeBlank)
            out += cformat("%%%02X", static_cast<unsigned char>(c));
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        std::string hex(text.substr(i + 1, 2));
        if (hex.size() != 2 || !std::isxdigit(static_cast<unsigned char>(hex[0])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[1])))
            return std::nullopt;
        out += static_cast<char>(std::stoi(hex, nullptr, 16));
        i += 2;
    }
    return out;
}

// A name of the signature as the file it stands for, seen from the current folder.
std::string fileOfName(const std::string& name, const std::string& projectFile)
{
    if (name.empty() || name.front() == '/')
        return name;
    return folderOf(projectFile) + name;
}

std::optional<std::vector<SignedInput>> signatureOf(const SettingsFile& project, const std::string& output)
{
    std::string key = signatureKey(output, project.path());
    if (key.empty())
        return std::nullopt;
    std::optional<std::string> value = project.ini().find(kSignatureSection, key);
    if (!value)
        return std::nullopt;
    return parseSignature(*value);
}

void collectChanged(const SettingsFile& project, const std::string& output, int depth,
                    std::set<std::string>& visited, std::vector<std::string>& changed)
{
    if (depth > 16 || !visited.insert(signatureKey(output, project.path())).second)
        return;
    std::optional<std::vector<SignedInput>> inputs = signatureOf(project, output);
    if (!inputs)
        return;
    for (const SignedInput& in : *inputs) {
        const std::string file = fileOfName(in.name, project.path());
        std::optional<std::string> now = fileHashHex(file);
        if (!now || *now != in.hash) {
            if (std::find(changed.begin(), changed.end(), in.name) == changed.end())
                changed.push_back(in.name);
            continue;
        }
        collectChanged(project, file, depth + 1, visited, changed);
    }
}

// The result tables (".dbf") in the project file's folder, named as the run sees them.
std::vector<std::string> tablesInFolder(const std::string& projectFile)
{
    namespace fs = std::filesystem;
    const std::string folder = folderOf(projectFile);
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(fsPath(folder.empty() ? "." : folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = utf8Path(it->path().filename());
        if (name.size() > 4 && toLowerAscii(name.substr(name.size() - 4)) == ".dbf" && it->is_regular_file(ec))
            out.push_back(folder + name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

RunSignatures::State RunSignatures::stateOf(const Named& file)
{
    State s{file};
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path = fsPath(file.path);
    fs::file_status st = fs::status(path, ec);
    if (ec || !fs::is_regular_file(st))
        return s;
    s.exists = true;
    s.size = static_cast<long long>(fs::file_size(path, ec));
    s.modified = fs::last_write_time(path, ec).time_since_epoch().count();
    return s;
}

RunSignatures RunSignatures::before(const SettingsFile& project, std::span<const ParamInfo> keys,
                                    std::span<const OptionSpec> declared, const CommandArgs& options)
{
    std::vector<Named> files;
    auto add = [&](const std::string& path, bool mayBeInput) {
        if (path.empty())
            return;
        auto same = std::find_if(files.begin(), files.end(), [&](const Named& n) { return n.path == path; });
        if (same == files.end())
            files.push_back({path, mayBeInput});
        else
            same->mayBeInput = same->mayBeInput && mayBeInput;
    };
    for (const ParamInfo& p : keys) {
        if (p.kind != ParamKind::Text)
            continue;
        std::optional<std::string> given;
        for (const OptionSpec& o : declared)
            if (!o.key.empty() && toLowerAscii(o.key) == toLowerAscii(p.key) &&
                toLowerAscii(o.section) == toLowerAscii(p.section))
                given = options.text(o.name);
        add(given ? *given : readParamText(project, p), !namesOwnOutput(p));
    }
    for (const OptionSpec& o : declared)
        if (o.path != PathUse::None && o.key.empty() && !o.positional)
            if (std::optional<std::string> v = options.text(o.name))
                add(*v, true);
    // Tables a tool names after its input when no key names them (the assessment's
    // "_hodnoceni") are found in the project's folder; they are outputs, never inputs.
    std::set<std::string> named;
    for (const Named& n : files)
        named.insert(resolvedPath(n.path));
    for (const std::string& table : tablesInFolder(project.path()))
        if (!named.count(resolvedPath(table)))
            files.push_back({table, false});
    RunSignatures r;
    for (const Named& n : files)
        r.m_before.push_back(stateOf(n));
    return r;
}

bool RunSignatures::record(const SettingsFile& project, Reporter& reporter) const
{
    std::vector<SignedInput> inputs;
    std::vector<std::string> written;
    for (const State& was : m_before) {
        State now = stateOf(was.file);
        if (!now.exists)
            continue;
        if (!was.exists || was.size != now.size || was.modified != now.modified) {
            written.push_back(was.file.path);
        } else if (was.file.mayBeInput) {
            std::optional<std::string> hash = fileHashHex(was.file.path);
            std::string name = signatureKey(was.file.path, project.path());
            if (hash && !name.empty())
                inputs.push_back({name, *hash});
        }
    }
    // Tables made by the run that did not exist before it.
    std::set<std::string> known;
    for (const State& was : m_before)
        known.insert(resolvedPath(was.file.path));
    for (const std::string& table : tablesInFolder(project.path()))
        if (!known.count(resolvedPath(table)))
            written.push_back(table);
    std::sort(inputs.begin(), inputs.end(), [](const SignedInput& a, const SignedInput& b) { return a.name < b.name; });
    const std::string value = signatureText(inputs);
    bool ok = true;
    for (const std::string& out : written)
        if (std::string key = signatureKey(out, project.path()); !key.empty())
            ok = project.writeString(kSignatureSection, key, value, reporter) && ok;
    return ok;
}

std::string signatureText(const std::vector<SignedInput>& inputs)
{
    std::string out;
    for (const SignedInput& in : inputs) {
        if (!out.empty())
            out += ';';
        out += escaped(in.name) + "|" + in.hash;
    }
    return out;
}

std::optional<std::vector<SignedInput>> parseSignature(std::string_view text)
{
    std::vector<SignedInput> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find(';', start), text.size());
        const std::string item(text.substr(start, end - start));
        start = end + 1;
        if (item.empty())
            continue;
        std::size_t bar = item.rfind('|');
        if (bar == std::string::npos || bar == 0)
            return std::nullopt;
        std::optional<std::string> name = unescaped(std::string_view(item).substr(0, bar));
        if (!name)
            return std::nullopt;
        out.push_back({*name, item.substr(bar + 1)});
    }
    return out;
}

std::string signatureKey(const std::string& path, const std::string& projectFile)
{
    return path.empty() ? std::string() : escaped(pathForProject(path, projectFile));
}

SignatureCheck checkSignature(const SettingsFile& project, const std::string& output)
{
    SignatureCheck c;
    c.signedOutput = signatureOf(project, output).has_value();
    std::set<std::string> visited;
    collectChanged(project, output, 0, visited, c.changed);
    return c;
}

}  // namespace ovd
