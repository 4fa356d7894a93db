#include "model/daily_tool.h"

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "inputs/binary_inputs.h"
#include "model/coefficient_matrices_reader.h"
#include "model/concentration_clusters.h"
#include "model/daily_texts.h"
#include "model/result_tables.h"
#include "model/run_stop_reason.h"

namespace ovd {

namespace {

ToolStatus runComputation(const DailySettings& s, const RunContext& ctx, File& log)
{
    Reporter& rep = ctx.reporter;
    auto logLine = [&](std::string_view text) {
        if (log)
            log.write(text);
    };
    auto fail = [&](std::string_view text, std::string_view caption = kCaptionError) {
        rep.message(Severity::Error, caption, text);
        return ToolStatus::Failed;
    };
    const std::string sourceTablePath = derivedName(s.sources, "dbf");
    if (s.output.empty())
        return fail("Nebyl zadán výstupní DBF soubor s výsledky výpočtu !");
    if (samePath(sourceTablePath, s.output))
        return fail("Tabulka zdrojů a tabulka výsledků musí být různé soubory !");
    // No output may be an input or another output: refused before anything is asked.
    const std::string protocolPath = derivedName(s.output, "vst");
    const std::string logPath = folderOf(s.output) + "prub_den.tmp";
    const std::vector<NamedPath> inputs{{"vstupní soubor s referenčními body", s.points},
                                        {"vstupní soubor se zdroji", s.sources},
                                        {"vstupní matice THETA", s.theta},
                                        {"vstupní matice DELTA", s.delta},
                                        {"vstupní matice ZMAX", s.zmax},
                                        {"vstupní soubor s popisem shluků", s.nearbySources ? s.clusters : ""}};
    const std::vector<NamedPath> outputs{{"výstupní DBF soubor s výsledky", s.output},
                                         {"výstupní textový protokol", protocolPath},
                                         {"výstupní DBF soubor se zdroji", sourceTablePath},
                                         {"soubor s průběhem výpočtu", logPath}};
    if (!refuseSharedFiles(rep, inputs, outputs))
        return ToolStatus::Failed;
    OutputLock lock;
    if (!lock.acquire(rep, {s.output, protocolPath, sourceTablePath}))
        return ToolStatus::Failed;
    if (!ctx.confirmOverwrite(s.output))
        return ToolStatus::Declined;
    const DailyParameters par = s.parameters();
    // A weather situation that cannot be computed is refused before any file is touched.
    if (auto problem = checkDailyWeather(par))
        return fail(problem->text, problem->caption);

    // Inputs and outputs in the order of the run, each failure with its own message.
    ConcentrationStudy study;
    auto points = readPointsFile(s.points);
    if (!points)
        return fail(fileExists(s.points) ? points.problem().text : "Vstupní soubor s refer. body nelze otevřít !");
    study.points = std::move(*points);
    auto sources = readSourcesFile(s.sources);
    if (!sources)
        return fail(fileExists(s.sources) ? sources.problem().text : "Vstupní soubor se zdroji nelze otevřít !");
    study.sources = std::move(sources->records);
    if (!readCoefficientMatrices(s.theta, s.delta, s.zmax, study.matrices, rep))
        return ToolStatus::Failed;
    if (!log.open(logPath, "w"))
        return fail("Výstupní soubor s průběhem výpočtu nelze otevřít !");
    const DbfDate date = DbfDate::todayUtc();
    auto logSink = [&](std::string_view line) { logLine(std::string(line) + "\n"); };
    ResultTableWriter table(logSink);
    if (!table.open(s.output, dailyTableFields(), static_cast<std::uint32_t>(study.points.size()), date))
        return fail("Výstupní DBF soubor s vypočtenými výsledky nelze otevřít !");
    AtomicOutput protocol;
    if (!protocol.open(protocolPath))
        return fail("Výstupní soubor s vypočtenými výsledky nelze otevřít !");
    ResultTableWriter sourceTable(logSink);
    if (!sourceTable.open(sourceTablePath, sourceTableFields(), static_cast<std::uint32_t>(study.sources.size()), date))
        return fail("Výstupní dbf se zdroji nelze otevřít!");
    if (s.nearbySources) {
        auto clusters = readClustersFile(s.clusters, "Vstupní soubor s popisem shluků nelze otevřít !");
        if (!clusters)
            return fail(clusters.problem().text);
        study.clusters = std::move(*clusters);
    }
    logLine(dailyRunLogDateLine(date, s.dust));

    if (sources->dust != s.dust) {
        const std::string question = sourceKindQuestion(s.dust);
        if (ctx.unattended)
            return fail(question);
        if (ctx.ask({"Ovardix", question, Buttons::YesNo, Answer::Yes}) != Answer::Yes)
            return ToolStatus::Declined;
    }
    if (auto problem = checkDailyRun(study, par))
        return fail(problem->text, problem->caption);

    rep.status(0, "Probíhá výpočet ....");
    rep.title(kDailyTitle);
    const long total = static_cast<long>(study.sources.size());
    bool cancelled = false;
    DailyOutcome outcome = computeDaily(study, par, [&](int i) {
        rep.progress(i + 1, total);
        if (rep.cancelled()) {
            cancelled = true;
            return false;
        }
        return true;
    });
    if (outcome.problem)
        return fail(outcome.problem->text, outcome.problem->caption);
    if (cancelled || !outcome.completed)
        return ToolStatus::Declined;
    logLine("Vypocty ukonceny OK. \n");

    rep.status(0, "Probíhá zápis dat do DBF ....");
    ProtocolFiles files;
    files.points = s.points;
    files.sources = s.sources;
    files.theta = s.theta;
    files.delta = s.delta;
    files.zmax = s.zmax;
    files.clusters = s.clusters;
    files.output = s.output;
    files.protocol = protocolPath;
    files.sourceTable = sourceTablePath;
    bool written = protocol.write(dailyProtocolText(study.points, outcome.concentration, par, files));
    const std::vector<DbfField> fields = dailyTableFields();
    for (std::size_t r = 0; r < study.points.size() && written; ++r) {
        const ReferencePoint& p = study.points[r];
        const std::vector<double> values = dailyRowValues({p.number, p.x, p.y, p.z, p.l}, outcome.concentration[r]);
        if (auto bad = nonFiniteResultText(fields, values))
            return fail(*bad);
        written = table.writeRow(values);
    }
    for (std::size_t i = 0; i < study.sources.size() && written; ++i) {
        const SourceRecord& r = study.sources[i];
        written =
            sourceTable.writeRow(sourceRowValues({r.number, r.x, r.y, r.z, r.type, r.cluster, r.group, r.values}));
    }
    if (!written || !protocol.commit() || !table.finish() || !sourceTable.finish())
        return fail("Výstupní DBF soubor s vypočtenými výsledky nelze zapsat !");
    logLine("Data zapsana do DBF. \n");
    log.close();
    rep.info(dailyDoneMessage(s.dust));
    return ToolStatus::Done;
}

}  // namespace

ToolStatus computeDailyConcentrations(const DailySettings& s, const RunContext& ctx)
{
    StopReasonReporter reasons(ctx.reporter);
    File log;
    ToolStatus status = runComputation(s, RunContext{reasons, ctx.unattended}, log);
    reasons.logStopReason(log, status);
    return status;
}

}  // namespace ovd
