#pragma once
// Splitting a large study into tiles and merging their results.
#include "tool_registry.h"

namespace ovd {

ToolStatus runTile(ToolCall&);  // [--points N] [--width W]
ToolStatus runMerge(ToolCall&);

}  // namespace ovd
