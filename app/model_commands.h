#pragma once
// Command-line glue of the dispersion computation's tools: the substance list.
#include "tool_registry.h"

namespace ovd {

// substances: lists the profile's list; substances add NAME CLASS L1 L2 L3 appends an
// entry; substances delete N removes entry N (from 1) after the confirmation question.
ToolStatus runSubstances(ToolCall&);

}  // namespace ovd
