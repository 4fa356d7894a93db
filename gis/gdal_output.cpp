#include "gdal_output.h"

#include <cpl_vsi.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "common/file_errors.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"

namespace ovd {

namespace {

// Temporary files an earlier version wrote beside the target by GDAL itself: the caller holds
// the target's output lock, so no live run is writing one of them.
void removeLeftovers(const std::string& target)
{
    const std::string folder = folderOf(target);
    const std::string prefix = "." + target.substr(folder.size()) + ".ovd-";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        std::string file = entry.path().filename().string();
        if (file.rfind(prefix, 0) == 0 && entry.is_regular_file(ec))
            std::filesystem::remove(entry.path(), ec);
    }
}

}  // namespace

bool GdalOutput::open(const std::string& target, const std::string& extension)
{
    discard();
    m_error.clear();
    if (target.empty())
        return false;
    const std::string resolved = followLinks(target);
    struct stat st;
    if (::stat(resolved.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return false;
    const std::string folder = folderOf(resolved);
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    removeLeftovers(resolved);
    static std::atomic<unsigned> serial{0};
    m_folder = cformat("/vsimem/ovd_output_%u/", serial++);
    std::string name = fileNameOf(resolved);
    m_memory = m_folder + name.substr(0, name.rfind('.')) + "." + extension;
    // Some drivers look at the folder they write into (the CSV driver writes a single file
    // only inside an existing one).
    VSIMkdir(m_folder.substr(0, m_folder.size() - 1).c_str(), 0755);
    m_target = target;
    return true;
}

bool GdalOutput::publish()
{
    if (m_memory.empty())
        return false;
    vsi_l_offset length = 0;
    GByte* bytes = VSIGetMemFileBuffer(m_memory.c_str(), &length, FALSE);
    if (!bytes) {
        m_error = "knihovna GDAL jej nevytvořila";
        return false;
    }
    AtomicOutput out;
    errno = 0;
    const bool ok = out.open(m_target) &&
        out.write(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length))) &&
        out.commit();
    if (!ok) {
        m_error = fileErrorReason(errno);
        return false;
    }
    discard();
    return true;
}

void GdalOutput::discard()
{
    if (!m_folder.empty())
        VSIRmdirRecursive(m_folder.c_str());
    m_folder.clear();
    m_memory.clear();
}

}  // namespace ovd
