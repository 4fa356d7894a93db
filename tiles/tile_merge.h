#pragma once
// Joins the results of a tiled study's tiles into the study's own result table (and group
// shares), source table, protocol and run log, as one unsplit run writes them apart from
// the dates. Nothing is written unless every tile is complete and was computed from the
// study's inputs and settings as they are now, all with the same vector width.
#include <array>

#include "common/settings_file.h"
#include "common/tool.h"

namespace ovd {

ToolStatus mergeTiles(const SettingsFile& project, const std::array<double, 3>& speeds, const RunContext&);

}  // namespace ovd
