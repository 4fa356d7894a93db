#pragma once
// The limit values of the air quality law, read from a text table shipped with the program
// (or the user's own copy), and the choice of the limit that applies to a result column.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"

namespace ovd {

enum class Averaging { Hour, EightHours, Day, Year, Winter };

// "1 h", "8 h", "24 h", "kalendářní rok", "zimní období" in messages; "1h", "8h", "24h", "rok",
// "zima" in the table.
std::string_view averagingTitle(Averaging);
std::optional<Averaging> parseAveraging(std::string_view);

struct LimitValue {
    std::string pollutant;
    Averaging averaging = Averaging::Year;
    double value = 0;        // µg/m³
    int allowed = 0;         // exceedances allowed in a year
    std::string validFrom;   // YYYY-MM-DD
    std::string reference;   // the law and its annex
};

// Lines "látka;doba;limit;povolená překročení;platí od;předpis", "#" starts a comment. The
// problem names the file and the line that is not such a row.
Outcome<std::vector<LimitValue>> readLimitTable(const std::string& path);
std::optional<std::vector<LimitValue>> parseLimitTable(const std::string& text, std::string& error);

// The table installed with the program (share/ovardix beside bin), else the source tree's.
std::string defaultLimitTablePath();

// The averaging time of a result column: CONC_AVG the year; CONC_MAX and CM_... one hour; the
// daily table's CONC_VALUE 24 hours; an exceedance-hours field T1_... one hour. None for any
// other column.
std::optional<Averaging> columnAveraging(std::string_view column);
// The concentration an exceedance-hours field counts above (T1_200_0000 -> 200); none for a
// name that is not one.
std::optional<double> hoursFieldConcentration(std::string_view column);

// Nullopt when the table names the pollutant (case ignored); else the problem naming the
// pollutant, the file and the names the table knows.
std::optional<Problem> checkPollutant(const std::vector<LimitValue>&, const std::string& path, std::string_view pollutant);

// The pollutant's limit of that averaging time valid on `today` (YYYY-MM-DD): of several, the
// one valid from the latest date not after today. Refused naming the pollutant (unknown to
// the table at `path`) or the pollutant and the averaging time (no such limit).
Outcome<LimitValue> chooseLimit(const std::vector<LimitValue>&, const std::string& path, std::string_view pollutant,
                                Averaging, std::string_view today);

// Today's date in UTC as YYYY-MM-DD.
std::string todayText();

}  // namespace ovd
