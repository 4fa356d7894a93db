#pragma once
// Texts of a concentration run: the status lines and window titles, the run log lines and
// the text protocol beside the result table.
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "model/engine/concentration_state.h"

namespace ovd {

inline constexpr const char* kAnnualTitle = "Výpočet ročních koncentrací znečištujících látek";
inline constexpr const char* kMaximumTitle = "Výpočet maximálních koncentrací znečišťujících látek";

// The annual dust run shows the direction with one decimal.
std::string directionStatusText(bool maximum, double direction, bool dust = false);
std::string directionTitleText(bool maximum, double direction, bool dust = false);
// What a restarted run shows first, in both modes.
std::string restartStatusText(double storedDirection);
std::string restartTitleText(double storedDirection);

std::string runLogDateLine(const DbfDate&);

// Asked when the source file's header says it holds the other kind of sources than the run
// computes (13 columns for gases, 15 for dust).
std::string sourceKindQuestion(bool dustRun);

struct ProtocolFiles {
    std::string points, sources, theta, delta, zmax, clusters, windRose;
    std::string output, protocol, sourceTable, groupOutput;
};

// The protocol's lines of the input files both computations read (the cluster list when used).
std::string protocolInputLines(const ProtocolFiles&, bool clusters);
// The protocol's opening: result line, date, input and output files. The parameters that
// follow begin with kProtocolParametersStart; one line per point ends it.
std::string protocolFilesText(bool nearbySources, bool groupShares, const ProtocolFiles&, const DbfDate&);
inline constexpr const char* kProtocolParametersStart = "\nTrida latky               : ";
inline constexpr const char* kProtocolPointStart = "Cislo Ref : ";

// The whole protocol: header, input and output files (the group-shares table with
// `groupTable`), parameters, one line per point.
std::string protocolText(const PreparedRun&, const ConcentrationState&, const ProtocolFiles&, const DbfDate&,
                         bool groupTable);

}  // namespace ovd
