#include "isoline_file.h"

#include <cstdint>
#include <cstring>

#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

constexpr std::int32_t kFileCode = 9994, kPolyLine = 3;

std::int32_t bigEndian(const std::string& b, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return static_cast<std::int32_t>((std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
                                     (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]));
}

template <class T> T little(const std::string& b, std::size_t at)
{
    T v;
    std::memcpy(&v, b.data() + at, sizeof v);  // the machines in use are little-endian, as the format
    return v;
}

// The points of one record's parts as segments; false when the record is not whole.
bool recordSegments(const std::string& b, std::size_t at, std::size_t length, double value,
                    std::vector<IsolineSegment>& out)
{
    if (length < 4 || little<std::int32_t>(b, at) != kPolyLine)
        return length >= 4;  // a null shape holds nothing
    if (length < 44)
        return false;
    const std::int32_t parts = little<std::int32_t>(b, at + 36), points = little<std::int32_t>(b, at + 40);
    if (parts < 0 || points < 0 || 44 + 4 * std::size_t(parts) + 16 * std::size_t(points) > length)
        return false;
    const std::size_t first = at + 44 + 4 * std::size_t(parts);
    for (std::int32_t part = 0; part < parts; ++part) {
        const std::int32_t from = little<std::int32_t>(b, at + 44 + 4 * std::size_t(part));
        const std::int32_t to = part + 1 < parts ? little<std::int32_t>(b, at + 48 + 4 * std::size_t(part)) : points;
        if (from < 0 || to > points || from > to)
            return false;
        for (std::int32_t i = from; i + 1 < to; ++i) {
            const std::size_t p = first + 16 * std::size_t(i);
            out.push_back({little<double>(b, p), little<double>(b, p + 8), little<double>(b, p + 16),
                           little<double>(b, p + 24), value});
        }
    }
    return true;
}

}  // namespace

Outcome<std::vector<IsolineSegment>> readIsolineFile(const std::string& shp, const std::string& dbf)
{
    Outcome<DbfTable> table = DbfTable::load(dbf);
    if (!table)
        return table.problem();
    std::optional<std::size_t> field = table->findField("VALUE", true);
    if (!field)
        return Problem::error("Tabulka " + dbf + " nemá pole VALUE s hodnotami izolinií !");
    std::optional<std::string> bytes = readFileBytes(shp);
    if (!bytes)
        return Problem::error("Soubor " + shp + " nelze přečíst !");
    const std::string& b = *bytes;
    const Problem broken = Problem::error("Soubor " + shp + " není soubor izolinií (shapefile s liniemi) !");
    if (b.size() < 100 || bigEndian(b, 0) != kFileCode)
        return broken;
    const std::vector<std::size_t> live = table->liveRecords();
    std::vector<IsolineSegment> out;
    std::size_t record = 0;
    for (std::size_t at = 100; at + 8 <= b.size(); ++record) {
        const std::size_t length = 2 * static_cast<std::size_t>(std::max(0, bigEndian(b, at + 4)));
        if (at + 8 + length > b.size() || record >= live.size())
            return broken;
        std::optional<double> value = parseDecimal(trim(table->fieldText(live[record], *field)));
        if (!value || !recordSegments(b, at + 8, length, *value, out))
            return broken;
        at += 8 + length;
    }
    return out;
}

}  // namespace ovd
