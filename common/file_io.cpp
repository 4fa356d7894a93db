#include "file_io.h"

#include <algorithm>
#include <cerrno>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "file_sync.h"
#include "paths.h"
#include "platform.h"
#include "rename_together.h"
#include "temporary_files.h"

namespace ovd {

File& File::operator=(File&& o) noexcept
{
    if (this != &o) {
        close();
        m_fp = o.m_fp;
        o.m_fp = nullptr;
    }
    return *this;
}

bool File::open(const std::string& path, const char* mode)
{
    close();
    m_fp = openFile(path, mode);
    return m_fp != nullptr;
}

bool File::openInput(const std::string& path)
{
    close();
    m_fp = openRegularInput(path);
    return m_fp != nullptr;
}

bool File::close()
{
    if (!m_fp)
        return true;
    bool ok = std::ferror(m_fp) == 0;
    ok = (std::fclose(m_fp) == 0) && ok;
    m_fp = nullptr;
    return ok;
}

bool File::write(std::string_view bytes)
{
    return m_fp && std::fwrite(bytes.data(), 1, bytes.size(), m_fp) == bytes.size();
}

namespace {

constexpr std::string_view kTempInfix = ".ovdtmp.";

}  // namespace

void removeStaleTemporaries(const std::string& target)
{
    removeUnheldTemporaries(target, kTempInfix);
}

bool AtomicOutput::open(const std::string& target)
{
    discard();
    m_target = target;
    m_final = followLinks(target);
    const PathKind kind = pathKind(m_final);
    const bool exists = kind != PathKind::Missing;
    if (target.empty() || (exists && kind != PathKind::Regular)) {
        errno = exists ? EEXIST : ENOENT;
        return false;
    }
    // A set this file belongs to that a killed run left half renamed is finished first: its
    // temporary files are not stale.
    finishInterruptedRenames(m_final);
    removeStaleTemporaries(m_final);
    std::FILE* fp = createHeldTemporary(m_final, kTempInfix, exists ? m_final : std::string(), m_temp);
    if (!fp) {
        m_temp.clear();
        return false;
    }
    m_file = File(fp);
    m_prepared = false;
    return true;
}

bool AtomicOutput::prepare()
{
    if (!m_file.isOpen())
        return false;
    if (m_prepared)
        return true;
    bool ok = std::fflush(m_file.get()) == 0 && std::ferror(m_file.get()) == 0;
    ok = ok && syncOpenFile(m_file.get());
    if (!ok) {
        const int err = errno;  // the caller's reason, not the clean-up's
        discard();
        errno = err;
        return false;
    }
    m_prepared = true;
    return true;
}

bool AtomicOutput::publish()
{
    // The file stays open (and locked) until it has its final name.
    return publishTogether({this});
}

bool AtomicOutput::finishPublish()
{
    const bool ok = m_file.close() && m_renamed;
    m_temp.clear();
    m_prepared = false;
    m_renamed = false;
    return ok;
}

void AtomicOutput::discard()
{
    if (!m_temp.empty())
        removeFile(m_temp);  // before closing, so no cleaner sees it unlocked
    if (m_file.isOpen())
        m_file.close();
    m_temp.clear();
    m_prepared = false;
}

AtomicOutput& OutputSet::add(const std::string& target)
{
    m_outputs.push_back(std::make_unique<AtomicOutput>(target));
    return *m_outputs.back();
}

bool OutputSet::allOpen() const
{
    for (const auto& o : m_outputs)
        if (!o->isOpen())
            return false;
    return true;
}

bool publishTogether(const std::vector<AtomicOutput*>& outputs)
{
    for (AtomicOutput* o : outputs)
        if (!o->prepare())
            return false;
    std::vector<RenameStep> steps;
    for (AtomicOutput* o : outputs)
        steps.push_back({o->m_temp.c_str(), o->m_final.c_str()});
    const std::vector<char> renamed = renameTogether(steps);
    bool ok = true;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        outputs[i]->m_renamed = renamed[i] != 0;
        ok = outputs[i]->finishPublish() && ok;
    }
    std::vector<std::string> synced;
    for (AtomicOutput* o : outputs) {
        const std::string folder = utf8Path(fsPath(o->m_final).parent_path());
        if (std::find(synced.begin(), synced.end(), folder) == synced.end()) {
            synced.push_back(folder);
            syncFolderOf(o->m_final);
        }
    }
    return ok;
}

bool OutputSet::commit()
{
    std::vector<AtomicOutput*> all;
    for (auto& o : m_outputs) {
        if (!o->prepare()) {
            discard();
            return false;
        }
        all.push_back(o.get());
    }
    return publishTogether(all);
}

void OutputSet::discard()
{
    for (auto& o : m_outputs)
        o->discard();
}

std::optional<std::string> readFileBytes(const std::string& path)
{
    File f;
    if (!f.openInput(path))
        return std::nullopt;
    std::string out;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        out.append(buf, n);
    if (std::ferror(f.get()))
        return std::nullopt;
    return out;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicOutput out(path);
    return out.isOpen() && out.write(bytes) && out.commit();
}

bool samePath(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    const std::optional<FileIdentity> ia = fileIdentity(a), ib = fileIdentity(b);
    const bool ea = ia.has_value(), eb = ib.has_value();
    if (ea && eb)
        return *ia == *ib;
    if (ea != eb)
        return false;
    return resolvedPath(followLinks(a)) == resolvedPath(followLinks(b));
}

bool copyFile(const std::string& from, const std::string& to)
{
    if (samePath(from, to))
        return true;
    auto bytes = readFileBytes(from);
    return bytes && writeFileAtomically(to, *bytes);
}

}  // namespace ovd
