#pragma once
// Reads the three coefficient matrices of a concentration run into memory, each failure
// reported with its own message. A value no formula can use (not finite, a Theta outside
// 0 to 1, a Delta outside 0 to 360, a negative ZMax) is refused naming file, row and column.
#include <string>

#include "common/reporter.h"
#include "model/concentration_inputs.h"

namespace ovd {

// False after a reported failure. Matrices whose sizes differ from Theta's are not read:
// their differing row or column count is set to -1, so that the size checks of the run
// refuse them with their own messages.
bool readCoefficientMatrices(const std::string& theta, const std::string& delta, const std::string& zmax,
                             CoefficientMatrices&, Reporter&);

}  // namespace ovd
