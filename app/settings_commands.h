#pragma once
// Reading and writing one project setting from the command line.
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kGetOptions[] = {
    argument("SECTION", "sekce projektu (například Global)"),
    argument("KEY", "klíč v sekci"),
};
inline constexpr OptionSpec kSetOptions[] = {
    argument("SECTION", "sekce projektu (například Global)"),
    argument("KEY", "klíč v sekci"),
    argument("VALUE", "zapisovaná hodnota (může začínat znaménkem minus: -10)"),
};

ToolStatus runGetSetting(ToolCall&);
ToolStatus runSetSetting(ToolCall&);

}  // namespace ovd
