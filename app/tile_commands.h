#pragma once
// Splitting a large study into tiles and merging their results.
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kTileOptions[] = {
    option("--points", "N", "nejvýše bodů jedné dlaždice běžné studie").integer(),
    option("--width", "W", "šířka vektorů pevná pro všechny dlaždice (jinak nejširší na každém stroji)")
        .choice("sse2|avx2|avx512"),
};

ToolStatus runTile(ToolCall&);
ToolStatus runMerge(ToolCall&);

}  // namespace ovd
