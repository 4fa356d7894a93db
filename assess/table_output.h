#pragma once
// The output of an assessment or comparison: a dBASE table in the result tables' style and
// its run log, written together (both or neither replace what was there).
#include <optional>
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "common/reporter.h"
#include "common/tool.h"

namespace ovd {

using OutputRow = std::vector<std::optional<double>>;  // none leaves the field blank

// The table's bytes: header of today's date, the records, the end mark.
std::string tableBytes(const std::vector<DbfField>&, const std::vector<OutputRow>&, DbfDate,
                       std::size_t* overflows = nullptr);

// Writes the table and its run log (`log`, then the summary lines) and says `done` with the
// table's name; Failed, after a message naming the file, when either cannot be written.
ToolStatus writeTableAndLog(const std::string& table, const std::vector<DbfField>&, const std::vector<OutputRow>&,
                            const std::string& logPath, std::string log, const std::vector<std::string>& summary,
                            std::string_view done, Reporter&);

}  // namespace ovd
