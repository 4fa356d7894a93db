#pragma once
// ovardix-cli report and the main program's "Zpráva o studii…": reads the study, draws its
// maps, writes the chapters and the document, with progress and cancel.
#include "app/report_commands.h"
#include "report_document.h"
#include "report_study.h"

namespace ovd {

// The document of the study (everything but the writing); nullopt after the message, or
// when cancelled (then `cancelled` is set).
std::optional<ReportDocument> buildReport(const ReportRequest&, const Project&, const Profile&, const StudyData&,
                                          const RunContext&, bool& cancelled);

ToolStatus writeStudyReport(const ReportRequest&, const Project&, const Profile&, const RunContext&);

// writeStudyReport as the writer a program hands its tools (app/tool_registry.h Services).
class FileReportWriter : public ReportWriter {
public:
    ToolStatus write(const ReportRequest&, const Project&, const Profile&, const RunContext&) const override;
};

}  // namespace ovd
