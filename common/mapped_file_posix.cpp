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
    Status status = Status::Mapped;
    void* at = MAP_FAILED;
    if (fileSize == 0)
        status = Status::Empty;
    else if (fileSize < size)
        status = Status::TooShort;
    else if ((at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)) == MAP_FAILED)
        status = Status::CannotMap;
    ::close(fd);
    if (status != Status::Mapped)
        return status;
    m_address = at;
    m_size = size;
    m_fileSize = fileSize;
    return Status::Mapped;
}

void MappedFile::close()
{
    if (m_address)
        ::munmap(m_address, m_size);
    m_address = nullptr;
    m_size = 0;
    m_fileSize = 0;
}

void MappedFile::willNeed() const
{
    if (m_address)
        ::madvise(m_address, m_size, MADV_WILLNEED);
}

}  // namespace ovd
