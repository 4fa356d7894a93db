#pragma once
// The annual and maximum concentrations, the daily concentrations, and the unattended main road.
#include <string>
#include <string_view>

#include "tool_registry.h"

namespace ovd {

// The main road's steps in order (the program's unattended run takes the same): the tool
// and the name its stop message gives it.
struct RoadStep {
    std::string_view tool;
    const char* name;
};
inline constexpr RoadStep kMainRoad[] = {
    {"convert", "převod vstupních souborů"},
    {"coefficients", "výpočet koeficientů Theta, Delta, ZMax"},
    {"concentrations", "výpočet koncentrací"},
};
// The error that ends an unattended run at a step that failed.
std::string roadStoppedText(const RoadStep&);

ToolStatus runConcentrations(ToolCall&);
ToolStatus runDaily(ToolCall&);
// Conversion, coefficients and concentrations one after the other, asking nothing.
ToolStatus runMainRoad(ToolCall&);
// The same for a launcher of tiles: a study stopped during its concentrations (its checkpoint
// is there) goes on from the checkpoint without converting and computing the matrices again.
ToolStatus runResumableRoad(ToolCall&);

}  // namespace ovd
