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
        table.report = true;
        table.columns = {{"Řádek", 45}, {"Přečtený údaj", 270}, {"Klasifikace", 70}, {"Správnost", 80}};
        table.rows.reserve(t.rows.size());
        for (const CheckRow& row : t.rows)
            table.rows.push_back({{std::to_string(row.lineNumber), row.text, std::string(classLabel(row.lineClass)),
                                   std::string(correctnessLabel(row.correctness))},
                                  markOf(row.icon)});
    }
    ResultTable& results = tables.emplace_back();
    results.title = "Výsledek kontroly :";
    results.report = true;
    for (const std::string& line : report.results)
        results.addLine(line);
    return tables;
}

// A check of the project's files: its report's tables, also for a file found wanting.
template <class S> ToolStatus runCheck(ToolCall& call, ToolStatus (*check)(const S&, const RunContext&, CheckReport&))
{
    CheckReport report;
    ToolStatus status = check(loadSettings<S>(*call.project), call.context, report);
    if (status != ToolStatus::Failed)
        for (const ResultTable& t : reportTables(report))
            call.result.table(t);
    return status;
}

}  // namespace

ToolStatus runConvert(ToolCall& call)
{
    ConversionSummary summary;
    ToolStatus status = convertTextInputs(loadSettings<ConversionSettings>(*call.project), call.context, &summary);
    if (status == ToolStatus::Done) {
        call.result.line(summary.status[0]);
        call.result.line(summary.status[1]);
    }
    return status;
}

ToolStatus runCheckPoints(ToolCall& call)
{
    return runCheck<PointCheckSettings>(call, checkPointsFile);
}

ToolStatus runCheckSources(ToolCall& call)
{
    return runCheck<SourceCheckSettings>(call, checkSourceFiles);
}

ToolStatus runGrid(ToolCall& call)
{
    std::optional<GridSettings> s = loadCheckedSettings<GridSettings>(*call.project, call.context.reporter);
    return s ? makeReferenceGrid(*s, call.context) : ToolStatus::Failed;
}

}  // namespace ovd
