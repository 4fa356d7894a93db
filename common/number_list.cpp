#include "number_list.h"

#include "numbers.h"
#include "text.h"

namespace ovd {

Outcome<std::vector<double>> parseNumberList(std::string_view text)
{
    std::vector<double> values;
    if (trim(text).empty())
        return values;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::optional<double> v = parseDecimal(text.substr(start, end - start));
        if (!v)
            return Problem::error("Seznam čísel \"" + std::string(text) +
                                  "\" není čitelný: čísla se oddělují středníkem (například 1;2,5;5).");
        values.push_back(*v);
        start = end + 1;
    }
    return values;
}

}  // namespace ovd
