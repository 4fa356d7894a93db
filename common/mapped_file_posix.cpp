#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mapped_file.h"

namespace ovd {

MappedFile::Status MappedFile::open(const std::string& path, std::uint64_t length)
{
    close();
    // Non-blocking: a FIFO given as the file is refused below instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Status::CannotOpen;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Status::CannotOpen;
    }
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    const std::uint64_t size = length == 0 ? fileSize : length;
    Status status = sizeStatus(fileSize, size);
    void* at = MAP_FAILED;
    if (status == Status::Mapped && (at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)) == MAP_FAILED)
        status = Status::CannotMap;
    ::close(fd);
    return adopt(status, at, size, fileSize);
}

void MappedFile::unmapView(void* address, std::uint64_t size)
{
    ::munmap(address, size);
}

void MappedFile::willNeed() const
{
    if (m_address)
        ::madvise(m_address, m_size, MADV_WILLNEED);
}

}  // namespace ovd
