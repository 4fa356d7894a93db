#include "inputs_commands.h"

#include "geotools/reference_grid.h"
#include "inputs/conversion.h"
#include "inputs/input_checks.h"
#include "settings_check.h"

namespace ovd {

namespace {

RowMark markOf(LineIcon icon)
{
    switch (icon) {
    case LineIcon::Comment: return RowMark::Comment;
    case LineIcon::Correct: return RowMark::Correct;
    case LineIcon::Error: return RowMark::Error;
    }
    return RowMark::None;
}

// One table per checked file ("Řádek", "Přečtený údaj", "Klasifikace", "Správnost"), then the
// result list.
std::vector<ResultTable> reportTables(const CheckReport& report)
{
    std::vector<ResultTable> tables;
    for (const CheckTable& t : report.tables) {
        ResultTable& table = tables.emplace_back();
        table.title = t.title;
        table.columns = {{"Řádek", 45}, {"Přečtený údaj", 270}, {"Klasifikace", 70}, {"Správnost", 80}};
        table.rows.reserve(t.rows.size());
        for (const CheckRow& row : t.rows)
            table.rows.push_back({{std::to_string(row.lineNumber), row.text, std::string(classLabel(row.lineClass)),
                                   std::string(correctnessLabel(row.correctness))},
                                  markOf(row.icon)});
    }
    ResultTable& results = tables.emplace_back();
    results.title = "Výsledek kontroly :";
    for (const std::string& line : report.results)
        results.addLine(line);
    return tables;
}

// Each table as its title and one tab-separated row per line with the name of its icon,
// then the result list.
void printTables(const std::vector<ResultTable>& tables, std::ostream& out)
{
    for (const ResultTable& t : tables) {
        out << t.title << '\n';
        bool list = !t.hasHeader();
        for (const ResultRow& row : t.rows) {
            out << joinCells(row.cells);
            if (!list)
                out << '\t' << markName(row.mark);
            out << '\n';
        }
        if (!list)
            out << '\n';
    }
}

void showReport(ToolCall& call, const CheckReport& report)
{
    std::vector<ResultTable> tables = reportTables(report);
    if (call.tables)
        *call.tables = std::move(tables);
    else
        printTables(tables, call.out);
}

}  // namespace

ToolStatus runConvert(ToolCall& call)
{
    ConversionSummary summary;
    ToolStatus status = convertTextInputs(ConversionSettings::load(*call.project), call.context, &summary);
    if (status == ToolStatus::Done)
        call.out << summary.status[0] << '\n' << summary.status[1] << '\n';
    return status;
}

ToolStatus runCheckPoints(ToolCall& call)
{
    CheckReport report;
    ToolStatus status = checkPointsFile(PointCheckSettings::load(*call.project), call.context, report);
    if (status != ToolStatus::Failed)
        showReport(call, report);
    return status;
}

ToolStatus runCheckSources(ToolCall& call)
{
    CheckReport report;
    ToolStatus status = checkSourceFiles(SourceCheckSettings::load(*call.project), call.context, report);
    if (status != ToolStatus::Failed)
        showReport(call, report);
    return status;
}

ToolStatus runGrid(ToolCall& call)
{
    std::optional<GridSettings> s = loadCheckedSettings<GridSettings>(*call.project, call.context.reporter);
    return s ? makeReferenceGrid(*s, call.context) : ToolStatus::Failed;
}

}  // namespace ovd
