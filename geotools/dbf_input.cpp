#include "dbf_input.h"

#include "common/czech_plural.h"
#include "common/number_texts.h"
#include "common/numbers.h"
#include "common/text.h"
#include "dbf_export.h"

namespace ovd {

std::optional<Problem> nonFiniteFieldProblem(const DbfTable& t, std::size_t record, const std::string& path)
{
    for (std::size_t f = 0; f < t.fields().size(); ++f) {
        const DbfFieldInfo& field = t.fields()[f];
        if (field.type != 'N' && field.type != 'F')
            continue;
        const std::string text = trim(t.fieldText(record, f));
        if (isNonFiniteText(text))
            return Problem::error(cformat("Záznam %zu DBF souboru %s má v poli %s hodnotu \"%s\", která není "
                                          "konečné číslo!",
                                          record + 1, path.c_str(), trim(field.name).c_str(), text.c_str()));
    }
    return std::nullopt;
}

std::string truncatedTableMessage(const std::string& path, const DbfTable& t)
{
    return "DBF soubor " + path + " je zkrácený: hlavička uvádí " +
        czechCount(static_cast<long long>(t.declaredRecords()), "záznam", "záznamy", "záznamů") +
        cformat(", celých je v něm jen %lu.", static_cast<unsigned long>(t.recordCount()));
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
