#pragma once
// Terrain conversion and check, height fill, coordinate conversion table and recomputation.
#include "tool_registry.h"

namespace ovd {

ToolStatus runTerrain(ToolCall&);
ToolStatus runCheckTerrain(ToolCall&);
ToolStatus runHeights(ToolCall&);
ToolStatus runCoordsTable(ToolCall&);
ToolStatus runCoords(ToolCall&);

}  // namespace ovd
