#include "matrix_file.h"

#include <sys/types.h>

#include <cstdio>

#include "common/le_io.h"
#include "common/paths.h"

namespace ovd {

std::optional<std::uint64_t> matrixFileLength(std::int32_t rows, std::int32_t columns)
{
    if (rows < 0 || columns < 0)
        return std::nullopt;
    // Both factors are below 2^31, so the product stays far below 2^64.
    return kMatrixHeaderSize + 4u * static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns);
}

MatrixFileReader::OpenResult MatrixFileReader::open(const std::string& path)
{
    m_rows = m_columns = 0;
    m_headerRead = m_valid = false;
    m_nextRow = -1;
    if (!m_file.openInput(path))
        return OpenResult::CannotOpen;
    auto length = fileSize(path);
    unsigned char header[kMatrixHeaderSize];
    if (!length || std::fread(header, 1, sizeof header, m_file.get()) != sizeof header)
        return OpenResult::NotMatrix;
    m_rows = getI32(header);
    m_columns = getI32(header + 4);
    m_headerRead = true;
    auto expected = matrixFileLength(m_rows, m_columns);
    if (!expected || *expected != static_cast<std::uint64_t>(*length))
        return OpenResult::NotMatrix;
    m_nextRow = 0;
    m_valid = true;
    return OpenResult::Ok;
}

bool MatrixFileReader::readRow(std::int32_t r, std::vector<float>& values)
{
    if (!m_valid || r < 0 || r >= m_rows)
        return false;
    const std::size_t bytes = 4u * static_cast<std::size_t>(m_columns);
    if (m_nextRow != r) {
        off_t offset = static_cast<off_t>(kMatrixHeaderSize + static_cast<std::uint64_t>(r) * bytes);
        if (::fseeko(m_file.get(), offset, SEEK_SET) != 0) {
            m_nextRow = -1;
            return false;
        }
    }
    std::vector<unsigned char> raw(bytes);
    if (std::fread(raw.data(), 1, bytes, m_file.get()) != bytes) {
        m_nextRow = -1;
        return false;
    }
    values.resize(static_cast<std::size_t>(m_columns));
    for (std::size_t c = 0; c < values.size(); ++c)
        values[c] = getF32(raw.data() + 4 * c);
    m_nextRow = r + 1;
    return true;
}

bool MatrixFileWriter::open(const std::string& target)
{
    m_own = std::make_unique<AtomicOutput>();
    m_out = m_own.get();
    m_rows = m_columns = 0;
    m_rowsWritten = 0;
    m_headerWritten = false;
    return m_out->open(target);
}

bool MatrixFileWriter::open(OutputSet& set, const std::string& target)
{
    m_own.reset();
    m_out = &set.add(target);
    m_rows = m_columns = 0;
    m_rowsWritten = 0;
    m_headerWritten = false;
    return m_out->isOpen();
}

const std::string& MatrixFileWriter::target() const
{
    static const std::string none;
    return m_out ? m_out->target() : none;
}

bool MatrixFileWriter::writeHeader(std::int32_t rows, std::int32_t columns)
{
    if (!isOpen() || m_headerWritten || rows < 0 || columns < 0)
        return false;
    m_rows = rows;
    m_columns = columns;
    m_headerWritten = true;
    std::string header;
    putI32(header, rows);
    putI32(header, columns);
    return m_out->write(header);
}

bool MatrixFileWriter::writeRow(std::span<const float> values)
{
    if (!isOpen() || !m_headerWritten || values.size() != static_cast<std::size_t>(m_columns) ||
        m_rowsWritten >= m_rows)
        return false;
    m_buffer.clear();
    m_buffer.reserve(4 * values.size());
    for (float v : values)
        putF32(m_buffer, v);
    ++m_rowsWritten;
    return m_out->write(m_buffer);
}

bool MatrixFileWriter::flush()
{
    return isOpen() && std::fflush(m_out->get()) == 0 && std::ferror(m_out->get()) == 0;
}

bool MatrixFileWriter::commit()
{
    if (!m_own || !complete()) {
        discard();
        return false;
    }
    return m_out->commit();
}

}  // namespace ovd
