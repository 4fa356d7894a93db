#pragma once
// ovardix-cli scale-groups: the annual mean with changed emissions of source groups.
#include "tool_registry.h"

namespace ovd {

ToolStatus runScaleGroups(ToolCall&);

}  // namespace ovd
