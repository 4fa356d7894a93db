#include "mapped_file.h"

#include <utility>

namespace ovd {

MappedFile& MappedFile::operator=(MappedFile&& o) noexcept
{
    if (this != &o) {
        close();
        m_address = std::exchange(o.m_address, nullptr);
        m_size = std::exchange(o.m_size, 0);
        m_fileSize = std::exchange(o.m_fileSize, 0);
    }
    return *this;
}

void MappedFile::close()
{
    if (m_address)
        unmapView(m_address, m_size);
    m_address = nullptr;
    m_size = 0;
    m_fileSize = 0;
}

MappedFile::Status MappedFile::sizeStatus(std::uint64_t fileSize, std::uint64_t size)
{
    return fileSize == 0 ? Status::Empty : fileSize < size ? Status::TooShort : Status::Mapped;
}

MappedFile::Status MappedFile::adopt(Status status, void* at, std::uint64_t size, std::uint64_t fileSize)
{
    if (status != Status::Mapped)
        return status;
    m_address = at;
    m_size = size;
    m_fileSize = fileSize;
    return Status::Mapped;
}

}  // namespace ovd
