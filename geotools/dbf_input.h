#pragma once
// Opening the result table that the export, display and isoline tools read, with the
// messages for a file that cannot be read, is not a dBASE table, or is cut short.
#include <optional>
#include <string>
#include <string_view>

#include "common/dbf_reader.h"
#include "common/reporter.h"

namespace ovd {

enum class TruncatedTable {
    Refuse,  // an error: exporting part of a table would pass for the whole of it
    Warn,    // a warning, and the records present are used
};

// `cannotOpen` is the tool's own message for a file that cannot be read.
std::optional<DbfTable> openInputTable(const std::string& path, std::string_view cannotOpen, TruncatedTable, Reporter&);

std::string truncatedTableMessage(const std::string& path, const DbfTable&);

}  // namespace ovd
