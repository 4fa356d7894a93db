#include "isoline_file.h"

#include <cstdint>

#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/le_io.h"
#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

constexpr std::int32_t kFileCode = 9994, kPolyLine = 3;

const unsigned char* at(const std::string& b, std::size_t offset)
{
    return reinterpret_cast<const unsigned char*>(b.data()) + offset;
}

// The shapefile's record lengths and its file code are big-endian.
std::int32_t bigEndian(const std::string& b, std::size_t offset)
{
    const unsigned char* p = at(b, offset);
    return static_cast<std::int32_t>((std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
                                     (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]));
}

// The points of one record's parts as segments; false when the record is not whole.
bool recordSegments(const std::string& b, std::size_t rec, std::size_t length, double value,
                    std::vector<IsolineSegment>& out)
{
    if (length < 4 || getI32(at(b, rec)) != kPolyLine)
        return length >= 4;  // a null shape holds nothing
    if (length < 44)
        return false;
    const std::int32_t parts = getI32(at(b, rec + 36)), points = getI32(at(b, rec + 40));
    if (parts < 0 || points < 0 || 44 + 4 * std::size_t(parts) + 16 * std::size_t(points) > length)
        return false;
    const std::size_t first = rec + 44 + 4 * std::size_t(parts);
    for (std::int32_t part = 0; part < parts; ++part) {
        const std::int32_t from = getI32(at(b, rec + 44 + 4 * std::size_t(part)));
        const std::int32_t to = part + 1 < parts ? getI32(at(b, rec + 48 + 4 * std::size_t(part))) : points;
        if (from < 0 || to > points || from > to)
            return false;
        for (std::int32_t i = from; i + 1 < to; ++i) {
            const unsigned char* p = at(b, first + 16 * std::size_t(i));
            out.push_back({getF64(p), getF64(p + 8), getF64(p + 16), getF64(p + 24), value});
        }
    }
    return true;
}

}  // namespace

std::optional<std::vector<IsolineSegment>> decodeIsolineShapes(const std::string& b,
                                                               const std::vector<double>& values)
{
    if (b.size() < 100 || bigEndian(b, 0) != kFileCode)
        return std::nullopt;
    std::vector<IsolineSegment> out;
    std::size_t record = 0;
    for (std::size_t rec = 100; rec + 8 <= b.size(); ++record) {
        const std::size_t length = 2 * static_cast<std::size_t>(std::max(0, bigEndian(b, rec + 4)));
        if (rec + 8 + length > b.size() || record >= values.size() ||
            !recordSegments(b, rec + 8, length, values[record], out))
            return std::nullopt;
        rec += 8 + length;
    }
    return out;
}

Outcome<std::vector<IsolineSegment>> readIsolineFile(const std::string& shp, const std::string& dbf)
{
    Outcome<DbfTable> table = DbfTable::load(dbf);
    if (!table)
        return table.problem();
    std::optional<std::size_t> field = table->findField("VALUE", true);
    if (!field)
        return Problem::error("Tabulka " + dbf + " nemá pole VALUE s hodnotami izolinií!");
    std::vector<double> values;
    for (std::size_t r : table->liveRecords()) {
        std::optional<double> v = parseDecimal(trim(table->fieldText(r, *field)));
        if (!v)
            return Problem::error("Tabulka " + dbf + " má v poli VALUE hodnotu, která není číslo!");
        values.push_back(*v);
    }
    std::optional<std::string> bytes = readFileBytes(shp);
    if (!bytes)
        return Problem::error("Soubor " + shp + " nelze přečíst!");
    std::optional<std::vector<IsolineSegment>> lines = decodeIsolineShapes(*bytes, values);
    if (!lines)
        return Problem::error("Soubor " + shp + " není soubor izolinií (shapefile s liniemi)!");
    return *lines;
}

}  // namespace ovd
