#pragma once
// A result table read for the assessment: its points (the first field, X_COORD, Y_COORD,
// Z_ELEV, L_ELEV) and the numeric columns asked of it.
#include <string>
#include <vector>

#include "common/dbf_reader.h"
#include "common/dbf_writer.h"
#include "common/outcome.h"

namespace ovd {

struct TablePoint {
    std::size_t record = 0;  // from 1, as the table counts them
    std::string id;          // the first field's text without blanks
    double idValue = 0;      // as a number, for the output's first field
    double x = 0, y = 0, z = 0, l = 0;
};

class PointTable {
public:
    // The whole table (one cut short is refused); refused, naming the file, when it cannot be
    // read or is not a result table: the first field ID or ID_POINT, then coordinates.
    static Outcome<PointTable> read(const std::string& path);

    const std::string& path() const { return m_path; }
    const std::vector<TablePoint>& points() const { return m_points; }
    // The first field and the four that follow it, as the output repeats them.
    std::vector<DbfField> pointFields() const;
    // The column's value at every point; refused naming the file when the column is missing,
    // not numeric, or blank at a point.
    Outcome<std::vector<double>> column(const std::string& name) const;
    // "bod 12 (X -866500.000000, Y -1013900.000000)"
    std::string pointText(std::size_t i) const;

private:
    std::string m_path;
    DbfTable m_table;
    std::vector<std::size_t> m_live;
    DbfField m_idField;
    std::vector<TablePoint> m_points;
};

}  // namespace ovd
