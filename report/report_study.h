#pragma once
// What the report describes, read once from the study: the result tables the project's keys
// name and those given, each with its kind, date and signature check.
#include <optional>
#include <string>
#include <vector>

#include "app/report_commands.h"
#include "common/outcome.h"
#include "common/project.h"
#include "gis/result_points.h"

namespace ovd {

enum class TableKind { Annual, Maximum, Daily, Shares, Assessment, Comparison, Scaled, Other };

struct StudyTable {
    std::string path;   // as the project or the option names it
    std::string role;   // "výstup výpočtu koncentrací", "zadaná tabulka"
    TableKind kind = TableKind::Other;
    ResultPoints rows;
    std::string date;   // of the computation, from the table's header ("10. 12. 2026")
    bool signedOutput = false;
    std::vector<std::string> changedInputs;  // non-empty: stale, included as allowed

    bool stale() const { return !changedInputs.empty(); }
    // The column the chapter's statistics and map are of; empty for the shares table.
    std::string mainColumn() const;
};

struct StudyData {
    std::string projectFile;
    std::vector<StudyTable> tables;
    std::vector<std::string> absent;  // tables the project's keys name that do not exist
};

// The tables, in the order of the computations; a problem names a table that is given but
// missing or unreadable, or one whose inputs changed since it was computed (unless allowed).
Outcome<StudyData> readStudy(const ReportRequest&, const Project&);

// A kind's name in a sentence ("roční průměrné koncentrace").
std::string tableKindText(TableKind);
// The text of a stale table's refusal and of its mark in the report.
std::string staleText(const StudyTable&);

}  // namespace ovd
