#include "matrix_view.h"

#include "common/numbers.h"
#include "matrix_text.h"

namespace ovd {

bool MatrixView::open(const std::string& path, Reporter& rep)
{
    m_header.clear();
    m_valid = false;
    auto result = m_reader.open(path);
    if (result == MatrixFileReader::OpenResult::CannotOpen) {
        rep.error("Vstupní soubor s binární maticí nelze otevřít !");
        return false;
    }
    if (m_reader.headerRead()) {
        m_header.push_back(cformat("Počet řádků   : %ld", static_cast<long>(m_reader.rows())));
        m_header.push_back(cformat("Počet sloupců : %ld", static_cast<long>(m_reader.columns())));
    }
    if (result == MatrixFileReader::OpenResult::NotMatrix) {
        rep.error("Nejedná se o binární soubor s maticí koeficientů theta, delta nebo zmax !");
        return false;
    }
    m_valid = true;
    return true;
}

std::vector<std::string> MatrixView::columnHeadings() const
{
    std::vector<std::string> headings{"#"};
    if (hasValues())
        for (std::int32_t c = 1; c <= m_reader.columns(); ++c)
            headings.push_back(std::to_string(c));
    return headings;
}

bool MatrixView::row(std::int32_t r, std::vector<std::string>& cells)
{
    cells.clear();
    if (!hasValues() || !m_reader.readRow(r, m_values))
        return false;
    cells.reserve(m_values.size() + 1);
    cells.push_back(std::to_string(r + 1));
    for (float v : m_values)
        cells.push_back(formatMatrixValue(v));
    return true;
}

}  // namespace ovd
