#include "wind_rose_grid.h"

#include <algorithm>

#include "hundredths.h"

namespace ovd {

namespace {

bool isRoseRow(int row)
{
    return row >= 1 && row <= static_cast<int>(kWindRoseRows);
}
bool isRoseColumn(int column)
{
    return column >= 1 && column <= static_cast<int>(kWindRoseColumns);
}

bool hasNoCalm(int row)
{
    return std::find(kRowsWithoutCalm.begin(), kRowsWithoutCalm.end(), static_cast<std::size_t>(row - 1)) !=
        kRowsWithoutCalm.end();
}

std::vector<double> layer(const std::array<std::array<long long, kGridColumns>, kGridRows>& cells,
                          const std::array<int, kWindRoseRows>& rowClass, int wanted)
{
    std::vector<double> values(8, 0.0);
    for (int c = 1; c <= 8; ++c) {
        long long sum = 0;
        for (int r = 1; r <= static_cast<int>(kWindRoseRows); ++r)
            if (rowClass[r - 1] == wanted)
                sum += cells[r][c];
        values[c - 1] = hundredthsToDouble(sum);
    }
    return values;
}

}  // namespace

bool WindRoseGrid::isInside(int row, int column)
{
    return row >= 1 && row <= kSumRow && column >= 1 && column <= kBudgetColumn;
}

bool WindRoseGrid::isEditable(int row, int column)
{
    if (!isInside(row, column) || column == kRowSumColumn)
        return false;
    if (row == kSumRow && column == kBudgetColumn)
        return false;
    if (column == kCalmColumn && isRoseRow(row) && hasNoCalm(row))
        return false;
    return true;
}

std::string WindRoseGrid::title(int row, int column)
{
    if (row == 0 && column >= 0 && column < kGridColumns)
        return std::string(kGridColumnTitles[column]);
    if (column == 0 && isRoseRow(row))
        return std::string(kWindRoseRowLabels[row - 1]);
    if (column == 0 && row == kSumRow)
        return std::string(kSumRowTitle);
    return {};
}

long long WindRoseGrid::value(int row, int column) const
{
    return isInside(row, column) ? m_cells[row][column] : 0;
}

bool WindRoseGrid::enter(int row, int column, long long hundredths)
{
    if (!isEditable(row, column))
        return false;
    m_cells[row][column] = hundredths;
    if (isRoseRow(row) && isRoseColumn(column)) {
        recomputeRow(row);
        recomputeColumn(column);
    } else if (column == kBudgetColumn) {
        recomputeBudgetTotal();
    }
    return true;
}

int WindRoseGrid::enterBlock(int row1, int column1, int row2, int column2, long long hundredths)
{
    int count = 0;
    for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r)
        for (int c = std::min(column1, column2); c <= std::max(column1, column2); ++c)
            count += enter(r, c, hundredths) ? 1 : 0;
    return count;
}

void WindRoseGrid::recomputeRow(int row)
{
    long long sum = 0;
    for (int c = 1; c <= kCalmColumn; ++c)
        sum += m_cells[row][c];
    m_cells[row][kRowSumColumn] = sum;
}

void WindRoseGrid::recomputeColumn(int column)
{
    long long sum = 0;
    for (int r = 1; r <= static_cast<int>(kWindRoseRows); ++r)
        sum += m_cells[r][column];
    m_cells[kSumRow][column] = sum;
}

void WindRoseGrid::recomputeBudgetTotal()
{
    long long sum = 0;
    for (int r = 1; r <= static_cast<int>(kWindRoseRows); ++r)
        sum += m_cells[r][kBudgetColumn];
    m_cells[kSumRow][kBudgetColumn] = sum;
}

void WindRoseGrid::recomputeAll()
{
    for (int r = 1; r <= static_cast<int>(kWindRoseRows); ++r)
        recomputeRow(r);
    for (int c = 1; c <= kCalmColumn; ++c)
        recomputeColumn(c);
    recomputeBudgetTotal();
}

long long WindRoseGrid::firstTotal() const
{
    long long sum = 0;
    for (int c = 1; c <= kCalmColumn; ++c)
        sum += m_cells[kSumRow][c];
    return sum;
}

