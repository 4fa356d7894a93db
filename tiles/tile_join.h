#pragma once
// Joining the outputs of tiles into what one run over all their points writes: result
// tables, the protocol and the run log. The parts are given in tile order.
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "common/outcome.h"

namespace ovd {

// The records of tables with the same fields one after the other, under the first table's
// header with the record count of all and `date`. `what` names the table in a problem.
Outcome<std::string> joinDbfTables(const std::vector<std::string>& tables, const DbfDate& date,
                                   const std::string& what);
// `filesText` (the study's date and files), then the parameters of the first protocol and
// the point lines of all; protocols with other parameters are refused.
Outcome<std::string> joinProtocols(const std::string& filesText, const std::vector<std::string>& protocols);
// `dateLine`, the result line, the values noted for the points of every tile, the notes of
// the source table (the same in every tile) once, and the closing line.
Outcome<std::string> joinRunLogs(const std::string& dateLine, const std::vector<std::string>& logs);

}  // namespace ovd
