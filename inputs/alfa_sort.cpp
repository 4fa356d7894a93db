#include "alfa_sort.h"

#include <algorithm>

#include "common/numbers.h"
#include "text_line.h"

namespace ovd {

std::string alfaSortLine(const SourceRecord& s, bool described, const std::string* dustText)
{
    std::size_t ai = s.alfaIndex();
    std::string line =
        cformat("%lf %ld %lf %lf %lf %d %ld %ld %ld", described ? s.alfa() : 0.0, static_cast<long>(s.number), s.x, s.y,
                s.z, static_cast<int>(s.type), static_cast<long>(s.cluster), static_cast<long>(s.group),
                static_cast<long>(s.groupIndex));
    bool first = true;
    for (std::size_t i = 0; i < s.values.size(); ++i) {
        if (i == ai)
            continue;
        line += cformat(first && described ? " %.15lf" : " %lf", s.values[i]);
        first = false;
    }
    if (dustText) {
        line += ' ';
        line += *dustText;
    }
    // The line end takes part in the comparison, as it does between whole text lines.
    line += '\n';
    return line;
}

void sortAlfaLines(std::vector<std::string>& lines)
{
    // std::string compares as unsigned bytes, as the text sort does.
    std::sort(lines.begin(), lines.end());
}

std::optional<SortedSource> readAlfaSortLine(std::string_view line, bool dust)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    SortedSource out;
    SourceRecord& s = out.record;
    FieldScanner f(line);
    double alfa = f.real();
    s.number = static_cast<std::int32_t>(f.whole());
    s.x = f.real();
    s.y = f.real();
    s.z = f.real();
    s.type = static_cast<std::int16_t>(f.whole(-32768, 32767));
    s.cluster = static_cast<std::int32_t>(f.whole());
    s.group = static_cast<std::int32_t>(f.whole());
    s.groupIndex = static_cast<std::int32_t>(f.whole());
    std::size_t ai = s.alfaIndex();
    for (std::size_t i = 0; i < s.values.size(); ++i)
        s.values[i] = i == ai ? alfa : f.real();
    if (!f.ok())
        return std::nullopt;
    if (dust) {
        std::size_t pos = f.position();
        if (pos >= line.size() || line[pos] != ' ')
            return std::nullopt;
        out.dustText = std::string(line.substr(pos + 1));
    }
    return out;
}

}  // namespace ovd
