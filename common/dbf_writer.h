#pragma once
// dBASE III tables (version 3, no memo) written in one sequential pass through a temporary
// file beside the target, which replaces the target only when finish() succeeds. Every
// field is numeric ("N") and written as right-aligned text of exactly its length.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "file_io.h"

namespace ovd {

struct DbfField {
    std::string name;  // ASCII, at most 11 characters
    int length = 15;   // 1 to 255
    int decimals = 0;  // below the length
    // Byte 20 of the descriptor: 0 for identifying fields (IDs, coordinates, types,
    // groups), 1 for measured values.
    std::uint8_t flag = 1;
};

struct DbfDate {
    int year = 1900, month = 1, day = 1;
    static DbfDate todayUtc();
};

// What happened to one value that did not fit its field.
struct DbfOverflow {
    std::size_t field = 0;  // index in the field list
    double value = 0;
    int decimalsWritten = 0;  // fewer than the field's decimals
    bool starred = false;     // even without decimals it did not fit: the field is all "*"
};

// Header length 32 + 32 * fields + 1, record length 1 + the sum of the field lengths.
std::uint16_t dbfHeaderLength(std::size_t fieldCount);
std::uint16_t dbfRecordLength(std::span<const DbfField> fields);
// Header, descriptors and the 0x0D terminator.
std::string dbfHeaderBytes(std::span<const DbfField> fields, std::uint32_t recordCount, DbfDate date);
// The field's text: "%*.*f" in the C locale; a value too wide keeps fewer decimals, and
// one too wide even without them (or not finite) becomes a row of "*".
// *overflow is set only when the value did not fit (its field index left 0).
std::string dbfFieldText(const DbfField& field, double value, std::optional<DbfOverflow>* overflow = nullptr);

class DbfWriter {
public:
    // Validates the fields, creates the temporary file and writes the header with the
    // expected record count. False when the fields are unusable or nothing can be written.
    bool open(const std::string& target, std::vector<DbfField> fields, std::uint32_t expectedRecords, DbfDate date);
    // One record, values in field order (a whole number for the fields without decimals).
    // Overflows are appended to *overflows when given. False on a write error or a wrong
    // number of values.
    bool writeRecord(std::span<const double> values, std::vector<DbfOverflow>* overflows = nullptr);
    // Writes 0x1A, corrects the record count in the header when fewer or more records were
    // written than announced, and renames the file over the target.
    bool finish();
    // Drops the temporary file; the target stays as it was.
    void discard() { m_out.discard(); }

    const std::vector<DbfField>& fields() const { return m_fields; }
    std::uint32_t recordsWritten() const { return m_written; }
    const std::string& target() const { return m_out.target(); }

private:
    AtomicOutput m_out;
    std::vector<DbfField> m_fields;
    std::uint32_t m_expected = 0;
    std::uint32_t m_written = 0;
    std::string m_record;
    bool m_failed = false;
};

}  // namespace ovd
