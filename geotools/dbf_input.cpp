#include "dbf_input.h"

#include "common/numbers.h"

namespace ovd {

std::string badTableMessage(const std::string& path)
{
    return "Soubor " + path + " není platný DBF soubor (chybná hlavička nebo popis sloupců) !";
}

std::string truncatedTableMessage(const std::string& path, const DbfTable& t)
{
    return cformat("DBF soubor %s je zkrácený: hlavička uvádí %lu záznamů, celých je v něm jen %lu.", path.c_str(),
                   static_cast<unsigned long>(t.declaredRecords()), static_cast<unsigned long>(t.recordCount()));
}

std::optional<DbfTable> openInputTable(const std::string& path, std::string_view cannotOpen, TruncatedTable truncated,
                                       Reporter& r)
{
    DbfReadError error = DbfReadError::None;
    std::optional<DbfTable> table = DbfTable::load(path, &error);
    if (!table) {
        if (error == DbfReadError::CannotOpen)
            r.error(cannotOpen);
        else
            r.error(badTableMessage(path));
        return std::nullopt;
    }
    if (table->recordCount() < table->declaredRecords()) {
        if (truncated == TruncatedTable::Refuse) {
            r.error(truncatedTableMessage(path, *table));
            return std::nullopt;
        }
        r.warning(truncatedTableMessage(path, *table));
    }
    return table;
}

}  // namespace ovd
