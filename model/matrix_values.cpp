#include "model/matrix_values.h"

#include <bit>

#include "common/mapped_file.h"

namespace ovd {

struct MatrixValues::Mapping {
    MappedFile file;
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
    if (count == 0)
        return false;
    const std::uint64_t end = offset + static_cast<std::uint64_t>(count) * sizeof(float);
    auto mapping = std::make_shared<Mapping>();
    if (mapping->file.open(path, end) != MappedFile::Status::Mapped)
        return false;
    m_own = std::vector<float>();
    m_mapped = reinterpret_cast<const float*>(mapping->file.data() + offset);
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
