#include "dbf_export.h"
#include "dbf_input.h"

namespace ovd {

std::optional<DbfDisplay> showDbf(const std::string& path, Reporter& r)
{
    // A table cut short is still worth looking at: the rows present are shown after a warning.
    std::optional<DbfTable> t = openInputTable(path, kDbfCannotOpen, TruncatedTable::Warn, r);
    if (!t)
        return std::nullopt;
    DbfDisplay d;
    d.columns.push_back("#");
    for (const DbfFieldInfo& f : t->fields())
        d.columns.push_back(f.shortName());
    long number = 0;
    for (std::size_t k : t->liveRecords()) {
        std::vector<std::string> row{std::to_string(++number)};
        for (std::size_t f = 0; f < t->fields().size(); ++f)
            row.emplace_back(t->fieldText(k, f));
        d.rows.push_back(std::move(row));
    }
    return d;
}

}  // namespace ovd
