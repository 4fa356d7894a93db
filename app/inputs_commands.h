#pragma once
// Conversion of the text inputs, the two input checks and the reference point grid.
#include "tool_registry.h"

namespace ovd {

ToolStatus runConvert(ToolCall&);
ToolStatus runCheckPoints(ToolCall&);
ToolStatus runCheckSources(ToolCall&);
ToolStatus runGrid(ToolCall&);

}  // namespace ovd
