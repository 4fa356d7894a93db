#include "report_commands.h"

#include "common/paths.h"
#include "common/text.h"

namespace ovd {

std::optional<ReportFormat> reportFormatOf(const std::string& path)
{
    const std::string name = toLowerAscii(fileNameOf(path));
    auto endsWith = [&](std::string_view ext) {
        return name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
    };
    if (endsWith(".odt"))
        return ReportFormat::Odt;
    if (endsWith(".pdf"))
        return ReportFormat::Pdf;
    if (endsWith(".html") || endsWith(".htm"))
        return ReportFormat::Html;
    return std::nullopt;
}

std::string unknownReportFormatText(const std::string& path)
{
    return "Soubor " + path + " nemá příponu odt, pdf ani html, zprávu do něj nelze zapsat!";
}

ToolStatus runReport(ToolCall& call)
{
    ReportRequest q;
    const CommandArgs& o = call.options;
    q.output = o.text("--out").value_or(kDefaultReportName);
    q.tables = o.all("--table");
    q.title = o.text("--title").value_or("");
    q.allowStale = o.has("--allow-stale");
    if (!reportFormatOf(q.output))
        return call.refuseUsage(unknownReportFormatText(q.output));
    if (!call.services.report)
        return call.lacking("Tento program neumí psát zprávy: chybí mu knihovna pro jejich tvorbu.");
    return call.services.report->write(q, *call.project, call.profile, call.context);
}

}  // namespace ovd
