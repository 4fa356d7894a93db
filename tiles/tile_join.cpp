#include "tiles/tile_join.h"

#include <algorithm>

#include "common/dbf_reader.h"
#include "common/le_io.h"
#include "common/numbers.h"
#include "common/text.h"
#include "model/concentration_texts.h"

namespace ovd {

namespace {

constexpr std::string_view kRunDone = "Vypocet probehl v poradku.\n";
constexpr std::string_view kWritten = "Hodnoty zapsany do DBF.";

}  // namespace

Outcome<std::string> joinDbfTables(const std::vector<std::string>& tables, const DbfDate& date, const std::string& what)
{
    const Problem bad = Problem::error("Tabulky " + what + " dlaždic nelze spojit: nejsou úplné nebo mají různá pole!");
    if (tables.empty())
        return bad;
    std::uint64_t count = 0;
    std::size_t headerLength = 0, recordLength = 0;
    std::string records;
    for (const std::string& bytes : tables) {
        std::optional<DbfTable> t = DbfTable::parse(bytes);
        if (!t || t->recordCount() != t->declaredRecords() ||
            bytes.size() < t->headerLength() + std::size_t{t->recordLength()} * t->recordCount())
            return bad;
        if (&bytes == &tables.front()) {
            headerLength = t->headerLength();
            recordLength = t->recordLength();
        } else if (t->headerLength() != headerLength || t->recordLength() != recordLength ||
                   bytes.compare(8, headerLength - 8, tables.front(), 8, headerLength - 8) != 0) {
            return bad;
        }
        records.append(bytes, headerLength, recordLength * t->recordCount());
        count += t->recordCount();
    }
    if (count > 0xFFFFFFFFu)
        return bad;
    std::string out = tables.front().substr(0, headerLength);
    out[1] = static_cast<char>(date.year - 1900);
    out[2] = static_cast<char>(date.month);
    out[3] = static_cast<char>(date.day);
    for (int i = 0; i < 4; ++i)
        out[4 + static_cast<std::size_t>(i)] = static_cast<char>((count >> (8 * i)) & 0xFF);
    out += records;
    out += '\x1A';
    return out;
}

Outcome<std::string> joinProtocols(const std::string& filesText, const std::vector<std::string>& protocols)
{
    std::string out = filesText, parameters;
    for (const std::string& p : protocols) {
        const std::size_t start = p.find(kProtocolParametersStart);
        std::size_t points = p.find(std::string("\n") + kProtocolPointStart, start);
        if (start == std::string::npos)
            return Problem::error("Textový protokol dlaždice není úplný, dlaždice nelze sloučit!");
        points = points == std::string::npos ? p.size() : points + 1;
        const std::string_view own = std::string_view(p).substr(start, points - start);
        if (&p == &protocols.front()) {
            parameters = own;
            out += parameters;
        } else if (own != parameters) {
            return Problem::error("Textové protokoly dlaždic mají různé parametry výpočtu, dlaždice nelze sloučit!");
        }
        out.append(p, points);
    }
    return out;
}

Outcome<std::string> joinRunLogs(const std::string& dateLine, const std::vector<std::string>& logs)
{
    auto bad = [](std::size_t tile) {
        return Problem::error(
            cformat("Soubor s průběhem výpočtu %zu. dlaždice není úplný, dlaždice nelze sloučit!", tile + 1));
    };
    std::vector<std::vector<std::string>> bodies;
    std::string closing;
    for (const std::string& log : logs) {
        const std::vector<std::string_view> lines = linesWithEnds(log);
        if (lines.size() < 3 || lines[1] != kRunDone || lines.back().rfind(kWritten, 0) != 0)
            return bad(bodies.size());
        closing = lines.back();
        bodies.emplace_back(lines.begin() + 2, lines.end() - 1);
    }
    if (bodies.empty())
        return bad(0);
    // Each tile writes the same source table last: its notes end every body alike.
    std::size_t common = bodies.front().size();
    for (const auto& b : bodies) {
        std::size_t n = 0;
        while (n < common && n < b.size() && b[b.size() - 1 - n] == bodies.front()[bodies.front().size() - 1 - n])
            ++n;
        common = n;
    }
    if (bodies.size() == 1)
        common = 0;
    std::string out = dateLine + std::string(kRunDone);
    for (const auto& b : bodies)
        for (std::size_t i = 0; i + common < b.size(); ++i)
            out += b[i];
    for (std::size_t i = bodies.front().size() - common; i < bodies.front().size(); ++i)
        out += bodies.front()[i];
    return out + closing;
}

}  // namespace ovd
