#include "file_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include "paths.h"

namespace ovd {

namespace {

bool syncPath(const std::string& path, int flags)
{
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool syncFile(const std::string& path)
{
    return syncPath(path, O_RDONLY);
}

bool syncOpenFile(std::FILE* fp)
{
    return ::fsync(::fileno(fp)) == 0;
}

void syncFolderOf(const std::string& path)
{
    std::string folder = folderOf(path);
    syncPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
}

}  // namespace ovd
