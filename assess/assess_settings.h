#pragma once
// The keys of the assessment and of the comparison of two variants. Optional numbers are
// kept as text: an empty key means "not given".
#include <string>
#include <vector>

#include "common/parameters.h"

namespace ovd {

namespace section {
inline constexpr std::string_view kAssessment = "Hodnoceni";
inline constexpr std::string_view kVariants = "Varianty";
}  // namespace section

struct AssessSettings {
    std::string input;             // the result table
    std::string column;            // the assessed column; empty gives CONC_AVG
    std::string background;        // a raster, a polygon layer or one number
    std::string backgroundColumn;  // the polygon layer's attribute; empty: the background is a raster
    bool bilinear = false;         // a raster's value interpolated between the four nearest cells
    std::string fill;              // the background of points outside it; empty refuses them
    std::string pollutant;         // a name of the limit table
    std::string limit;             // overrides the table's limit
    std::string hoursColumn;       // an exceedance-hours field T1_...
    std::string allowedHours;      // overrides the table's allowed exceedances
    std::string limits;            // the limit table; empty gives the one installed
    std::string output;            // empty gives the input's name with "_hodnoceni"
    std::string coordinateSystem;  // the study's, read only

    using Self = AssessSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

struct CompareSettings {
    std::string base, variant;
    std::string column;     // empty gives CONC_AVG
    std::string threshold;  // an increase above it is counted; empty gives 0
    std::string output;     // empty gives the variant's name with "_rozdil"

    using Self = CompareSettings;
    static const std::vector<Param<Self>> kParams;
};

inline constexpr const char* kDefaultAssessedColumn = "CONC_AVG";

// The output of a run: the given one, else the input's name (without ".dbf") with `suffix`.
std::string assessOutputPath(const std::string& output, const std::string& input, const char* suffix);
// The run log beside a table: its name with "vst" for the last three characters of a ".dbf",
// else with ".vst" appended.
std::string assessLogPath(const std::string& table);

}  // namespace ovd
