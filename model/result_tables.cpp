#include "result_tables.h"

#include <cmath>

#include "common/numbers.h"

namespace ovd {

namespace {

DbfField key(const char* name, int length)
{
    return {name, length, 0, 0};
}
DbfField real(const char* name)
{
    return {name, 15, 6, 1};
}
DbfField coordinate(const char* name)
{
    return {name, 15, 6, 0};
}

// First field, X_COORD, Y_COORD, Z_ELEV and L_ELEV of the point tables.
std::vector<DbfField> pointFields(const char* idName)
{
    return {key(idName, 10), coordinate("X_COORD"), coordinate("Y_COORD"), real("Z_ELEV"), real("L_ELEV")};
}

void appendExceedanceFields(std::vector<DbfField>& fields, const Limits& limits)
{
    for (int m = 0; m < 3; ++m)
        if (limits[m] != 0)
            fields.push_back({exceedanceFieldName(m + 1, limits[m]), 15, 6, 1});
}

void appendPoint(std::vector<double>& v, const PointColumns& p)
{
    v.insert(v.end(), {static_cast<double>(p.id), p.x, p.y, p.z, p.l});
}

void appendHours(std::vector<double>& v, const std::array<double, 3>& hours, const Limits& limits)
{
    for (int m = 0; m < 3; ++m)
        if (limits[m] != 0)
            v.push_back(hours[m]);
}

// Limit ranges with their seven-character formats; the last range ends at 100000.
struct NameFormat {
    double below;
    const char* format;
};
constexpr NameFormat kNameFormats[] = {
    {10, "%07.5f"}, {100, "%07.4f"}, {1000, "%07.3f"}, {10000, "%07.2f"}, {100000, "%07.1f"},
};

// The point, its maximum and the maximum's weather: the maximum tables' first fields.
std::vector<DbfField> maximumWeatherFields()
{
    std::vector<DbfField> f = pointFields("ID_POINT");
    f.push_back(real("CONC_MAX"));
    f.push_back({"CLASS_STAB", 4, 0, 1});
    f.push_back({"W_VELOCITY", 6, 2, 1});
    f.push_back({"W_DIRECT", 7, 2, 1});
    return f;
}

void appendMaximumWeather(std::vector<double>& v, const MaximumRow& row)
{
    appendPoint(v, row.point);
    v.insert(v.end(), {row.maximum, static_cast<double>(row.stabilityClass), row.windSpeed, row.windDirection});
}

long recordId(double value)
{
    return std::isfinite(value) && std::fabs(value) < 1e15 ? static_cast<long>(value) : 0;
}

}  // namespace

std::string exceedanceFieldName(int m, double limit)
{
    std::string fallback = cformat("T%d_CONC_%d", m, m);
    if (!(limit > 0))
        return fallback;
    std::size_t range = 0;
    while (range < std::size(kNameFormats) && !(limit < kNameFormats[range].below))
        ++range;
    // Rounding can carry into an eighth character (9.999999 -> "10.00000"); the next
    // range's format then keeps the name at 11 characters.
    for (; range < std::size(kNameFormats); ++range) {
        std::string text = cformat(kNameFormats[range].format, limit);
        std::size_t point = text.find('.');
        if (text.size() == 7 && point != std::string::npos)
            return cformat("T%d_", m) + text.substr(0, point) + "_" + text.substr(point + 1) + "0";
    }
    return fallback;
}

std::string groupFieldName(long group)
{
    return cformat("GR_%06ld", group);
}

std::vector<DbfField> annualTableFields(const Limits& limits)
{
    std::vector<DbfField> f = pointFields("ID");
    for (const char* name : {"CONC_AVG", "CM_MAX", "CM_1_01_7", "CM_2_01_7", "CM_2_05_0", "CM_3_01_7", "CM_3_05_0",
                             "CM_3_11_0", "CM_4_01_7", "CM_4_05_0", "CM_4_11_0", "CM_5_01_7", "CM_5_05_0"})
        f.push_back(real(name));
    appendExceedanceFields(f, limits);
    return f;
}

std::vector<DbfField> maximumTableFields(const Limits& limits)
{
    std::vector<DbfField> f = maximumWeatherFields();
    f.push_back(real("CONC_AVG"));
    appendExceedanceFields(f, limits);
    return f;
}

std::vector<DbfField> dailyTableFields()
{
    std::vector<DbfField> f = pointFields("ID_POINT");
    f.push_back(real("CONC_VALUE"));
    return f;
}

std::vector<DbfField> sourceTableFields()
{
    std::vector<DbfField> f = {key("ID_SOURCE", 10), coordinate("X_COORD"), coordinate("Y_COORD"), real("Z_ELEV"),
                               key("TYPE", 5),       key("ID_CLUSTER", 5),  key("ID_GROUP", 5)};
    for (const char* name :
         {"M/ML", "H/X1EL", "VS/Y1EL", "TS/X2EL", "D/Y2EL", "W0/X0EL", "ALFA/Z0EL", "PD/ALFA", "Y0/PD"})
        f.push_back(real(name));
    return f;
}

std::vector<DbfField> groupSharesTableFields(std::span<const long> groups)
{
    std::vector<DbfField> f = pointFields("ID_POINT");
    for (long g : groups)
        f.push_back({groupFieldName(g), 15, 6, 0});
    return f;
}

std::vector<DbfField> maximumGroupSharesTableFields(std::span<const long> groups)
{
    std::vector<DbfField> f = maximumWeatherFields();
    for (long g : groups)
        f.push_back({groupFieldName(g), 15, 6, 0});
    return f;
}

double overallMaximum(const std::array<double, 11>& caseMaxima)
{
    double best = 0;
    for (double c : caseMaxima)
        if (c > best)
            best = c;
    return best;
}

double groupShare(double groupAnnualSum, double annualMean)
{
    return annualMean == 0 ? 0.0 : 100.0 * groupAnnualSum / annualMean;
}

std::vector<double> annualRowValues(const AnnualRow& row, const Limits& limits)
{
    std::vector<double> v;
    v.reserve(21);
    appendPoint(v, row.point);
    v.push_back(row.annualMean);
    v.push_back(overallMaximum(row.caseMaxima));
    v.insert(v.end(), row.caseMaxima.begin(), row.caseMaxima.end());
    appendHours(v, row.hours, limits);
    return v;
}

std::vector<double> maximumRowValues(const MaximumRow& row, const Limits& limits)
{
    std::vector<double> v;
    v.reserve(13);
    appendMaximumWeather(v, row);
    v.push_back(row.annualMean);
    appendHours(v, row.hours, limits);
    return v;
}

std::vector<double> dailyRowValues(const PointColumns& point, double concentration)
{
    std::vector<double> v;
    appendPoint(v, point);
    v.push_back(concentration);
    return v;
}

std::vector<double> sourceRowValues(const SourceRow& row)
{
    std::vector<double> v = {static_cast<double>(row.id),
                             row.x,
                             row.y,
                             row.z,
                             static_cast<double>(row.type),
                             static_cast<double>(row.cluster),
                             static_cast<double>(row.group)};
    v.insert(v.end(), row.values.begin(), row.values.end());
    return v;
}

std::vector<double> groupSharesRowValues(const PointColumns& point, std::span<const double> groupSums,
                                         double annualMean)
{
    std::vector<double> v;
    v.reserve(5 + groupSums.size());
    appendPoint(v, point);
    for (double sum : groupSums)
        v.push_back(groupShare(sum, annualMean));
    return v;
}

std::vector<double> maximumGroupSharesRowValues(const MaximumRow& row, std::span<const double> percent)
{
    std::vector<double> v;
    v.reserve(9 + percent.size());
    appendMaximumWeather(v, row);
    v.insert(v.end(), percent.begin(), percent.end());
    return v;
}

std::string overflowLogLine(long id, const DbfField& field, const DbfOverflow& overflow)
{
    std::string value = cformat("%.6g", overflow.value);
    if (overflow.starred)
        return cformat("Zaznam ID %ld: hodnota %s se nevejde do pole %s (%d.%d), zapsana jako *\n", id, value.c_str(),
                       field.name.c_str(), field.length, field.decimals);
    return cformat("Zaznam ID %ld: hodnota %s se nevejde do pole %s (%d.%d), zapsana s %d des. misty\n", id,
                   value.c_str(), field.name.c_str(), field.length, field.decimals, overflow.decimalsWritten);
}

bool ResultTableWriter::writeRow(std::span<const double> values)
{
    std::vector<DbfOverflow> overflows;
    if (!m_writer.writeRecord(values, &overflows))
        return false;
    m_overflows += overflows.size();
    if (m_log)
        for (const DbfOverflow& o : overflows)
            m_log(overflowLogLine(recordId(values[0]), m_writer.fields()[o.field], o));
    return true;
}

std::optional<std::string> nonFiniteResultText(std::span<const DbfField> fields, std::span<const double> values)
{
    for (std::size_t i = 0; i < values.size() && i < fields.size(); ++i)
        if (!std::isfinite(values[i]))
            return cformat("Výsledek referenčního bodu %ld v poli %s není konečné číslo, výsledky nelze zapsat!",
                           recordId(values[0]), fields[i].name.c_str());
    return std::nullopt;
}

}  // namespace ovd
