#pragma once
// One reader per text input kind: parses a data line as the C scanner would (a field that
// cannot be read and every field after it keep their sentinel) and checks it with the
// messages the checks show. The conversion and the checks share these; nothing else
// parses these lines.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input_records.h"
#include "text_line.h"

namespace ovd {

// Reference points: "%ld,%lf,%lf,%lf,%lf;".
struct PointLine {
    long number = kMissingWhole;
    double x = kMissingReal, y = kMissingReal, z = kMissingReal, l = kMissingReal;
    bool complete = false;
    ReferencePoint record() const;
};
PointLine parsePointLine(std::string_view line);
LineVerdict checkPointLine(std::string_view line, long lineNumber);

// Source coordinates: "%ld,%lf,%lf,%lf,%d,%ld,%ld;".
struct CoordinateLine {
    long number = kMissingWhole;
    double x = kMissingReal, y = kMissingReal, z = kMissingReal;
    long type = kMissingWhole, cluster = kMissingWhole, group = kMissingWhole;
    bool complete = false;
};
CoordinateLine parseCoordinateLine(std::string_view line);
LineVerdict checkCoordinateLine(std::string_view line, long lineNumber);

// Source description: the number and nine values.
struct DescriptionLine {
    long number = kMissingWhole;
    std::array<double, kDescriptionValueCount> values{};
    bool complete = false;
};
DescriptionLine parseDescriptionLine(std::string_view line);
// `sourceType` is the type of the first coordinates record with the same number, or
// nullopt when there is none ("Chybí odkaz").
LineVerdict checkDescriptionLine(std::string_view line, long lineNumber, std::optional<long> sourceType);
// The volume of flue gas under normal conditions for these stack values, m3/s.
double normalFlueGasVolume(double diameter, double velocity, double temperature);

// Dust description: "%ld,%lf,%d", then for dust group 0 the fraction count and pairs.
struct DustLine {
    long number = kMissingWhole;
    double density = kMissingReal;
    long group = kMissingWhole;
    bool complete = false;
    bool numberOnly = false;  // the line holds the source number alone (area, line sources)
};
DustLine parseDustLine(std::string_view line);

// Number, density, dust group, N and the N pairs.
struct ExpandedDust {
    long number = kMissingWhole;
    double density = kMissingReal;
    long group = kMissingWhole;
    long count = kMissingWhole;
    std::vector<DustFraction> fractions;
    bool complete = false;
};
ExpandedDust parseExpandedDust(std::string_view text);

// The first dust-groups line whose record number is `group`.
std::optional<std::string> findDustGroupLine(const std::vector<std::string>& groupLines, long group);
// The dust line joined with its group's fraction list (the group line from its first comma);
// the line itself for dust group 0 or when the group is not found.
std::string expandDustLine(std::string_view dustLine, const DustLine& parsed,
                           const std::vector<std::string>& groupLines);

// Check of one dust description line; nullopt for a line that is passed over (fewer than
// two commas and no comment). Lines that need a dust group read `groupLines`.
std::optional<LineVerdict> checkDustLine(std::string_view line, long lineNumber,
                                         const std::vector<std::string>& groupLines);

}  // namespace ovd
