#pragma once
// The report document written as ODT, PDF (A4 with margins) or HTML with its pictures in a
// folder beside it. The document's HTML is made once; the ODT and PDF are the same HTML laid
// out by Qt's text document.
#include <QByteArray>
#include <optional>
#include <string>
#include <vector>

#include "app/report_commands.h"
#include "common/outcome.h"
#include "report_document.h"

namespace ovd {

// The folder of an HTML report's pictures: "zprava.html" keeps them in "zprava_obrazky/".
std::string pictureFolderOf(const std::string& htmlPath);
// The names of the pictures as the HTML refers to them, in the document's order.
std::vector<std::string> pictureNames(const ReportDocument&, const std::string& folder);
// The whole document as HTML; pictures referred to as `folder` + "obrazek_NN.png".
std::string reportHtml(const ReportDocument&, const std::string& folder);

// The bytes of the document in the format; empty when Qt could not write it.
QByteArray reportBytes(const ReportDocument&, ReportFormat);

// Writes the report, every file through a temporary one: the pictures of an HTML report
// first, then the document itself. The problem names the file that could not be written.
std::optional<Problem> writeReport(const ReportDocument&, const std::string& path, ReportFormat);

}  // namespace ovd
