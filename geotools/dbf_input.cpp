#include "dbf_input.h"

#include "common/numbers.h"
#include "dbf_export.h"

namespace ovd {

std::string truncatedTableMessage(const std::string& path, const DbfTable& t)
{
    return cformat("DBF soubor %s je zkrácený: hlavička uvádí %lu záznamů, celých je v něm jen %lu.", path.c_str(),
                   static_cast<unsigned long>(t.declaredRecords()), static_cast<unsigned long>(t.recordCount()));
}

std::optional<DbfTable> openInputTable(const std::string& path, std::string_view cannotOpen, TruncatedTable truncated,
                                       Reporter& r)
{
    Outcome<DbfTable> table = DbfTable::load(path, cannotOpen);
    if (!table) {
        table.problem().report(r);
        return std::nullopt;
    }
    if (table->recordCount() < table->declaredRecords()) {
        if (truncated == TruncatedTable::Refuse) {
            r.error(truncatedTableMessage(path, *table));
            return std::nullopt;
        }
        r.warning(truncatedTableMessage(path, *table));
    }
    return std::move(*table);
}

std::optional<DbfTable> openExportInput(const std::string& path, std::initializer_list<std::string> outputs,
                                        const RunContext& ctx, ToolStatus& status)
{
    status = ToolStatus::Declined;
    for (const std::string& out : outputs)
        if (!ctx.confirmOverwrite(out))
            return std::nullopt;
    status = ToolStatus::Failed;
    return openInputTable(path, kDbfCannotOpen, TruncatedTable::Refuse, ctx.reporter);
}

}  // namespace ovd
