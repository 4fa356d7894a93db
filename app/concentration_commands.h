#pragma once
// The annual and maximum concentrations, the daily concentrations, and the unattended main road.
#include "tool_registry.h"

namespace ovd {

ToolStatus runConcentrations(ToolCall&);
ToolStatus runDaily(ToolCall&);
// Conversion, coefficients and concentrations one after the other, asking nothing.
ToolStatus runMainRoad(ToolCall&);

}  // namespace ovd
