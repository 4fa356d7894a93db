#include "report_tool.h"

#include <QGuiApplication>
#include <chrono>
#include <ctime>
#include <memory>

#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/reporter_wrapper.h"
#include "map/map_export.h"
#include "report_chapters.h"
#include "report_format.h"

namespace ovd {

namespace {

std::string createdText()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    return cformat("Vytvořeno %d. %d. %d v %02d:%02d UTC programem Ovardix " OVD_VERSION, utc.tm_mday, utc.tm_mon + 1,
                   utc.tm_year + 1900, utc.tm_hour, utc.tm_min);
}

std::string titleOf(const ReportRequest& q, const Project& p)
{
    if (!q.title.empty())
        return q.title;
    return "Zpráva o studii " + stemOf(p.path());
}

// The map of each table that has values to draw; one that cannot be drawn is a warning.
std::vector<std::optional<MapModel>> tableMaps(const Project& project, const StudyData& study, Reporter& r,
                                               long& step, long steps)
{
    std::vector<std::optional<MapModel>> maps;
    NullReporter quiet;
    for (const StudyTable& t : study.tables) {
        r.progress(step++, steps);
        if (r.cancelled())
            break;
        const std::string column = t.mainColumn();
        if (column.empty()) {
            maps.emplace_back();
            continue;
        }
        r.status(0, "Kreslím mapu tabulky " + t.path);
        MapSettings s = loadSettings<MapSettings>(project);
        s.table = t.path;
        s.column = column;
        s.levels = t.kind == TableKind::Assessment ? std::string(kLimitsLevelsText) : std::string();
        Outcome<MapModel> m = buildMapModel(s, quiet);
        if (!m)
            r.message(Severity::Warning, kCaptionWarning, "Mapu tabulky " + t.path + " nelze nakreslit: " + m.problem().text);
        maps.push_back(m ? std::optional<MapModel>(std::move(*m)) : std::nullopt);
    }
    return maps;
}

std::vector<NamedPath> inputRoles(const Project& project, const ReportRequest& q)
{
    std::vector<NamedPath> roles = studyFileRoles(project.path());
    for (const std::string& t : q.tables)
        roles.push_back({"tabulka výsledků zprávy", t});
    return roles;
}

}  // namespace

std::optional<ReportDocument> buildReport(const ReportRequest& q, const Project& project, const Profile& profile,
                                          const StudyData& study, const RunContext& ctx, bool& cancelled)
{
    using Chapter = void (*)(ReportDocument&, const ReportContext&);
    static const Chapter kChapters[] = {studyChapter,    sourcesChapter, pointsChapter,     terrainChapter,
                                        windRoseChapter, settingsChapter, resultsChapter, assessmentChapter,
                                        annexChapter};
    Reporter& r = ctx.reporter;
    const long steps = static_cast<long>(study.tables.size() + std::size(kChapters));
    long step = 0;
    std::vector<std::optional<MapModel>> maps = tableMaps(project, study, r, step, steps);
    ReportDocument doc;
    doc.title = titleOf(q, project);
    doc.created = createdText();
    const ReportContext c{project, profile, study, maps, r};
    for (Chapter chapter : kChapters) {
        if (r.cancelled()) {
            cancelled = true;
            return std::nullopt;
        }
        r.progress(step++, steps);
        r.status(0, "Píšu zprávu o studii ...");
        chapter(doc, c);
    }
    r.progress(steps, steps);
    return doc;
}

ToolStatus writeStudyReport(const ReportRequest& q, const Project& project, const Profile& profile,
                            const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    const std::optional<ReportFormat> format = reportFormatOf(q.output);
    if (!format) {
        Problem::error(unknownReportFormatText(q.output)).report(r);
        return ToolStatus::Failed;
    }
    if (!refuseSharedFiles(ctx, inputRoles(project, q), {{"výstupní soubor zprávy", q.output}}))
        return ToolStatus::Failed;
    OutputLock lock;
    if (auto stop = lock.claim(ctx, {q.output}))
        return *stop;
    r.status(0, "Načítám tabulky výsledků ...");
    Outcome<StudyData> study = readStudy(q, project);
    if (!study) {
        study.problem().report(r);
        return ToolStatus::Failed;
    }
    std::unique_ptr<QGuiApplication> app = guiApplicationForDrawing();
    bool cancelled = false;
    std::optional<ReportDocument> doc = buildReport(q, project, profile, *study, ctx, cancelled);
    if (!doc)
        return cancelled ? ToolStatus::Declined : ToolStatus::Failed;
    if (*format == ReportFormat::Html) {
        std::vector<NamedPath> pictures;
        for (const std::string& name : pictureNames(*doc, pictureFolderOf(q.output)))
            pictures.push_back({"obrázek zprávy", name});
        pictures.push_back({"výstupní soubor zprávy", q.output});
        if (!refuseSharedFiles(ctx, inputRoles(project, q), pictures))
            return ToolStatus::Failed;
    }
    r.status(0, "Zapisuji zprávu do souboru " + q.output);
    if (std::optional<Problem> p = writeReport(*doc, q.output, *format)) {
        p->report(r);
        return ToolStatus::Failed;
    }
    r.status(0, "Zpráva o studii zapsána do souboru " + q.output);
    return ToolStatus::Done;
}

ToolStatus FileReportWriter::write(const ReportRequest& q, const Project& project, const Profile& profile,
                                   const RunContext& ctx) const
{
    return writeStudyReport(q, project, profile, ctx);
}

}  // namespace ovd
