#pragma once
// The assessment of a result table: the contribution plus the background, compared with the
// limit value; how much of the limit the total and the contribution take, and where the total
// (and the exceedance hours) exceed it.
#include <optional>
#include <string>
#include <vector>

#include "assess_settings.h"
#include "common/tool.h"
#include "point_table.h"

namespace ovd {

struct AssessedPoint {
    double contribution = 0, background = 0, total = 0, limit = 0;
    double shareOfLimit = 0, contributionShare = 0;  // percent of the limit
    bool exceeds = false;
    std::optional<double> hours;  // with an hours column
    bool hoursExceed = false;
};

// The background is taken as the table will hold it (six decimals), so that every figure
// can be checked against the table's own values.
std::vector<AssessedPoint> assessPoints(const std::vector<double>& contribution, const std::vector<double>& background,
                                        double limit, const std::vector<double>* hours, double allowedHours);

struct Extreme {
    std::size_t index = 0;
    double value = 0;
};

struct AssessSummary {
    std::size_t points = 0;
    Extreme contribution, total, share;  // the first point of the greatest value
    std::size_t exceeding = 0;
    std::optional<double> exceedingArea;  // km², when the points form a lattice
    std::size_t aboveOnePercent = 0;      // the contribution above 1 % of the limit
    std::optional<std::size_t> hoursExceeding;
};

AssessSummary summarizeAssessment(const std::vector<TablePoint>&, const std::vector<AssessedPoint>&);
std::vector<std::string> assessSummaryLines(const AssessSummary&, const PointTable&);

// The files of the run that no output may be: the project and the profile.
struct RunFiles {
    std::string project, profile;
};

// The whole tool; `summary` gets the summary's lines (also written into the run log).
ToolStatus runAssessment(const AssessSettings&, const RunFiles&, const RunContext&, std::vector<std::string>& summary);

// A value a key or an option gives as text: none when empty; the problem names the key.
Outcome<std::optional<double>> optionalNumber(const std::string& text, const char* what);

}  // namespace ovd
