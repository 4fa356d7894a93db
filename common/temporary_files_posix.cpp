#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "paths.h"
#include "temporary_files.h"

namespace ovd {

namespace {

bool sameInode(int fd, const std::string& path)
{
    struct stat a, b;
    return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A unique, locked (flock), empty file; -1 on failure.
int createLockedTemporary(const std::string& target, std::string_view infix, std::string& name)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::string pattern = target + std::string(infix) + "XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        int fd = ::mkostemp(buf.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        name = buf.data();
        // The lock tells a cleaner that this file is alive; one that caught the file
        // between its creation and the lock has removed it, so start again.
        int locked = ::flock(fd, LOCK_EX | LOCK_NB);
        if ((locked == 0 || errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) && sameInode(fd, name))
            return fd;
        ::close(fd);
    }
    return -1;
}

}  // namespace

std::FILE* createHeldTemporary(const std::string& target, std::string_view infix, const std::string& like,
                               std::string& name)
{
    struct stat st;
    const bool copyMode = !like.empty() && ::stat(like.c_str(), &st) == 0;
    int fd = createLockedTemporary(target, infix, name);
    if (fd < 0)
        return nullptr;
    // mkstemp makes the file private; give it the mode an ordinary new file would get.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, copyMode ? (st.st_mode & 07777) : (0666 & ~mask));
    std::FILE* fp = ::fdopen(fd, "wb");
    if (!fp) {
        ::close(fd);
        ::unlink(name.c_str());
    }
    return fp;
}

void removeUnheldTemporaries(const std::string& target, std::string_view infix)
{
    std::string folder = folderOf(target);
    std::string prefix = fileNameOf(target) + std::string(infix);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir)) {
        std::string_view name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix)
            continue;
        std::string path = folder + std::string(name);
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st;
        // Only a regular file nobody holds: a live writer keeps its lock until it renames.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameInode(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace ovd
