#pragma once
// Texts that look like numbers to other programs but are none here.
#include <string_view>

namespace ovd {

// "nan", "inf" or "infinity" in any case, with a sign and blanks around it allowed: the texts
// other programs write for values that are not numbers, which no reader here takes as one.
bool isNonFiniteText(std::string_view text);

}  // namespace ovd
