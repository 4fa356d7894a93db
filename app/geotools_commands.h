#pragma once
// Display and export of result tables, isolines.
#include "tool_registry.h"

namespace ovd {

ToolStatus runDbfShow(ToolCall&);
ToolStatus runDbfExport(ToolCall&);
ToolStatus runIsolines(ToolCall&);

}  // namespace ovd
