#pragma once
// The assessment of a result table against the background and the limit values, and the
// comparison of two variants: ovardix-cli assess and compare.
#include "tool_registry.h"

namespace ovd {

ToolStatus runAssess(ToolCall&);
ToolStatus runCompare(ToolCall&);

}  // namespace ovd