long long WindRoseGrid::secondTotal() const
{
    long long sum = 0;
    for (int r = 1; r <= static_cast<int>(kWindRoseRows); ++r)
        sum += m_cells[r][kRowSumColumn];
    return sum;
}

std::string WindRoseGrid::grandTotalText(char separator) const
{
    return formatHundredthsGeneral(firstTotal(), separator) + "/" + formatHundredthsGeneral(secondTotal(), separator);
}

std::string WindRoseGrid::cellText(int row, int column, char separator) const
{
    if (row == 0 || column == 0)
        return title(row, column);
    if (row == kSumRow && column == kRowSumColumn)
        return grandTotalText(separator);
    if (!isInside(row, column))
        return {};
    return formatHundredths(m_cells[row][column], separator);
}

void WindRoseGrid::distribute()
{
    const int rows = static_cast<int>(kWindRoseRows);
    for (int c = 1; c <= 8; ++c) {
        long long total = m_cells[kSumRow][c];
        for (int r = 1; r <= rows; ++r)
            m_cells[r][c] =
                divideRoundHalfUp(static_cast<__int128>(total) * m_cells[r][kBudgetColumn], kHundredPercent);
    }
    // E = 0.2 * (shares of the faster rows); cell = T * (R + E) / 100, kept exact as
    // T * (5R + faster) / 500 in hundredths.
    long long faster = 0;
    for (std::size_t r : kRowsWithoutCalm)
        faster += m_cells[r + 1][kBudgetColumn];
    long long calm = m_cells[kSumRow][kCalmColumn];
    for (int r = 1; r <= rows; ++r)
        m_cells[r][kCalmColumn] = hasNoCalm(r)
            ? 0
            : divideRoundHalfUp(static_cast<__int128>(calm) * (5 * m_cells[r][kBudgetColumn] + faster),
                                5 * kHundredPercent);
    recomputeAll();
}

void WindRoseGrid::storeTo(WindRoseTable& table) const
{
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        for (std::size_t c = 0; c < kWindRoseColumns; ++c)
            table.values[r][c] = hundredthsToDouble(m_cells[r + 1][c + 1]);
}

void WindRoseGrid::loadFrom(const WindRoseTable& table)
{
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        for (std::size_t c = 0; c < kWindRoseColumns; ++c)
            m_cells[r + 1][c + 1] = doubleToHundredths(table.values[r][c]);
    recomputeAll();
}

void WindRoseGrid::clearRose()
{
    for (int r = 1; r <= kSumRow; ++r)
        for (int c = 1; c <= kRowSumColumn; ++c)
            m_cells[r][c] = 0;
    recomputeBudgetTotal();
}

std::array<long long, kWindRoseRows> WindRoseGrid::budgets() const
{
    std::array<long long, kWindRoseRows> shares{};
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        shares[r] = m_cells[r + 1][kBudgetColumn];
    return shares;
}

void WindRoseGrid::setBudgets(const std::array<long long, kWindRoseRows>& shares)
{
    for (std::size_t r = 0; r < kWindRoseRows; ++r)
        m_cells[r + 1][kBudgetColumn] = shares[r];
    recomputeBudgetTotal();
}

std::string WindRoseGrid::budgetsText() const
{
    std::string text;
    for (long long share : budgets())
        text += formatHundredthsGeneral(share) + ";";
    return text;
}

std::array<long long, kWindRoseRows> WindRoseGrid::parseBudgets(std::string_view text)
{
    std::array<long long, kWindRoseRows> shares{};
    for (std::size_t r = 0; r < kWindRoseRows && !text.empty(); ++r) {
        std::size_t end = text.find(';');
        shares[r] = parseHundredths(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return shares;
}

std::vector<double> WindRoseGrid::directionTotals() const
{
    std::vector<double> totals(8);
    for (int c = 1; c <= 8; ++c)
        totals[c - 1] = hundredthsToDouble(m_cells[kSumRow][c]);
    return totals;
}

std::vector<double> WindRoseGrid::classLayer(int stabilityClass) const
{
    return layer(m_cells, kRowStabilityClass, stabilityClass);
}

std::vector<double> WindRoseGrid::speedLayer(int speedClass) const
{
    return layer(m_cells, kRowSpeedClass, speedClass);
}

}  // namespace ovd
