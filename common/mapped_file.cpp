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

}  // namespace ovd
