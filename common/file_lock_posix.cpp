#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_lock.h"
#include "paths.h"

namespace ovd {

namespace {

bool locksUnsupported(int err)
{
    return err == ENOLCK || err == EOPNOTSUPP || err == EINVAL || err == ENOSYS;
}

}  // namespace

FileLock::Result FileLock::lock(const std::string& path, bool wait)
{
    unlock();
    const std::string lockPath = followLinks(path) + ".ovdlock";
    for (;;) {
        int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0)
            return Result::Unsupported;
        while (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
            int err = errno;
            if (err == EINTR && wait)
                continue;
            ::close(fd);
            if (err == EWOULDBLOCK || !locksUnsupported(err))
                return Result::Busy;
            ::unlink(lockPath.c_str());  // nobody can hold a lock here
            return Result::Unsupported;
        }
        // The holder before us removes the file before it lets go; a lock on a removed
        // file protects nothing, so take the file that is there now.
        struct stat a, b;
        if (::fstat(fd, &a) == 0 && ::stat(lockPath.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino) {
            m_fd = fd;
            m_lockPath = lockPath;
            return Result::Locked;
        }
        ::close(fd);
    }
}

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    ::unlink(m_lockPath.c_str());
    ::close(static_cast<int>(m_fd));
    m_fd = -1;
    m_lockPath.clear();
}

}  // namespace ovd
