#pragma once
// Opening the result table that the export, display and isoline tools read, with the
// messages for a file that cannot be read, is not a dBASE table, or is cut short.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "common/dbf_reader.h"
#include "common/outcome.h"
#include "common/reporter.h"
#include "common/tool.h"

namespace ovd {

enum class TruncatedTable {
    Refuse,  // an error: exporting part of a table would pass for the whole of it
    Warn,    // a warning, and the records present are used
};

// `cannotOpen` is the tool's own message for a file that cannot be read.
std::optional<DbfTable> openInputTable(const std::string& path, std::string_view cannotOpen, TruncatedTable, Reporter&);

// An export's input: asked first whether each existing output may be replaced, then the
// whole table (a cut one is refused). Nullopt with `status` Declined or Failed otherwise.
std::optional<DbfTable> openExportInput(const std::string& path, std::initializer_list<std::string> outputs,
                                        const RunContext&, ToolStatus& status);

std::string truncatedTableMessage(const std::string& path, const DbfTable&);

// The problem of a record whose numeric field reads "nan" or "inf", which a GIS would take
// for a value; nullopt when each of its numeric fields is a number or blank.
std::optional<Problem> nonFiniteFieldProblem(const DbfTable&, std::size_t record, const std::string& path);

}  // namespace ovd
