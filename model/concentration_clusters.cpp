#include "model/concentration_clusters.h"

#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

std::vector<ClusterLine> parseClusters(std::string_view text)
{
    std::vector<ClusterLine> lines;
    for (const std::string& line : splitLines(decodeText(text))) {
        std::string_view rest(line);
        std::size_t used = 0;
        auto number = scanLong(rest, &used);
        if (!number)
            continue;
        // A line with its number but without a usable count or distance still answers the
        // lookup, and is then refused as a faulty description.
        ClusterLine c;
        c.number = *number;
        c.count = 0;
        c.distance = -1.0;
        rest.remove_prefix(used);
        if (!rest.empty() && rest.front() == ',') {
            rest.remove_prefix(1);
            auto count = scanLong(rest, &used);
            if (count) {
                c.count = *count > 1000000 ? 1000000 : *count < -1000000 ? -1000000 : static_cast<int>(*count);
                rest.remove_prefix(used);
                if (!rest.empty() && rest.front() == ',') {
                    rest.remove_prefix(1);
                    if (auto distance = scanDouble(rest, &used))
                        c.distance = *distance;
                }
            }
        }
        lines.push_back(c);
    }
    return lines;
}

}  // namespace ovd
