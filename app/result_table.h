#pragma once
// The tables that the table tools show: the input checks, the terrain check, the matrix
// viewer and the DBF display. The main program shows each in a list view; ovardix-cli
// prints them as text in the command's own layout.
#include <string>
#include <string_view>
#include <vector>

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

    bool hasHeader() const;
    // One line of text per row (a plain list); marks are not shown.
    void addLine(std::string text, RowMark = RowMark::None);
};

// The tab-separated cells of a row, as ovardix-cli prints them.
std::string joinCells(const std::vector<std::string>& cells);
std::string_view markName(RowMark);  // "spravne", "komentar", "varovani", "chyba", ""

}  // namespace ovd
