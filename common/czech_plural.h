#pragma once
// Czech nouns after a count: "1 dlaždice", "2 dlaždice", "5 dlaždic".
#include <string>

namespace ovd {

// `one` for 1, `few` for 2 to 4, `many` for 0 and 5 and more (also 11 to 14 and 21 on: the
// count as a whole decides in Czech, not its last digit).
inline const char* czechPlural(long long count, const char* one, const char* few, const char* many)
{
    if (count == 1)
        return one;
    return count >= 2 && count <= 4 ? few : many;
}

// "5 dlaždic": the count and its noun.
inline std::string czechCount(long long count, const char* one, const char* few, const char* many)
{
    return std::to_string(count) + " " + czechPlural(count, one, few, many);
}

}  // namespace ovd
