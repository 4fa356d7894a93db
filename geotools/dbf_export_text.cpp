#include <set>

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "dbf_export.h"
#include "dbf_input.h"

namespace ovd {

ToolStatus exportDbfToText(const DbfExportSettings& s, std::span<const int> columns, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    if (!ctx.confirmOverwrite(s.txt))
        return ToolStatus::Declined;
    std::optional<DbfTable> t = openInputTable(s.input, kDbfCannotOpen, TruncatedTable::Refuse, r);
    if (!t)
        return ToolStatus::Failed;
    const std::size_t fieldCount = t->fields().size();
    std::set<std::size_t> chosen;  // field indexes in table order
    for (int c : columns) {
        if (c < 1 || static_cast<std::size_t>(c) > fieldCount) {
            r.error(cformat("Sloupec číslo %d v DBF souboru není, soubor má ", c) +
                    czechCount(static_cast<long long>(fieldCount), "sloupec", "sloupce", "sloupců") + ".");
            r.error("Export do TXT souboru neproveden.");
            return ToolStatus::Failed;
        }
        chosen.insert(static_cast<std::size_t>(c - 1));
    }
    if (chosen.empty()) {
        r.info("Nebyly vybrány žádné sloupce.");
        r.info("Export do TXT souboru neproveden.");
        return ToolStatus::Declined;
    }
    AtomicOutput out;
    if (!out.open(s.txt)) {
        r.error("Výstupní txt soubor se nepodařilo otevřít !");
        return ToolStatus::Failed;
    }
    std::string text;
    bool ok = true;
    std::size_t done = 0;
    for (std::size_t k : t->liveRecords()) {
        if (done++ % 1024 == 0 && r.cancelled())
            return ToolStatus::Failed;  // the file is not committed
        if (std::optional<Problem> p = nonFiniteFieldProblem(*t, k, s.input)) {
            p->report(r);
            return ToolStatus::Failed;  // the file is not committed
        }
        bool first = true;
        for (std::size_t f : chosen) {
            if (!first)
                text += ',';
            first = false;
            text += t->fieldText(k, f);
        }
        text += '\n';
        if (text.size() > (1u << 16)) {
            ok = ok && out.write(text);
            text.clear();
        }
    }
    if (!(ok && out.write(text) && out.commit())) {
        r.error("Výstupní txt soubor se nepodařilo zapsat!");
        return ToolStatus::Failed;
    }
    r.info("Export do TXT souboru dokončen.");
    return ToolStatus::Done;
}

}  // namespace ovd
