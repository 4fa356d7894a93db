#include "model/matrix_values.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>

namespace ovd {

struct MatrixValues::Mapping {
    void* address = nullptr;
    std::size_t length = 0;
    ~Mapping()
    {
        if (address)
            munmap(address, length);
    }
};

MatrixValues& MatrixValues::operator=(std::vector<float> values)
{
    m_map.reset();
    m_mapped = nullptr;
    m_mappedSize = 0;
    m_own = std::move(values);
    return *this;
}

bool MatrixValues::map(const std::string& path, std::uint64_t offset, std::size_t count)
{
    if constexpr (std::endian::native != std::endian::little)
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info { };
    const std::uint64_t end = offset + static_cast<std::uint64_t>(count) * sizeof(float);
    auto mapping = std::make_shared<Mapping>();
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) >= end &&
        count > 0) {
        mapping->length = static_cast<std::size_t>(end);
        void* at = mmap(nullptr, mapping->length, PROT_READ, MAP_SHARED, fd, 0);
        if (at != MAP_FAILED)
            mapping->address = at;
    }
    ::close(fd);
    if (!mapping->address)
        return false;
    m_own = std::vector<float>();
    m_mapped = reinterpret_cast<const float*>(static_cast<const char*>(mapping->address) + offset);
    m_mappedSize = count;
    m_map = std::move(mapping);
    return true;
}

std::vector<float>& MatrixValues::own()
{
    if (m_map) {
        m_own.assign(m_mapped, m_mapped + m_mappedSize);
        m_map.reset();
        m_mapped = nullptr;
        m_mappedSize = 0;
    }
    return m_own;
}

}  // namespace ovd
