#pragma once
// The editor's table of a wind rose, addressed as the grid shows it: rows 1-11 the
// class/speed rows, row 12 the direction totals ("Sum (Graf)"); columns 1-9 the directions
// N..NW and CALM, column 10 the row sums ("Součet"), column 11 the share of each row in the
// year ("Rozpočet"). Values are whole hundredths.
#include <array>
#include <string>
#include <vector>

#include "wind_rose_table.h"

namespace ovd {

inline constexpr int kGridRows = 13;     // header row 0, rows 1-11, sums row 12
inline constexpr int kGridColumns = 12;  // title column 0, columns 1-11
inline constexpr int kSumRow = 12;
inline constexpr int kCalmColumn = 9;
inline constexpr int kRowSumColumn = 10;
inline constexpr int kBudgetColumn = 11;
inline constexpr long long kHundredPercent = 10000;  // 100 % in hundredths

inline constexpr std::array<std::string_view, kGridColumns> kGridColumnTitles = {
    "", "N", "NE", "E", "SE", "S", "SW", "W", "NW", "CALM", "Součet", "Rozpočet",
};
inline constexpr std::string_view kSumRowTitle = " Sum (Graf)";

// Stability class (0-4) and speed class (0-2) of rows 1-11.
inline constexpr std::array<int, kWindRoseRows> kRowStabilityClass = {0, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4};
inline constexpr std::array<int, kWindRoseRows> kRowSpeedClass = {0, 0, 1, 0, 1, 2, 0, 1, 2, 0, 1};

class WindRoseGrid {
public:
    static bool isInside(int row, int column);
    // Locked: CALM of the faster rows, the row sums, the total of the distribution.
    static bool isEditable(int row, int column);
    static std::string title(int row, int column);

    long long value(int row, int column) const;

    // One typed value into one cell and the sums the cell feeds: a rose cell updates its
    // row sum and column total, a row-12 cell is itself the distribution's input, a
    // "Rozpočet" cell updates its total. False (nothing changed) on a locked cell.
    bool enter(int row, int column, long long hundredths);
    // The value into every editable cell of the block (corners in any order); the count.
    int enterBlock(int row1, int column1, int row2, int column2, long long hundredths);

    // Row sums, direction totals and the distribution total, all from the rose cells.
    void recomputeAll();

    long long firstTotal() const;   // row 12, columns 1-9
    long long secondTotal() const;  // column 10, rows 1-11: the whole rose
    bool totalsAre100() const { return firstTotal() == kHundredPercent && secondTotal() == kHundredPercent; }
    // Cell (12, 10): both totals in general number form joined by "/".
    std::string grandTotalText(char separator = '.') const;
    std::string cellText(int row, int column, char separator = '.') const;

    // Spreads the totals of row 12 over the rows by their "Rozpočet" shares; CALM goes to
    // the 1.7 m/s rows, each taking its own share plus a fifth of the faster rows' shares.
    void distribute();

    // Rose rows 1-11 to and from the file's table (the comment is the caller's).
    void storeTo(WindRoseTable&) const;
    void loadFrom(const WindRoseTable&);
    void clearRose();  // rose cells and their sums to 0; the "Rozpočet" shares stay

    std::array<long long, kWindRoseRows> budgets() const;
    void setBudgets(const std::array<long long, kWindRoseRows>&);
    // The stored form of the shares: each value with "." followed by ";".
    std::string budgetsText() const;
    static std::array<long long, kWindRoseRows> parseBudgets(std::string_view text);

    // The eight direction totals (row 12, N..NW) and the layers of the graph: the sum
    // per direction of the rows of one stability class (0-4) or one speed class (0-2).
    std::vector<double> directionTotals() const;
    std::vector<double> classLayer(int stabilityClass) const;
    std::vector<double> speedLayer(int speedClass) const;

private:
    void recomputeRow(int row);
    void recomputeColumn(int column);
    void recomputeBudgetTotal();

    std::array<std::array<long long, kGridColumns>, kGridRows> m_cells{};
};

}  // namespace ovd
