#include "result_table.h"

namespace ovd {

bool ResultTable::hasHeader() const
{
    for (const ResultColumn& c : columns)
        if (!c.title.empty())
            return true;
    return false;
}

void ResultTable::addLine(std::string text, RowMark mark)
{
    rows.push_back({{std::move(text)}, mark});
}

std::string joinCells(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i)
            line += '\t';
        line += cells[i];
    }
    return line;
}

std::string_view markName(RowMark mark)
{
    switch (mark) {
    case RowMark::Correct: return "spravne";
    case RowMark::Comment: return "komentar";
    case RowMark::Warning: return "varovani";
    case RowMark::Error: return "chyba";
    case RowMark::None: break;
    }
    return "";
}

}  // namespace ovd
