#pragma once
// Reads any dBASE III style table: the date, a 24-bit record count (byte 7 is ignored),
// the header and record lengths, the field descriptors up to their 0x0D terminator (which
// must lie inside the header; the header may be padded after it), and
// fixed-width records whose first byte is blank for a live record. Field texts are
// returned exactly as stored. The whole file is held in memory.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"

namespace ovd {

struct DbfFieldInfo {
    std::string name;  // 11 characters, zero bytes shown as blanks
    char type = 'C';
    int length = 0;
    int decimals = 0;
    std::size_t offset = 0;  // of the field's text within a record (after the flag)

    std::string shortName() const { return name.substr(0, 10); }  // list and MapInfo use ten
};

class DbfTable {
public:
    // The table in the file; `cannotOpen` when it cannot be read (by default a text naming it),
    // and a text naming it when it is not a table (too short, or descriptors or records that
    // cannot lie where the header says).
    static Outcome<DbfTable> load(const std::string& path, std::string_view cannotOpen = {});
    // The table in the bytes; nullopt when they are not one.
    static std::optional<DbfTable> parse(std::string bytes);

    int year() const { return m_year; }  // year - 1900 as stored
    int month() const { return m_month; }
    int day() const { return m_day; }
    std::uint32_t declaredRecords() const { return m_declared; }
    std::uint16_t headerLength() const { return m_headerLength; }
    std::uint16_t recordLength() const { return m_recordLength; }
    const std::vector<DbfFieldInfo>& fields() const { return m_fields; }
    // Records present in the file: the declared count, less any that the file cuts short.
    std::size_t recordCount() const { return m_present; }
    bool isLive(std::size_t record) const { return recordBytes(record)[0] == ' '; }
    std::string_view fieldText(std::size_t record, std::size_t field) const;
    // Indexes of the live records in file order.
    std::vector<std::size_t> liveRecords() const;
    // Index of the field with this name (trailing blanks ignored, case ignored when asked).
    std::optional<std::size_t> findField(std::string_view name, bool ignoreCase = false) const;

private:
    std::string_view recordBytes(std::size_t record) const;

    std::string m_bytes;
    int m_year = 0, m_month = 0, m_day = 0;
    std::uint32_t m_declared = 0;
    std::uint16_t m_headerLength = 0, m_recordLength = 0;
    std::vector<DbfFieldInfo> m_fields;
    std::size_t m_present = 0;
};

}  // namespace ovd
