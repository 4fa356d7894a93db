#pragma once
// The chapters of the study report, each written into the document from the study read once.
// A chapter whose study lacks what it needs says what is missing instead.
#include <optional>
#include <string>
#include <vector>

#include "common/profile.h"
#include "common/project.h"
#include "common/reporter.h"
#include "map/map_model.h"
#include "report_document.h"
#include "report_study.h"

namespace ovd {

struct ReportContext {
    const Project& project;
    const Profile& profile;
    const StudyData& study;
    // The map of each table (same order), none where the table has no values to draw.
    const std::vector<std::optional<MapModel>>& maps;
    Reporter& reporter;

    // The first map built: the terrain, sources and wind rose are drawn from it.
    const MapModel* firstMap() const;
};

void studyChapter(ReportDocument&, const ReportContext&);       // 1 the study
void sourcesChapter(ReportDocument&, const ReportContext&);     // 2 sources
void pointsChapter(ReportDocument&, const ReportContext&);      // 3 reference points
void terrainChapter(ReportDocument&, const ReportContext&);     // 4 terrain
void windRoseChapter(ReportDocument&, const ReportContext&);    // 5 wind rose
void settingsChapter(ReportDocument&, const ReportContext&);    // 6 settings of the computations
void resultsChapter(ReportDocument&, const ReportContext&);     // 7 results of each table
void assessmentChapter(ReportDocument&, const ReportContext&);  // 8 assessment, comparison, shares
void annexChapter(ReportDocument&, const ReportContext&);       // 9 files, checksums, run logs

// The SHA-256 of a file's content as 64 hex digits; nullopt when it cannot be read.
std::optional<std::string> sha256Hex(const std::string& path);
// A value as the source and point tables show it: up to six decimals, trailing zeros dropped.
std::string plainValue(double);

}  // namespace ovd
