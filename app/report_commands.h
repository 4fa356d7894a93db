#pragma once
// ovardix-cli report: the whole study written up as an ODT, PDF or HTML document. The writing
// lives in the report library (Qt Gui), which the programs that can draw hand to the tools
// (ToolCall services), as they hand the map's renderer; this core library stays free of Qt.
#include <optional>
#include <string>
#include <vector>

#include "tool_registry.h"

namespace ovd {

enum class ReportFormat { Odt, Pdf, Html };
// By the file's extension, in any case; nullopt for another one.
std::optional<ReportFormat> reportFormatOf(const std::string& path);
// "Soubor ... nemá příponu odt, pdf ani html ...".
std::string unknownReportFormatText(const std::string& path);

// The name the report gets when none is given: beside the project, "zprava.pdf".
inline constexpr const char* kDefaultReportName = "zprava.pdf";

struct ReportRequest {
    std::string output;               // .odt, .pdf or .html
    std::vector<std::string> tables;  // given besides the ones the project's keys name
    std::string title;                // empty: the project's name
    bool allowStale = false;          // a table whose inputs changed is included, marked
};

class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    virtual ToolStatus write(const ReportRequest&, const Project&, const Profile&, const RunContext&) const = 0;
};

inline constexpr OptionSpec kReportOptions[] = {
    option("--table", "DBF", "další tabulka výsledků do zprávy (lze zadat vícekrát)").file().repeatable(),
    option("--out", "SOUBOR.odt|pdf|html", "soubor zprávy").file().byDefault(kDefaultReportName),
    option("--title", "TEXT", "název zprávy (jinak jméno souboru projektu)"),
    flagOption("--allow-stale", "zahrnout i tabulky, jejichž vstupy se od výpočtu změnily (označené)"),
};

ToolStatus runReport(ToolCall&);

}  // namespace ovd
