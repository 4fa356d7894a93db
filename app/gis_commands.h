#pragma once
// The exports to GIS formats: ovardix-cli gis-export, and the DBF export's GIS targets.
#include "tool_registry.h"

namespace ovd {

ToolStatus runGisExport(ToolCall&);
// The export of "ZapisGis" 3 to 7 from the DBF export: false when the target is not one.
bool isGisTarget(int target);
ToolStatus runGisTarget(ToolCall&);
// The DBF export's keys together with those of its GIS targets.
std::vector<ParamInfo> dbfExportParams();

}  // namespace ovd
