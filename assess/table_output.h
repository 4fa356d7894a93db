#pragma once
// The output of an assessment or comparison: a dBASE table in the result tables' style and
// its run log, written together (both or neither replace what was there).
#include <optional>
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "common/reporter.h"

namespace ovd {

using OutputRow = std::vector<std::optional<double>>;  // none leaves the field blank

// The table's bytes: header of today's date, the records, the end mark.
std::string tableBytes(const std::vector<DbfField>&, const std::vector<OutputRow>&, DbfDate,
                       std::size_t* overflows = nullptr);

// False, after a message naming the file, when either cannot be written.
bool writeTableAndLog(const std::string& table, const std::vector<DbfField>&, const std::vector<OutputRow>&,
                      const std::string& logPath, const std::string& log, Reporter&);

}  // namespace ovd
