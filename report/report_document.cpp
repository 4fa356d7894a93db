#include "report_document.h"

#include <cmath>

#include "common/numbers.h"

namespace ovd {

std::string czechNumber(double value, int decimals)
{
    if (!std::isfinite(value))
        return "-";
    std::string text = cformat("%.*f", decimals, value);
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-')
        text.erase(0, 1);  // no "-0,00"
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

std::string czechWhole(long long value)
{
    return cformat("%lld", value);
}

ReportTable labelTable(const std::vector<std::pair<std::string, std::string>>& rows, const std::string& caption)
{
    ReportTable t;
    t.caption = caption;
    t.numeric = {false, false};
    for (const auto& [label, value] : rows)
        t.rows.push_back({label, value});
    return t;
}

}  // namespace ovd
