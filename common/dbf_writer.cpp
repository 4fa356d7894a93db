#include "dbf_writer.h"

#include <cmath>
#include <ctime>

#include "le_io.h"
#include "numbers.h"
#include "platform.h"

namespace ovd {

namespace {

constexpr std::size_t kDescriptorSize = 32;
constexpr char kEndOfHeader = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr char kLiveRecord = 0x20;

bool usableField(const DbfField& f)
{
    if (f.name.empty() || f.name.size() > 11)
        return false;
    for (unsigned char c : f.name)
        if (c <= 0x20 || c >= 0x7F)
            return false;
    return f.length >= 1 && f.length <= 255 && f.decimals >= 0 && (f.decimals == 0 || f.decimals < f.length);
}

}  // namespace

DbfDate DbfDate::todayUtc()
{
    const std::tm utc = utcTime(std::time(nullptr));
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

std::uint16_t dbfHeaderLength(std::size_t fieldCount)
{
    return static_cast<std::uint16_t>(32 + kDescriptorSize * fieldCount + 1);
}

std::uint16_t dbfRecordLength(std::span<const DbfField> fields)
{
    std::size_t length = 1;
    for (const DbfField& f : fields)
        length += static_cast<std::size_t>(f.length);
    return static_cast<std::uint16_t>(length);
}

std::string dbfHeaderBytes(std::span<const DbfField> fields, std::uint32_t recordCount, DbfDate date)
{
    std::string out;
    out.reserve(32 + kDescriptorSize * fields.size() + 1);
    out.push_back(3);
    out.push_back(static_cast<char>(date.year - 1900));
    out.push_back(static_cast<char>(date.month));
    out.push_back(static_cast<char>(date.day));
    putU32(out, recordCount);
    putU16(out, dbfHeaderLength(fields.size()));
    putU16(out, dbfRecordLength(fields));
    out.append(20, '\0');
    for (const DbfField& f : fields) {
        std::string name = f.name.substr(0, 11);
        name.resize(11, '\0');
        out += name;
        out.push_back('N');
        out.append(4, '\0');
        out.push_back(static_cast<char>(f.length));
        out.push_back(static_cast<char>(f.decimals));
        out.append(2, '\0');
        out.push_back(static_cast<char>(f.flag));
        out.append(11, '\0');
    }
    out.push_back(kEndOfHeader);
    return out;
}

std::string dbfFieldText(const DbfField& field, double value, std::optional<DbfOverflow>* overflow)
{
    const std::size_t width = static_cast<std::size_t>(field.length);
    if (std::isfinite(value)) {
        for (int decimals = field.decimals; decimals >= 0; --decimals) {
            std::string text = cformat("%*.*f", field.length, decimals, value);
            if (text.size() <= width) {
                if (overflow && decimals < field.decimals)
                    *overflow = DbfOverflow{0, value, decimals, false};
                return text;
            }
        }
    }
    if (overflow)
        *overflow = DbfOverflow{0, value, 0, true};
    return std::string(width, '*');
}

bool DbfWriter::open(const std::string& target, std::vector<DbfField> fields, std::uint32_t expectedRecords,
                     DbfDate date)
{
    m_out.discard();
    m_fields.clear();
    m_written = 0;
    m_failed = false;
    if (fields.empty() || 32 + kDescriptorSize * fields.size() + 1 > 0xFFFF)
        return false;
    std::size_t recordLength = 1;
    for (const DbfField& f : fields) {
        if (!usableField(f))
            return false;
        recordLength += static_cast<std::size_t>(f.length);
    }
    if (recordLength > 0xFFFF || date.year < 1900 || date.year > 2155)
        return false;
    if (!m_out.open(target))
        return false;
    m_fields = std::move(fields);
    m_expected = expectedRecords;
    m_record.reserve(recordLength);
    if (!m_out.write(dbfHeaderBytes(m_fields, expectedRecords, date))) {
        m_out.discard();
        return false;
    }
    return true;
}

bool DbfWriter::writeRecord(std::span<const double> values, std::vector<DbfOverflow>* overflows)
{
    if (!m_out.isOpen() || m_failed || values.size() != m_fields.size() || m_written == 0xFFFFFFFFu) {
        m_failed = true;
        return false;
    }
    m_record.clear();
    m_record.push_back(kLiveRecord);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        std::optional<DbfOverflow> overflow;
        m_record += dbfFieldText(m_fields[i], values[i], &overflow);
        if (overflow && overflows) {
            overflow->field = i;
            overflows->push_back(*overflow);
        }
    }
    if (!m_out.write(m_record)) {
        m_failed = true;
        return false;
    }
    ++m_written;
    return true;
}

bool DbfWriter::finish()
{
    if (!m_out.isOpen() || m_failed) {
        m_out.discard();
        return false;
    }
    bool ok = m_out.write(std::string_view(&kEndOfFile, 1));
    if (ok && m_written != m_expected) {
        std::string count;
        putU32(count, m_written);
        ok = std::fseek(m_out.get(), 4, SEEK_SET) == 0 && m_out.write(count);
    }
    if (!ok || !m_out.commit()) {
        m_out.discard();
        return false;
    }
    return true;
}

}  // namespace ovd
