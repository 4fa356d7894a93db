#include "coefficient_commands.h"

#include "common/paths.h"
#include "model/coefficient_run.h"
#include "model/matrix_text.h"
#include "model/matrix_view.h"

namespace ovd {

ToolStatus runCoefficients(ToolCall& call)
{
    CoefficientSettings settings = loadSettings<CoefficientSettings>(*call.project);
    saveSettings(settings, *call.project, call.context.reporter);
    return computeCoefficients(settings, call.context);
}

// FILE gives the input and, unless --out names it, the output as the dialog's name button
// derives it (the input's last three characters replaced by "txt").
ToolStatus runMatrixExport(ToolCall& call)
{
    MatrixExportSettings settings = loadSettings<MatrixExportSettings>(*call.project);
    const std::optional<std::string> output = call.options.text("--out");
    if (!call.args.empty()) {
        settings.binaryInput = call.args[0];
        settings.textOutput = derivedName(settings.binaryInput, "txt");
    }
    if (output)
        settings.textOutput = *output;
    saveSettings(settings, *call.project, call.context.reporter);
    return exportMatrixText(settings, call.context);
}

// The header list, then the values, each row given as it is read.
ToolStatus runMatrixShow(ToolCall& call)
{
    Reporter& reporter = call.context.reporter;
    const bool headerOnly = call.options.has("--header");
    MatrixView view;
    bool ok = view.open(call.args[0], reporter);
    ResultTable header;
    header.title = "Nalezená hlavička binárního souboru";
    for (const std::string& line : view.headerLines())
        header.addLine(line);
    call.result.table(header);
    if (!ok)
        return view.headerLines().empty() && !fileExists(call.args[0]) ? ToolStatus::Failed : ToolStatus::Unusable;
    ResultTable values;
    values.title = "Nalezené hodnoty binárního souboru";
    if (!headerOnly)
        for (std::string& h : view.columnHeadings())
            values.columns.push_back({std::move(h), values.columns.empty() ? 30 : 0});
    call.result.beginTable(values);  // with only the header, the list of values stays, empty
    if (headerOnly)
        return ToolStatus::Done;
    std::vector<std::string> cells;
    for (std::int32_t r = 0; r < view.rowCount(); ++r) {
        if (r % 64 == 0 && reporter.cancelled())
            return ToolStatus::Failed;
        if (!view.row(r, cells)) {
            reporter.error("Vstupní soubor s binární maticí " + call.args[0] + " nelze přečíst!");
            return ToolStatus::Failed;
        }
        call.result.row({cells});
    }
    return ToolStatus::Done;
}

}  // namespace ovd
