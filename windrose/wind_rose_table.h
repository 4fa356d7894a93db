#pragma once
// The wind rose as the editor holds it: eleven rows of stability class and wind speed
// class, nine columns (the directions N to NW clockwise, then CALM), in percent of the
// year, and a one-line comment.
#include <array>
#include <string>
#include <string_view>

namespace ovd {

inline constexpr std::size_t kWindRoseRows = 11;
inline constexpr std::size_t kWindRoseColumns = 9;

// Row titles in file order; the speeds are those of the speed classes 1, 2 and 3.
inline constexpr std::array<std::string_view, kWindRoseRows> kWindRoseRowLabels = {
    " I.tř. v=1.7 m/s", " II.tř. v=1.7 m/s", " II.tř. v=5 m/s",   " III.tř. v=1.7 m/s",
    " III.tř. v=5 m/s", " III.tř. v=11 m/s", " IV.tř. v=1.7 m/s", " IV.tř. v=5 m/s",
    " IV.tř. v=11 m/s", " V.tř. v=1.7 m/s",  " V.tř. v=5 m/s",
};
inline constexpr std::array<std::string_view, kWindRoseColumns> kWindRoseColumnNames = {
    "N", "NE", "E", "SE", "S", "SW", "W", "NW", "CALM",
};
// Rows whose wind speed is above 1.7 m/s have no calm (0-based indexes).
inline constexpr std::array<std::size_t, 6> kRowsWithoutCalm = {2, 4, 5, 7, 8, 10};

struct WindRoseTable {
    std::string comment;  // UTF-8, without the leading ";"
    std::array<std::array<double, kWindRoseColumns>, kWindRoseRows> values{};

    double total() const
    {
        double sum = 0;
        for (const auto& row : values)
            for (double v : row)
                sum += v;
        return sum;
    }
};

}  // namespace ovd
