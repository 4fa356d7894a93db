#pragma once
// The tables that the table tools show: the input checks, the terrain check, the matrix
// viewer and the DBF display. The main program shows each in a list view; ovardix-cli
// prints them as text in the command's own layout.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/tool.h"

namespace ovd {

// The icon of a row: how the line it stands for was judged.
enum class RowMark { None, Correct, Comment, Warning, Error };

struct ResultColumn {
    std::string title;
    int width = 0;  // in the dialog's units; 0 lets the list view size it
};

struct ResultRow {
    std::vector<std::string> cells;
    RowMark mark = RowMark::None;
};

struct ResultTable {
    std::string title;                  // caption above the list
    std::vector<ResultColumn> columns;  // no column titles: a plain list of lines
    std::vector<ResultRow> rows;
    // A check's report: as text, its title comes first and each row of a table with columns
    // ends with the name of its mark. Other tables show their column titles instead.
    bool report = false;

    bool hasHeader() const;
    // One line of text per row (a plain list); marks are not shown.
    void addLine(std::string text, RowMark = RowMark::None);
};

// Where a tool puts its tables and lines as it makes them: ovardix-cli prints each row at
// once (a large matrix never sits in memory), the dialogs and the JSON output collect them.
class ResultSink {
public:
    virtual ~ResultSink() = default;
    // Starts a table with this title and these columns; its rows follow.
    virtual void beginTable(const ResultTable& header) = 0;
    virtual void row(const ResultRow&) = 0;
    // A value or status line outside any table.
    virtual void line(const std::string&) = 0;

    void table(const ResultTable&);
};

// What a run gives: its status, tables and lines.
struct ToolResult {
    ToolStatus status = ToolStatus::Done;
    std::vector<ResultTable> tables;
    std::vector<std::string> lines;
};

class CollectingSink : public ResultSink {
public:
    void beginTable(const ResultTable& header) override;
    void row(const ResultRow&) override;
    void line(const std::string& text) override { result.lines.push_back(text); }

    ToolResult result;
};

// ovardix-cli's text: tab-separated cells, one row a line.
class TextSink : public ResultSink {
public:
    explicit TextSink(std::ostream& out)
        : m_out(out)
    { }
    ~TextSink() override { finish(); }
    void beginTable(const ResultTable& header) override;
    void row(const ResultRow&) override;
    void line(const std::string& text) override;
    // Ends the table under way; what is printed after this follows it.
    void finish();

private:
    std::ostream& m_out;
    bool m_report = false, m_columns = false, m_open = false;
};

// The tab-separated cells of a row, as ovardix-cli prints them.
std::string joinCells(const std::vector<std::string>& cells);
std::string_view markName(RowMark);  // "spravne", "komentar", "varovani", "chyba", ""

}  // namespace ovd
