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

void ResultSink::table(const ResultTable& t)
{
    beginTable(t);
    for (const ResultRow& r : t.rows)
        row(r);
}

void CollectingSink::beginTable(const ResultTable& header)
{
    ResultTable& t = result.tables.emplace_back();
    t.title = header.title;
    t.columns = header.columns;
    t.report = header.report;
}

void CollectingSink::row(const ResultRow& r)
{
    if (result.tables.empty())
        result.tables.emplace_back();
    result.tables.back().rows.push_back(r);
}

void TextSink::beginTable(const ResultTable& header)
{
    finish();
    m_open = true;
    m_report = header.report;
    m_columns = header.hasHeader();
    if (m_report) {
        m_out << header.title << '\n';
    } else if (!header.columns.empty()) {
        std::vector<std::string> titles;
        for (const ResultColumn& c : header.columns)
            titles.push_back(c.title);
        m_out << joinCells(titles) << '\n';
    }
}

void TextSink::row(const ResultRow& r)
{
    m_out << joinCells(r.cells);
    if (m_report && m_columns)
        m_out << '\t' << markName(r.mark);
    m_out << '\n';
}

void TextSink::line(const std::string& text)
{
    finish();
    m_out << text << '\n';
}

void TextSink::finish()
{
    // A check's table of lines is set off from what follows by an empty line.
    if (m_open && m_report && m_columns)
        m_out << '\n';
    m_open = false;
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
