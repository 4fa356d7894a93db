#include "geotools_commands.h"

#include "common/numbers.h"
#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"
#include "geotools/dbf_export.h"
#include "geotools/isolines.h"
#include "geotools/reference_grid.h"
#include "gis_commands.h"
#include "settings_check.h"

namespace ovd {

namespace {

// "1,2,6": field numbers from 1.
std::optional<std::vector<int>> parseColumns(std::string_view text)
{
    std::vector<int> columns;
    while (true) {
        std::size_t comma = text.find(',');
        std::optional<long> n = parseLong(text.substr(0, comma));
        if (!n || *n < 1 || *n > 255)
            return std::nullopt;
        columns.push_back(static_cast<int>(*n));
        if (comma == std::string_view::npos)
            return columns;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

ToolStatus runDbfShow(ToolCall& call)
{
    std::optional<DbfDisplay> d = showDbf(call.args[0], call.context.reporter);
    if (!d)
        return ToolStatus::Failed;
    // "#" 30 units wide, each field 80.
    ResultTable table;
    table.title = "Nalezené hodnoty DBF souboru";
    for (std::string& name : d->columns)
        table.columns.push_back({std::move(name), table.columns.empty() ? 30 : 80});
    call.result.beginTable(table);
    for (auto& row : d->rows)
        call.result.row({std::move(row)});
    return ToolStatus::Done;
}

ToolStatus runDbfExport(ToolCall& call)
{
    std::vector<int> columns;
    const std::optional<std::string> columnList = call.options.text("--columns");
    const bool columnsGiven = columnList.has_value();
    DbfExportSettings s = loadSettings<DbfExportSettings>(*call.project);
    if (isGisTarget(s.target) && !columnsGiven)
        return runGisTarget(call);
    // The dialog has its list of columns to tick; the command has only the option.
    if (s.target == static_cast<int>(DbfExportTarget::Text) && !columnsGiven)
        return call.refuseUsage("export do textového souboru (ZapisGis 2) potřebuje volbu --columns s čísly sloupců "
                                "(například --columns 1,2,6)");
    if (columnsGiven) {
        std::optional<std::vector<int>> parsed = parseColumns(*columnList);
        if (!parsed)
            return call.refuseUsage("volba --columns potřebuje čísla sloupců od 1 oddělená čárkou (například 1,2,6)");
        if (s.target != static_cast<int>(DbfExportTarget::Text))
            return call.refuseUsage("volba --columns platí jen pro export do textového souboru (ZapisGis 2)");
        columns = std::move(*parsed);
    }
    return exportDbf(s, columns, call.context);
}

ToolStatus runIsolines(ToolCall& call)
{
    std::optional<IsolineSettings> s = loadCheckedSettings<IsolineSettings>(*call.project, call.context.reporter);
    return s ? makeIsolines(*s, call.context) : ToolStatus::Failed;
}

}  // namespace ovd
