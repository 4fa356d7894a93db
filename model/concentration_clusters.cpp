#include "model/concentration_clusters.h"

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"

namespace ovd {

namespace {

std::optional<ClusterLine> parseLine(std::string_view rest)
{
    std::size_t used = 0;
    auto number = scanLong(rest, &used);
    if (!number)
        return std::nullopt;
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
    return c;
}

}  // namespace

std::vector<ClusterLine> parseClusters(std::string_view text)
{
    std::vector<ClusterLine> lines;
    for (const std::string& line : splitLines(stripBom(text)))
        if (auto c = parseLine(line))
            lines.push_back(*c);
    return lines;
}

Outcome<std::vector<ClusterLine>> readClustersFile(const std::string& path, std::string_view unreadable)
{
    File file;
    if (!isRegularFile(path) || !file.open(path, "rb"))
        return Problem::error(std::string(unreadable));
    LineReader reader(file.get());
    std::vector<ClusterLine> lines;
    std::string line;
    while (reader.next(line))
        if (auto c = parseLine(line))
            lines.push_back(*c);
    if (reader.tooLong())
        return Problem::error(cformat("Řádek %ld souboru %s je delší než 1 MiB.", reader.lineNumber(), path.c_str()));
    if (std::ferror(file.get()))
        return Problem::error(std::string(unreadable));
    return lines;
}

}  // namespace ovd
