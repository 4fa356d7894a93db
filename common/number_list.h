#pragma once
// A list of numbers as the user types it in a field, a project key or an option: ";" between
// the numbers, each read as parseDecimal reads one ("0,2;0,5;1" is 0.2, 0.5 and 1).
#include <string_view>
#include <vector>

#include "outcome.h"

namespace ovd {

// The numbers in their order; a blank text is the empty list. An empty item, or one that is
// not a number, refuses the whole text with a message naming it.
Outcome<std::vector<double>> parseNumberList(std::string_view text);

}  // namespace ovd
