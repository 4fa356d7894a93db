#include "coefficient_commands.h"

#include "common/paths.h"
#include "model/coefficient_run.h"
#include "model/matrix_text.h"
#include "model/matrix_view.h"

namespace ovd {

namespace {

void printCells(std::ostream& out, const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i)
        out << (i ? "\t" : "") << cells[i];
    out << '\n';
}

}  // namespace

ToolStatus runCoefficients(ToolCall& call)
{
    CoefficientSettings settings = CoefficientSettings::load(*call.project);
    settings.save(*call.project, call.context.reporter);
    return computeCoefficients(settings, call.context);
}

ToolStatus runMatrixExport(ToolCall& call)
{
    MatrixExportSettings settings = MatrixExportSettings::load(*call.project);
    if (!call.args.empty()) {
        settings.binaryInput = call.args[0];
        if (settings.textOutput.empty())
            settings.textOutput = derivedName(settings.binaryInput, "txt");
    }
    settings.save(*call.project, call.context.reporter);
    return exportMatrixText(settings, call.context);
}

ToolStatus runMatrixShow(ToolCall& call)
{
    MatrixView view;
    bool ok = view.open(call.args[0], call.context.reporter);
    for (const std::string& line : view.headerLines())
        call.out << line << '\n';
    if (!ok)
        return view.headerLines().empty() && !fileExists(call.args[0]) ? ToolStatus::Failed : ToolStatus::Unusable;
    printCells(call.out, view.columnHeadings());
    std::vector<std::string> cells;
    for (std::int32_t r = 0; r < view.rowCount(); ++r) {
        if (!view.row(r, cells)) {
            call.context.reporter.error("Vstupní soubor s binární maticí nelze přečíst !");
            return ToolStatus::Failed;
        }
        printCells(call.out, cells);
    }
    return ToolStatus::Done;
}

}  // namespace ovd
