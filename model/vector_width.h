#pragma once
// The vector width the engine computes with. Results are the same bits for one width
// whatever the thread count, tile size or split of the points, but not across widths; the
// variable OVARDIX_VECTOR_WIDTH (sse2, avx2, avx512) fixes the width, so that machines with
// different processors can produce the same bits.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"

namespace ovd {

enum class VectorWidth { Sse2 = 2, Avx2 = 4, Avx512 = 8 };  // doubles in one register
// Raised whenever a change of the engine's arithmetic moves the results' last bits, so that a
// checkpoint of an older engine is not resumed (and its sums mixed) by a newer one.
constexpr int kEngineArithmetic = 2;

// Widths this processor runs, widest first; SSE2 is always there.
std::vector<VectorWidth> supportedWidths();
const char* vectorWidthName(VectorWidth);
std::optional<VectorWidth> parseVectorWidth(std::string_view);

// The width fixed by `setting` (the variable's value; empty: the widest this processor runs),
// or a problem when it names no width or one this processor lacks.
Outcome<VectorWidth> chooseVectorWidth(std::string_view setting);
// The same from the environment.
Outcome<VectorWidth> vectorWidthFromEnvironment();

}  // namespace ovd
