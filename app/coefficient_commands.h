#pragma once
// Coefficients Theta, Delta, ZMax and the matrix files from the command line.
#include "tool_registry.h"

namespace ovd {

ToolStatus runCoefficients(ToolCall&);
ToolStatus runMatrixExport(ToolCall&);
ToolStatus runMatrixShow(ToolCall&);

}  // namespace ovd
