#pragma once
// The annual and maximum concentrations, the daily concentrations, and the unattended main road.
#include "tool_registry.h"

namespace ovd {

ToolStatus runConcentrations(ToolCall&);
ToolStatus runDaily(ToolCall&);
// Conversion, coefficients and concentrations one after the other, asking nothing.
ToolStatus runMainRoad(ToolCall&);
// The same for a launcher of tiles: a study stopped during its concentrations (its checkpoint
// is there) goes on from the checkpoint without converting and computing the matrices again.
ToolStatus runResumableRoad(ToolCall&);

}  // namespace ovd
