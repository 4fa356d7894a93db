#pragma once
// Display and export of result tables, isolines.
#include "tool_registry.h"

namespace ovd {

ToolStatus runDbfShow(ToolCall&);
ToolStatus runDbfExport(ToolCall&);
ToolStatus runIsolines(ToolCall&);

// The declared keys of the geotools' tools (the grid, the coordinates, the DBF export and the
// isolines), given here so that the registry sees no geotools header beside the model's.
std::vector<ParamInfo> gridParams();
std::vector<ParamInfo> coordTableParams();
std::vector<ParamInfo> coordsParams();
std::vector<ParamInfo> dbfExportParams();
std::vector<ParamInfo> isolineParams();

}  // namespace ovd
