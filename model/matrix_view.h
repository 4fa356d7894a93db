#pragma once
// The rows of the matrix viewer, as data: the header list, the column headings and the
// table rows. The dialog and ovardix-cli matrix-show both show what this returns.
#include <cstdint>
#include <string>
#include <vector>

#include "common/reporter.h"
#include "matrix_file.h"

namespace ovd {

class MatrixView {
public:
    // Opens the file and lists its header. Reports "nelze otevřít" or "Nejedná se o ..."
    // and returns false when there are no values to show; the header read stays listed.
    bool open(const std::string& path, Reporter&);

    // "Počet řádků   : R" and "Počet sloupců : C" (empty when the header was not read).
    const std::vector<std::string>& headerLines() const { return m_header; }
    // "#", then "1" to "C". A matrix without values (R or C is 0) has an empty table: its
    // header may still claim two billion rows or columns, which nobody wants listed.
    std::vector<std::string> columnHeadings() const;
    std::int32_t rowCount() const { return hasValues() ? m_reader.rows() : 0; }
    // Row r (0-based): its number from 1, then each value as "%11.5lf". False when the
    // file can no longer be read.
    bool row(std::int32_t r, std::vector<std::string>& cells);

private:
    bool hasValues() const { return m_valid && m_reader.rows() > 0 && m_reader.columns() > 0; }

    MatrixFileReader m_reader;
    std::vector<std::string> m_header;
    std::vector<float> m_values;
    bool m_valid = false;
};

}  // namespace ovd
