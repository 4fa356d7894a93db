#pragma once
// A result table of scattered points for the benchmarks: `count` points drawn at random over
// the square of side `side` from (x0, y0), each with value(x, y) in the last column `column`
// (Z 300, L 1.5). The points written, or nullopt when the table cannot be written.
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "geotools/isoline_input.h"

namespace ovd {

inline std::optional<std::vector<ScatterPoint>>
writeScatteredTable(const std::string& path, int count, const char* idField, const char* column, double x0, double y0,
                    double side, const std::function<double(double, double)>& value, std::mt19937& rng)
{
    std::uniform_real_distribution<double> coord(0, side);
    std::vector<ScatterPoint> points;
    DbfWriter w;
    std::vector<DbfField> fields = {{idField, 10, 0, 0}, {"X_COORD", 15, 6, 0}, {"Y_COORD", 15, 6, 0},
                                    {"Z_ELEV", 15, 6},   {"L_ELEV", 15, 6},     {column, 15, 6}};
    if (!w.open(path, fields, count, {2026, 1, 1}))
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        double x = x0 + coord(rng), y = y0 + coord(rng);
        double v = value(x, y);
        points.push_back({x, y, v});
        double row[] = {double(i + 1), x, y, 300, 1.5, v};
        w.writeRecord(row);
    }
    if (!w.finish())
        return std::nullopt;
    return points;
}

}  // namespace ovd
