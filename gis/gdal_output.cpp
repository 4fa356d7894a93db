#include "gdal_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "common/file_sync.h"
#include "common/paths.h"

namespace ovd {

namespace {

// Temporary files of this target that a killed run left: the caller holds the target's output
// lock, so no live run is writing one of them.
void removeLeftovers(const std::string& folder, const std::string& name)
{
    const std::string prefix = "." + name + ".ovd-";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        std::string file = entry.path().filename().string();
        if (file.rfind(prefix, 0) == 0 && entry.is_regular_file(ec))
            std::filesystem::remove(entry.path(), ec);
    }
}

}  // namespace

bool GdalOutput::open(const std::string& target, const std::string& format)
{
    discard();
    if (target.empty())
        return false;
    // A symlinked target is written through, as every other output: the link stays a link.
    const std::string resolved = followLinks(target);
    struct stat st;
    if (::stat(resolved.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return false;
    std::string folder = folderOf(resolved);
    std::string name = resolved.substr(folder.size());
    removeLeftovers(folder, name);
    std::string extension = "." + format;
    std::string pattern = folder + "." + name + ".ovd-XXXXXX" + extension;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = ::mkstemps(buffer.data(), static_cast<int>(extension.size()));
    if (fd < 0)
        return false;
    ::close(fd);
    m_temp = buffer.data();
    // The name is ours; the drivers create the file themselves and some refuse an existing one.
    ::unlink(m_temp.c_str());
    m_target = resolved;
    return true;
}

bool GdalOutput::publish()
{
    if (m_temp.empty() || !syncFile(m_temp))
        return false;
    if (std::rename(m_temp.c_str(), m_target.c_str()) != 0)
        return false;
    m_temp.clear();
    syncFolderOf(m_target);
    return true;
}

void GdalOutput::discard()
{
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
    m_temp.clear();
}

}  // namespace ovd
