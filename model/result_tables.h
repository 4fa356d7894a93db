#pragma once
// The five result tables of the concentration computations (annual, maximum, daily,
// source table, source-group shares): their fields, and a writer that takes one row at a
// time and names in the run log every value that did not fit its field.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/dbf_writer.h"

namespace ovd {

// The three limit concentrations; a limit of 0 is not used and has no field.
using Limits = std::array<double, 3>;

// "T<m>_<digits>_<decimals>0" from the limit formatted in seven characters, always 11
// characters; T1_CONC_1 (T2_CONC_2, T3_CONC_3) for limits <= 0 or >= 100000. m is 1 to 3.
std::string exceedanceFieldName(int m, double limit);
// "GR_" and the group number in six digits (12 -> GR_000012).
std::string groupFieldName(long group);

// ID, X_COORD, Y_COORD, Z_ELEV, L_ELEV, CONC_AVG, CM_MAX, the eleven CM_ case maxima and
// one exceedance field per limit that is not 0.
std::vector<DbfField> annualTableFields(const Limits&);
// ID_POINT, coordinates, CONC_MAX, CLASS_STAB, W_VELOCITY, W_DIRECT, CONC_AVG, exceedances.
std::vector<DbfField> maximumTableFields(const Limits&);
// ID_POINT, coordinates, CONC_VALUE.
std::vector<DbfField> dailyTableFields();
// ID_SOURCE, X_COORD, Y_COORD, Z_ELEV, TYPE, ID_CLUSTER, ID_GROUP and the nine values.
std::vector<DbfField> sourceTableFields();
// ID_POINT, coordinates, then one GR_ field per used group slot in the order given.
std::vector<DbfField> groupSharesTableFields(std::span<const long> groups);
// The maximum's: ID_POINT, coordinates, CONC_MAX, CLASS_STAB, W_VELOCITY, W_DIRECT as in the
// maximum table, then one GR_ field per used group slot in the order given.
std::vector<DbfField> maximumGroupSharesTableFields(std::span<const long> groups);

struct PointColumns {
    long id = 0;
    double x = 0, y = 0, z = 0, l = 0;
};

struct AnnualRow {
    PointColumns point;
    double annualMean = 0;
    std::array<double, 11> caseMaxima{};  // weather cases in wind rose row order
    std::array<double, 3> hours{};        // exceedance hours; only limits != 0 are written
};
// The greatest case maximum (starting from 0, only a strictly greater one replaces it).
double overallMaximum(const std::array<double, 11>& caseMaxima);

struct MaximumRow {
    PointColumns point;
    double maximum = 0;
    int stabilityClass = 0;
    double windSpeed = 0, windDirection = 0;
    double annualMean = 0;
    std::array<double, 3> hours{};
};

struct SourceRow {
    long id = 0;
    double x = 0, y = 0, z = 0;
    int type = 0;
    long cluster = 0, group = 0;
    std::array<double, 9> values{};  // as stored in the source file
};

// Share of a group in the annual mean in percent; 0 when the mean is 0.
double groupShare(double groupAnnualSum, double annualMean);

// Values in field order, ready for ResultTableWriter::writeRow.
std::vector<double> annualRowValues(const AnnualRow&, const Limits&);
std::vector<double> maximumRowValues(const MaximumRow&, const Limits&);
std::vector<double> dailyRowValues(const PointColumns&, double concentration);
std::vector<double> sourceRowValues(const SourceRow&);
// groupSums holds the annual sums of the groups of the table, in its field order.
std::vector<double> groupSharesRowValues(const PointColumns&, std::span<const double> groupSums, double annualMean);
// The maximum's row: its weather from `row` (the annual mean and hours are not written),
// then the groups' shares in percent of the maximum, in the table's field order.
std::vector<double> maximumGroupSharesRowValues(const MaximumRow& row, std::span<const double> percent);

// For a row of a point table whose values are not all finite (the first is the point's
// number): the message that stops the run, naming the point and the field.
std::optional<std::string> nonFiniteResultText(std::span<const DbfField> fields, std::span<const double> values);

// A result table written row by row. A value that does not fit its field is written with
// fewer decimals or as "*" (see dbfFieldText); each such value gets one line in the log
// naming the record's ID (point or source number) and the field.
class ResultTableWriter {
public:
    using LogSink = std::function<void(std::string_view line)>;

    explicit ResultTableWriter(LogSink log = {})
        : m_log(std::move(log))
    { }
    bool open(const std::string& path, std::vector<DbfField> fields, std::uint32_t expectedRows, DbfDate date)
    {
        return m_writer.open(path, std::move(fields), expectedRows, date);
    }
    // The first value is the record's ID.
    bool writeRow(std::span<const double> values);
    bool finish() { return m_writer.finish(); }
    void discard() { m_writer.discard(); }
    std::size_t overflowCount() const { return m_overflows; }

private:
    DbfWriter m_writer;
    LogSink m_log;
    std::size_t m_overflows = 0;
};

// The run log line for one value that did not fit.
std::string overflowLogLine(long id, const DbfField& field, const DbfOverflow& overflow);

}  // namespace ovd
