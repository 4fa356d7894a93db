#pragma once
// The two input checks: every line as it was understood (one table per file), the
// messages and summaries of the result list, and whether the files may be used.
#include <string>
#include <vector>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"
#include "text_line.h"

namespace ovd {

struct CheckRow {
    long lineNumber = 0;
    std::string text;  // the line as read, UTF-8
    LineClass lineClass = LineClass::Parameters;
    Correctness correctness = Correctness::Ok;
    LineIcon icon = LineIcon::Correct;
};

struct CheckTable {
    std::string title;
    std::vector<CheckRow> rows;
};

struct CheckReport {
    std::vector<CheckTable> tables;
    std::vector<std::string> results;  // "Výsledek kontroly :"
    bool usable = false;
};

struct PointCheckSettings {
    std::string pointsText;
    // The keys of the project file, each declared once.
    using Self = PointCheckSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

struct SourceCheckSettings {
    std::string sourcesText, descriptionText, dustText, dustGroupsText;
    bool dust = false;
    // The keys of the project file, each declared once.
    using Self = SourceCheckSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// Done when the files may be used, Unusable when not, Failed when a file cannot be opened.
ToolStatus checkPointsFile(const PointCheckSettings&, const RunContext&, CheckReport&);
ToolStatus checkSourceFiles(const SourceCheckSettings&, const RunContext&, CheckReport&);

}  // namespace ovd
