#pragma once
// Texts of a concentration run: the status lines and window titles, the run log lines and
// the text protocol beside the result table.
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "model/concentration_state.h"

namespace ovd {

inline constexpr const char* kAnnualTitle = "Výpočet ročních koncentrací znečištujících látek";
inline constexpr const char* kMaximumTitle = "Výpočet maximálních koncentrací znečišťujících látek";

std::string directionStatusText(bool maximum, double direction);
std::string directionTitleText(bool maximum, double direction);
// What a restarted run shows first, in both modes.
std::string restartStatusText(double storedDirection);
std::string restartTitleText(double storedDirection);

std::string runLogDateLine(const DbfDate&);

struct ProtocolFiles {
    std::string points, sources, theta, delta, zmax, clusters, windRose;
    std::string output, protocol, sourceTable, groupOutput;
};

// The whole protocol: header, input and output files, parameters, one line per point.
std::string protocolText(const PreparedRun&, const ConcentrationState&, const ProtocolFiles&, const DbfDate&);

}  // namespace ovd
