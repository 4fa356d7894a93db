#pragma once
// The tool "Výpočet koeficientů Theta, Delta, ZMax.": walks the terrain along every
// source-to-point line and writes the three coefficient matrices and the run log
// "prub_koe.tmp". The matrices appear together at the end of a complete run; a run that
// stops early leaves the previous ones as they were.
#include "coefficient_settings.h"
#include "common/tool.h"

namespace ovd {

inline constexpr long kMaxCoefficientCount = 32767;  // sources, and reference points

// `threads` 0 uses every core; the matrices and the log do not depend on it.
ToolStatus computeCoefficients(const CoefficientSettings&, const RunContext&, unsigned threads = 0);

}  // namespace ovd
