#include "model/concentration_tool.h"

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "inputs/binary_inputs.h"
#include "model/checkpoint_file.h"
#include "model/coefficient_matrices_reader.h"
#include "model/concentration_clusters.h"
#include "model/concentration_engine.h"
#include "model/concentration_texts.h"
#include "model/result_tables.h"
#include "model/run_stop_reason.h"
#include "model/vector_width.h"
#include "windrose/wind_rose_reader.h"

namespace ovd {

namespace {

struct Tool {
    const ConcentrationSettings& s;
    const RunContext& ctx;
    Reporter& rep;
    bool maximum;
    File& log;

    ToolStatus fail(std::string_view text, std::string_view caption = kCaptionError)
    {
        rep.message(Severity::Error, caption, text);
        return ToolStatus::Failed;
    }
    void logLine(std::string_view text)
    {
        if (log)
            log.write(text);
    }
};

PointColumns columnsOf(const ReferencePoint& p)
{
    return {p.number, p.x, p.y, p.z, p.l};
}

ToolStatus runComputation(const ConcentrationSettings& s, const std::array<double, 3>& speeds, const RunContext& ctx,
                          unsigned threads, File& log)
{
    Tool t{s, ctx, ctx.reporter, s.maximum, log};
    Reporter& rep = ctx.reporter;
    const bool groups = s.groupShares && !s.maximum;
    const std::string sourceTablePath = derivedName(s.sources, "dbf");
    if (s.output.empty())
        return t.fail("Nebyl zadán výstupní DBF soubor s výsledky výpočtu  !");
    if (groups && s.groupOutput.empty())
        return t.fail("Nebyl zadán výstupní DBF soubor s výsledky podílů skupin zdrojů !");
    if (samePath(sourceTablePath, s.output) || (groups && samePath(sourceTablePath, s.groupOutput)) ||
        (groups && samePath(s.output, s.groupOutput)))
        return t.fail("Tabulka zdrojů, tabulka výsledků a tabulka podílů skupin zdrojů musí být různé soubory !");
    // No output may be an input or another output: refused before anything is asked.
    const std::string protocolPath = derivedName(s.output, "vst");
    const std::string checkpointPath = derivedName(s.output, "tmp");
    const std::string logPath = folderOf(s.output) + (s.maximum ? "prub_max.tmp" : "prub_roc.tmp");
    const std::vector<NamedPath> inputs{{"vstupní soubor s referenčními body", s.points},
                                        {"vstupní soubor se zdroji", s.sources},
                                        {"vstupní matice THETA", s.theta},
                                        {"vstupní matice DELTA", s.delta},
                                        {"vstupní matice ZMAX", s.zmax},
                                        {"vstupní soubor s větrnou růžicí", s.windRose},
                                        {"vstupní soubor s popisem shluků", s.nearbySources ? s.clusters : ""}};
    const std::vector<NamedPath> outputs{{"výstupní DBF soubor s výsledky", s.output},
                                         {"výstupní textový protokol", protocolPath},
                                         {"výstupní DBF soubor se zdroji", sourceTablePath},
                                         {"výstupní DBF soubor s podíly skupin zdrojů", groups ? s.groupOutput : ""},
                                         {"soubor s mezivýsledky", checkpointPath},
                                         {"soubor s průběhem výpočtu", logPath}};
    if (!refuseSharedFiles(rep, inputs, outputs))
        return ToolStatus::Failed;
    OutputLock lock;
    if (!lock.acquire(rep, {s.output, protocolPath, sourceTablePath, groups ? s.groupOutput : "", checkpointPath}))
        return ToolStatus::Failed;
    if (!ctx.confirmOverwrite(s.output) || (groups && !ctx.confirmOverwrite(s.groupOutput)))
        return ToolStatus::Declined;
    const ConcentrationParameters par = s.parameters(speeds);
    if (!stepFitsCircle(par.step))
        return t.fail("Krok po stupních nedělí 45 nebo je menší než 0.5!");

    // Inputs and outputs in the order of the run, each failure with its own message.
    ConcentrationStudy study;
    auto points = readPointsFile(s.points);
    if (!points)
        return t.fail(fileExists(s.points) ? points.problem().text : "Vstupní soubor s refer. body nelze otevřít !");
    study.points = std::move(*points);
    auto sources = readSourcesFile(s.sources);
    if (!sources)
        return t.fail(fileExists(s.sources) ? sources.problem().text : "Vstupní soubor se zdroji nelze otevřít !");
    study.sources = std::move(sources->records);
    CoefficientMatrices& m = study.matrices;
    if (!readCoefficientMatrices(s.theta, s.delta, s.zmax, m, rep))
        return ToolStatus::Failed;
    if (!t.log.open(logPath, "w"))
        return t.fail("Výstupní soubor s průběhem výpočtu nelze otevřít !");
    const DbfDate date = DbfDate::todayUtc();
    ResultTableWriter table([&](std::string_view line) { t.logLine(std::string(line) + "\n"); });
    const std::vector<DbfField> fields = s.maximum ? maximumTableFields(par.limits) : annualTableFields(par.limits);
    if (!table.open(s.output, fields, static_cast<std::uint32_t>(study.points.size()), date))
        return t.fail("Výstupní DBF soubor s vypočtenými výsledky nelze otevřít !");
    AtomicOutput protocol;
    if (!protocol.open(protocolPath))
        return t.fail("Výstupní soubor s vypočtenými výsledky nelze otevřít !");
    auto rose = readWindRose(s.windRose, rep);
    if (!rose)
        return ToolStatus::Failed;
    for (const WindRoseRow& row : rose->rows) {
        std::vector<double> values = row.directions;
        values.push_back(row.calm);
        study.windRose.push_back(std::move(values));
    }
    const char* sourceTableMessage =
        s.maximum ? "Výstupní dbf se zdroji nelze otevřít !" : "Výstupní dbf se zdroji nelze otevřít!";
    ResultTableWriter sourceTable([&](std::string_view line) { t.logLine(std::string(line) + "\n"); });
    if (!sourceTable.open(sourceTablePath, sourceTableFields(), static_cast<std::uint32_t>(study.sources.size()), date))
        return t.fail(sourceTableMessage);
    if (s.nearbySources) {
        auto clusters = readClustersFile(s.clusters,
                                         s.maximum ? "Vstupní soubor s popisem shluku nelze otevřít !"
                                                   : "Vstupní soubor s popisem shluků nelze otevřít !");
        if (!clusters)
            return t.fail(clusters.problem().text);
        study.clusters = std::move(*clusters);
    }
    t.logLine(runLogDateLine(date));

    if (sources->dust != s.dust) {
        const std::string question = sourceKindQuestion(s.dust);
        if (ctx.unattended)
            return t.fail(question);
        if (ctx.ask({"Ovardix", question, Buttons::YesNo, Answer::Yes}) != Answer::Yes)
            return ToolStatus::Declined;
    }

    auto prepared = prepareConcentrationRun(study, par);
    if (!prepared)
        return t.fail(prepared.problem().text, prepared.problem().caption);
    const Outcome<VectorWidth> width = vectorWidthFromEnvironment();
    if (!width)
        return t.fail(width.problem().text);
    prepared->vectorWidth = *width;
    // on stderr, not in the run log; scripts that read stderr see it only when they fix the width
    if (isatty(fileno(stderr)) || std::getenv("OVARDIX_VECTOR_WIDTH"))
        std::fprintf(stderr, "Šířka vektorů výpočtu: %s\n", vectorWidthName(*width));
    const PreparedRun& run = *prepared;
    const std::string title = s.maximum ? kMaximumTitle : kAnnualTitle;
    rep.status(0, "Naplněna matice pro větrnou růžici.");
    rep.title("Naplněna matice pro větrnou růžici - " + std::string(kAnnualTitle));

    ResultTableWriter groupTable([&](std::string_view line) { t.logLine(std::string(line) + "\n"); });
    std::vector<long> groupNumbers;
    if (groups) {
        for (int g : run.groupOfSlot)
            for (const SourceRecord& r : study.sources)
                if (r.groupIndex == g) {
                    groupNumbers.push_back(r.group);
                    break;
                }
        if (!groupTable.open(s.groupOutput, groupSharesTableFields(groupNumbers),
                             static_cast<std::uint32_t>(study.points.size()), date))
            return t.fail(sourceTableMessage);
    }

    // Restart from a checkpoint of this very run.
    std::vector<std::string> signedInputs{s.points, s.sources, s.theta, s.delta, s.zmax, s.windRose};
    if (s.nearbySources)
        signedInputs.push_back(s.clusters);
    const CheckpointSignature signature = CheckpointSignature::ofFiles(signedInputs);
    ConcentrationState state(run);
    int first = 0;
    if (!ctx.unattended && fileExists(checkpointPath)) {
        CheckpointRefusal why = CheckpointRefusal::OtherRun;
        auto stored = readCheckpoint(checkpointPath, run, signature, &why);
        if (!stored && why != CheckpointRefusal::OtherRun)
            rep.warning(checkpointRefusalText(checkpointPath, why));
        if (stored) {
            Question q{std::string(kCaptionWarning), restartQuestionText(s.output, stored->direction), Buttons::YesNo,
                       Answer::Yes};
            if (ctx.ask(q) == Answer::Yes) {
                state = std::move(stored->state);
                first = restartDirectionIndex(run, stored->direction);
                rep.progress(static_cast<long>(stored->direction / par.step), run.directions);
                rep.status(0, restartStatusText(stored->direction));
                rep.title(restartTitleText(stored->direction));
            }
        }
    }

    ConcentrationEngine engine(run, threads ? threads : std::max(1u, std::thread::hardware_concurrency()));
    bool checkpointFailed = false, cancelled = false;
    LoopOutcome outcome = engine.run(state, first, [&](int i) {
        const double phi = run.direction(i);
        rep.progress(i + 1, run.directions);
        rep.status(0, directionStatusText(s.maximum, phi, s.dust));
        rep.title(directionTitleText(s.maximum, phi, s.dust));
        if (run.checkpointAfter(i) && !writeCheckpoint(checkpointPath, run, state, phi, signature)) {
            checkpointFailed = true;
            return false;
        }
        if (rep.cancelled()) {
            cancelled = true;
            return false;
        }
        return true;
    });
    if (outcome.problem)
        return t.fail(outcome.problem->text, outcome.problem->caption);
    if (checkpointFailed)
        return t.fail("Vstupní soubor pro zápis průběžných výsledků nelze otevřít !");
    if (cancelled || !outcome.completed)
        return ToolStatus::Declined;
    t.logLine("Vypocet probehl v poradku.\n");

    rep.status(0, s.maximum ? "Probíhá zápis do DBF ..." : "Probíhá zápis do DBF ....");
    ProtocolFiles files{s.points,   s.sources, s.theta,      s.delta,         s.zmax,       s.clusters,
                        s.windRose, s.output,  protocolPath, sourceTablePath, s.groupOutput};
    const std::size_t n = study.points.size();
    bool written = protocol.write(protocolText(run, state, files, date));
    std::vector<double> groupSums(groupNumbers.size());
    const std::vector<DbfField> groupFields = groups ? groupSharesTableFields(groupNumbers) : std::vector<DbfField>{};
    for (std::size_t r = 0; r < n && written; ++r) {
        const PointColumns pc = columnsOf(study.points[r]);
        const std::array<double, 3> hours{state.hours[0][r], state.hours[1][r], state.hours[2][r]};
        std::vector<double> values;
        if (s.maximum) {
            MaximumRow row{pc,
                           state.maxConcentration[r],
                           state.maxClass[r],
                           state.maxSpeed[r],
                           state.maxDirection[r],
                           state.annual[r],
                           hours};
            values = maximumRowValues(row, par.limits);
        } else {
            AnnualRow row{pc, state.annual[r], {}, hours};
            for (int q = 0; q < kRoseRows; ++q)
                row.caseMaxima[static_cast<std::size_t>(q)] = state.caseMaximum[static_cast<std::size_t>(q) * n + r];
            values = annualRowValues(row, par.limits);
        }
        // No table of asterisks: a result without a finite value stops the run.
        if (auto bad = nonFiniteResultText(fields, values))
            return t.fail(*bad);
        written = table.writeRow(values);
        if (written && groups) {
            for (std::size_t g = 0; g < groupSums.size(); ++g)
                groupSums[g] = state.groupAnnual[g * n + r];
            values = groupSharesRowValues(pc, groupSums, state.annual[r]);
            if (auto bad = nonFiniteResultText(groupFields, values))
                return t.fail(*bad);
            written = groupTable.writeRow(values);
        }
    }
    for (std::size_t i = 0; i < study.sources.size() && written; ++i) {
        const SourceRecord& r = study.sources[i];
        SourceRow row{r.number, r.x, r.y, r.z, r.type, r.cluster, r.group, r.values};
        written = sourceTable.writeRow(sourceRowValues(row));
    }
    if (!written || !protocol.commit() || !table.finish() || !sourceTable.finish() || (groups && !groupTable.finish()))
        return t.fail("Výstupní DBF soubor s vypočtenými výsledky nelze zapsat !");
    t.logLine(s.maximum ? "Hodnoty zapsany do DBF.\n" : "Hodnoty zapsany do DBF.");
    t.log.close();
    if (fileExists(checkpointPath) && std::remove(checkpointPath.c_str()) != 0)
        rep.info("Nelze smazat tmp soubor s mezivýsledky.");
    rep.status(0, "Výpočet proběhl v pořádku, vypočtené hodnoty byly zapsány.");
    rep.title(title);
    return ToolStatus::Done;
}

}  // namespace

ToolStatus computeConcentrations(const ConcentrationSettings& s, const std::array<double, 3>& speeds,
                                 const RunContext& ctx, unsigned threads)
{
    StopReasonReporter reasons(ctx.reporter);
    File log;
    ToolStatus status = runComputation(s, speeds, RunContext{reasons, ctx.unattended}, threads, log);
    reasons.logStopReason(log, status);
    return status;
}

}  // namespace ovd
