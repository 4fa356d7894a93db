#include "dbf_reader.h"

#include <algorithm>

#include "file_io.h"
#include "le_io.h"
#include "text.h"

namespace ovd {

Outcome<DbfTable> DbfTable::load(const std::string& path, std::string_view cannotOpen)
{
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes)
        return Problem::error(cannotOpen.empty() ? "Soubor " + path + " nelze otevřít !" : std::string(cannotOpen));
    std::optional<DbfTable> table = parse(std::move(*bytes));
    if (!table)
        return Problem::error("Soubor " + path + " není platný DBF soubor (chybná hlavička nebo popis sloupců)!");
    return std::move(*table);
}

std::optional<DbfTable> DbfTable::parse(std::string bytes)
{
    auto fail = []() -> std::optional<DbfTable> { return std::nullopt; };
    if (bytes.size() < 32)
        return fail();
    DbfTable t;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    t.m_year = p[1];
    t.m_month = p[2];
    t.m_day = p[3];
    t.m_declared = static_cast<std::uint32_t>(p[4]) | (static_cast<std::uint32_t>(p[5]) << 8) |
        (static_cast<std::uint32_t>(p[6]) << 16);
    t.m_headerLength = getU16(p + 8);
    t.m_recordLength = getU16(p + 10);
    // Descriptors run up to the 0x0D terminator; the header may be longer (other writers
    // pad it) but never shorter than the descriptors and the terminator.
    if (t.m_headerLength > bytes.size())
        return fail();
    const std::size_t headerEnd = t.m_headerLength;
    std::size_t at = 32;
    while (at < headerEnd && p[at] != 0x0D)
        at += 32;
    if (at >= headerEnd || t.m_recordLength < 1)
        return fail();
    const std::size_t fieldCount = (at - 32) / 32;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const unsigned char* d = p + 32 + 32 * i;
        DbfFieldInfo f;
        for (int k = 0; k < 11; ++k)
            f.name.push_back(d[k] == 0 ? ' ' : static_cast<char>(d[k]));
        f.type = static_cast<char>(d[11]);
        f.length = d[16];
        f.decimals = d[17];
        f.offset = offset;
        offset += static_cast<std::size_t>(f.length);
        t.m_fields.push_back(std::move(f));
    }
    // Fields running past the end of a record would read into the next one.
    if (offset + 1 > t.m_recordLength)
        return fail();
    std::size_t records = 0;
    if (bytes.size() > t.m_headerLength)
        records = (bytes.size() - t.m_headerLength) / t.m_recordLength;
    t.m_present = std::min<std::size_t>(records, t.m_declared);
    t.m_bytes = std::move(bytes);
    return t;
}

std::string_view DbfTable::recordBytes(std::size_t record) const
{
    std::size_t start = m_headerLength + record * static_cast<std::size_t>(m_recordLength);
    return std::string_view(m_bytes).substr(start, m_recordLength);
}

std::string_view DbfTable::fieldText(std::size_t record, std::size_t field) const
{
    const DbfFieldInfo& f = m_fields[field];
    return recordBytes(record).substr(1 + f.offset, static_cast<std::size_t>(f.length));
}

std::vector<std::size_t> DbfTable::liveRecords() const
{
    std::vector<std::size_t> live;
    for (std::size_t k = 0; k < m_present; ++k)
        if (isLive(k))
            live.push_back(k);
    return live;
}

std::optional<std::size_t> DbfTable::findField(std::string_view name, bool ignoreCase) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        std::string_view stored = m_fields[i].name;
        while (!stored.empty() && stored.back() == ' ')
            stored.remove_suffix(1);
        if (ignoreCase ? equalsIgnoreCase(stored, name) : stored == name)
            return i;
    }
    return std::nullopt;
}

}  // namespace ovd
