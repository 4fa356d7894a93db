#pragma once
// Reading and writing one project setting from the command line.
#include "tool_registry.h"

namespace ovd {

ToolStatus runGetSetting(ToolCall&);
ToolStatus runSetSetting(ToolCall&);

}  // namespace ovd
