#include "table_output.h"

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/numbers.h"

namespace ovd {

std::string tableBytes(const std::vector<DbfField>& fields, const std::vector<OutputRow>& rows, DbfDate date,
                       std::size_t* overflows)
{
    std::string bytes = dbfHeaderBytes(fields, static_cast<std::uint32_t>(rows.size()), date);
    for (const OutputRow& row : rows) {
        bytes += ' ';
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (!row[f]) {
                bytes.append(static_cast<std::size_t>(fields[f].length), ' ');
                continue;
            }
            std::optional<DbfOverflow> overflow;
            bytes += dbfFieldText(fields[f], *row[f], &overflow);
            if (overflow && overflows)
                ++*overflows;
        }
    }
    bytes += '\x1A';
    return bytes;
}

ToolStatus writeTableAndLog(const std::string& table, const std::vector<DbfField>& fields,
                            const std::vector<OutputRow>& rows, const std::string& logPath, std::string log,
                            const std::vector<std::string>& summary, std::string_view done, Reporter& r)
{
    for (const std::string& l : summary)
        log += l + "\n";
    std::size_t overflows = 0;
    const std::string bytes = tableBytes(fields, rows, DbfDate::todayUtc(), &overflows);
    if (overflows)
        r.warning("Do výstupního souboru " + table + " se " +
                  czechCount(static_cast<long long>(overflows), "hodnota", "hodnoty", "hodnot") + " " +
                  czechPlural(static_cast<long long>(overflows), "nevešla", "nevešly", "nevešlo") +
                  " v plné přesnosti pole 15.6.");
    OutputSet set;
    AtomicOutput& dbf = set.add(table);
    AtomicOutput& text = set.add(logPath);
    if (!set.allOpen()) {
        r.error("Výstupní soubor " + (dbf.isOpen() ? logPath : table) + " nelze vytvořit!");
        return ToolStatus::Failed;
    }
    if (!dbf.write(bytes) || !text.write(log) || !set.commit()) {
        set.discard();
        r.error("Výstupní soubor " + table + " se nepodařilo zapsat!");
        return ToolStatus::Failed;
    }
    r.info(std::string(done) + table);
    return ToolStatus::Done;
}

}  // namespace ovd
