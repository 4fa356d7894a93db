#pragma once
// Coefficient matrix files: row count R (sources), column count C (reference points),
// then R * C little-endian 32-bit floats, row by row. A file is a matrix exactly when its
// length is 8 + 4 * R * C with R >= 0 and C >= 0.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/file_io.h"

namespace ovd {

inline constexpr std::uint64_t kMatrixHeaderSize = 8;

// The length a file with this header must have; nullopt for a negative count.
std::optional<std::uint64_t> matrixFileLength(std::int32_t rows, std::int32_t columns);

// Reads a matrix file: the header on open, then rows in any order.
class MatrixFileReader {
public:
    enum class OpenResult { Ok, CannotOpen, NotMatrix };

    OpenResult open(const std::string& path);
    std::int32_t rows() const { return m_rows; }
    std::int32_t columns() const { return m_columns; }
    // The header as read, also when the length did not match it.
    bool headerRead() const { return m_headerRead; }

    // Row r (0-based) into `values`; false on a read failure (the file changed meanwhile).
    bool readRow(std::int32_t r, std::vector<float>& values);

private:
    File m_file;
    std::int32_t m_rows = 0, m_columns = 0;
    bool m_headerRead = false;
    bool m_valid = false;
    std::int64_t m_nextRow = -1;  // the row the file position stands at, -1 when unknown
};

// Writes a matrix through a temporary file beside the target: the target appears (or is
// replaced) only by commit(), so an unfinished run leaves the previous matrix as it was.
// Opened in an OutputSet, the set commits it together with the other files of the set.
class MatrixFileWriter {
public:
    // Creates the temporary file; writeHeader() then fixes the counts.
    bool open(const std::string& target);
    bool open(OutputSet& set, const std::string& target);
    bool writeHeader(std::int32_t rows, std::int32_t columns);
    // Both steps at once.
    bool open(const std::string& target, std::int32_t rows, std::int32_t columns)
    {
        return open(target) && writeHeader(rows, columns);
    }
    bool isOpen() const { return m_out && m_out->isOpen(); }
    // Appends one row of exactly `columns` values.
    bool writeRow(std::span<const float> values);
    // Every row the header announced has been written.
    bool complete() const { return m_headerWritten && m_rowsWritten == m_rows; }
    // Flushes the temporary file; false when the data could not be written (disk full).
    bool flush();
    // Renames the complete file over the target; false, target unchanged, when incomplete.
    // Only for a writer that is not part of a set.
    bool commit();
    void discard()
    {
        if (m_out)
            m_out->discard();
    }
    const std::string& target() const;

private:
    std::unique_ptr<AtomicOutput> m_own;
    AtomicOutput* m_out = nullptr;
    std::int32_t m_rows = 0, m_columns = 0;
    std::int64_t m_rowsWritten = 0;
    bool m_headerWritten = false;
    std::string m_buffer;
};

}  // namespace ovd
