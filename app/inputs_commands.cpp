#include "inputs_commands.h"

#include "geotools/reference_grid.h"
#include "inputs/conversion.h"
#include "inputs/input_checks.h"

namespace ovd {

namespace {

std::string_view iconName(LineIcon icon)
{
    switch (icon) {
    case LineIcon::Comment: return "komentar";
    case LineIcon::Correct: return "spravne";
    case LineIcon::Error: return "chyba";
    }
    return "";
}

// Each table as its title and one tab-separated row per line, then the result list.
void printReport(const CheckReport& report, std::ostream& out)
{
    for (const CheckTable& t : report.tables) {
        out << t.title << '\n';
        for (const CheckRow& row : t.rows)
            out << row.lineNumber << '\t' << row.text << '\t' << classLabel(row.lineClass) << '\t'
                << correctnessLabel(row.correctness) << '\t' << iconName(row.icon) << '\n';
        out << '\n';
    }
    out << "Výsledek kontroly :\n";
    for (const std::string& line : report.results)
        out << line << '\n';
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
        printReport(report, call.out);
    return status;
}

ToolStatus runCheckSources(ToolCall& call)
{
    CheckReport report;
    ToolStatus status = checkSourceFiles(SourceCheckSettings::load(*call.project), call.context, report);
    if (status != ToolStatus::Failed)
        printReport(report, call.out);
    return status;
}

ToolStatus runGrid(ToolCall& call)
{
    return makeReferenceGrid(GridSettings::load(*call.project), call.context);
}

}  // namespace ovd
