#include "isoline_input.h"

#include <algorithm>

#include "common/numbers.h"
#include "dbf_input.h"

namespace ovd {

namespace {

bool validFieldCount(std::size_t n)
{
    return n == 6 || (n >= 10 && n <= 13) || (n >= 18 && n <= 21);
}

// Fields 7 to 9 of the maximum table (stability class, wind speed, direction) are not values.
bool validValueColumn(std::size_t fieldCount, int column)
{
    int field = column + 1;
    if (column < 0 || static_cast<std::size_t>(field) > fieldCount)
        return false;
    if (fieldCount >= 10 && fieldCount <= 13)
        return field == 6 || field >= 10;
    return field >= 6;
}

bool namedAs(const DbfFieldInfo& f, std::string_view name)
{
    std::string padded(name);
    padded.resize(11, ' ');
    return f.name == padded;
}

double fieldValue(std::string_view text)
{
    return scanDouble(text).value_or(0.0);
}

}  // namespace

std::optional<std::vector<ScatterPoint>> readIsolinePoints(const std::string& path, int column, Reporter& r)
{
    std::optional<DbfTable> t = openInputTable(path, "Nelze otevřít vstupní DBF soubor.", TruncatedTable::Refuse, r);
    if (!t)
        return std::nullopt;
    const auto& fields = t->fields();
    if (!validFieldCount(fields.size())) {
        r.error("Nejedná se o soubor vytvořený programe Ovard - nesprávný počet sloupců.");
        return std::nullopt;
    }
    if (!namedAs(fields[1], "X_COORD") || !namedAs(fields[2], "Y_COORD") || !namedAs(fields[3], "Z_ELEV") ||
        !namedAs(fields[4], "L_ELEV")) {
        r.error("Nejedná se o soubor vytvořený programe Ovard - chybná jména sloupců.");
        return std::nullopt;
    }
    if (!validValueColumn(fields.size(), column)) {
        r.error("Nebyl vybrán sloupec s hodnotami, které je možné zobrazit jako izolinie.");
        return std::nullopt;
    }
    std::vector<std::size_t> live = t->liveRecords();
    if (live.empty()) {
        r.error("DBF soubor je neobashuje žádné záznamy.");
        return std::nullopt;
    }
    std::vector<ScatterPoint> points;
    points.reserve(live.size());
    for (std::size_t k : live) {
        // An empty field counts as 0, but "nan" is no value at all.
        if (std::optional<Problem> p = nonFiniteFieldProblem(*t, k, path)) {
            p->report(r);
            return std::nullopt;
        }
        points.push_back({fieldValue(t->fieldText(k, 1)), fieldValue(t->fieldText(k, 2)),
                          fieldValue(t->fieldText(k, static_cast<std::size_t>(column)))});
    }
    return points;
}

ShapeBox boundingBox(const std::vector<ScatterPoint>& points)
{
    if (points.empty())
        return {};
    ShapeBox b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const ScatterPoint& p : points) {
        b.xmin = std::min(b.xmin, p.x);
        b.ymin = std::min(b.ymin, p.y);
        b.xmax = std::max(b.xmax, p.x);
        b.ymax = std::max(b.ymax, p.y);
    }
    return b;
}

}  // namespace ovd
