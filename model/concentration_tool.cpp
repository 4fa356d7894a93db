#include "model/concentration_tool.h"

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/platform.h"
#include "model/checkpoint_file.h"
#include "model/concentration_texts.h"
#include "model/engine/concentration_engine.h"
#include "model/engine/maximum_group_shares.h"
#include "model/study_run.h"
#include "model/vector_width.h"
#include "windrose/wind_rose_reader.h"

namespace ovd {

namespace {

PointColumns columnsOf(const ReferencePoint& p)
{
    return {p.number, p.x, p.y, p.z, p.l};
}

unsigned threadCount(unsigned threads)
{
    return threads ? threads : std::max(1u, std::thread::hardware_concurrency());
}

// One annual or maximum run: the phases in the order of the run, each stopping it with its
// own status.
class ConcentrationRun {
public:
    ConcentrationRun(const ConcentrationSettings& s, const std::array<double, 3>& speeds, StudyRun& run,
                     std::string_view width)
        : m_s(s)
        , m_run(run)
        , m_rep(run.reporter())
        , m_par(s.parameters(speeds))
        , m_groups(s.groupShares)
        , m_sourceTablePath(derivedName(s.sources, "dbf"))
        , m_checkpointPath(s.checkpointPath())
        , m_files(StudyFiles::of(s, s.runLogName()))
        , m_groupTable(run.logSink())
        , m_width(width)
    { }

    ToolStatus run(unsigned threads)
    {
        if (ToolStatus st = claimOutputs(); st != ToolStatus::Done)
            return st;
        if (!stepFitsCircle(m_par.step))
            return m_run.fail("Krok po stupních nedělí 45 nebo je menší než 0.5!");
        if (ToolStatus st = openStudy(); st != ToolStatus::Done)
            return st;
        if (ToolStatus st = prepare(); st != ToolStatus::Done)
            return st;
        // Checkpoints belong to the inputs as they are now.
        const CheckpointSignature sig = signature();
        ConcentrationState state(*m_prepared);
        const int first = restartFromCheckpoint(state, sig);
        if (ToolStatus st = computeDirections(state, first, threads, sig); st != ToolStatus::Done)
            return st;
        if (m_groups && m_s.maximum)
            if (ToolStatus st = shareMaximum(state, first, threads, sig); st != ToolStatus::Done)
                return st;
        return writeResults(state);
    }

private:
    const ConcentrationSettings& m_s;
    StudyRun& m_run;
    Reporter& m_rep;
    const ConcentrationParameters m_par;
    const bool m_groups;  // a run with group shares (of the annual mean or of the maximum)
    const std::string m_sourceTablePath, m_checkpointPath;
    const StudyFiles m_files;
    std::optional<PreparedRun> m_prepared;
    ResultTableWriter m_groupTable;
    std::vector<long> m_groupNumbers;  // the groups of the group table, in its field order
    MaximumGroupShares m_maximumShares;  // a maximum run's, once the pass is done
    const std::string m_width;         // fixed by the caller; empty: from the environment

    const char* sourceTableMessage() const
    {
        return m_s.maximum ? "Výstupní dbf se zdroji nelze otevřít !" : "Výstupní dbf se zdroji nelze otevřít!";
    }

    // No output may be an input or another output: refused before anything is asked.
    ToolStatus claimOutputs()
    {
        const ConcentrationSettings& s = m_s;
        if (s.output.empty())
            return m_run.fail("Nebyl zadán výstupní DBF soubor s výsledky výpočtu  !");
        if (m_groups && s.groupOutput.empty())
            return m_run.fail("Nebyl zadán výstupní DBF soubor s výsledky podílů skupin zdrojů !");
        if (samePath(m_sourceTablePath, s.output) || (m_groups && samePath(m_sourceTablePath, s.groupOutput)) ||
            (m_groups && samePath(s.output, s.groupOutput)))
            return m_run.fail(
                "Tabulka zdrojů, tabulka výsledků a tabulka podílů skupin zdrojů musí být různé soubory!");
        const std::string groupOutput = m_groups ? s.groupOutput : "";
        const std::vector<NamedPath> inputs =
            m_files.inputRoles({{"vstupní soubor s větrnou růžicí", s.windRose}}, s.nearbySources ? s.clusters : "");
        const std::vector<NamedPath> outputs = m_files.outputRoles(
            m_sourceTablePath,
            {{"výstupní DBF soubor s podíly skupin zdrojů", groupOutput}, {"soubor s mezivýsledky", m_checkpointPath}});
        std::vector<std::string> confirmed{s.output};
        if (m_groups)
            confirmed.push_back(s.groupOutput);
        return m_run.claimOutputs(
            inputs, outputs, {s.output, m_files.protocol, m_sourceTablePath, groupOutput, m_checkpointPath}, confirmed);
    }

    // Inputs and outputs in the order of the run, each failure with its own message.
    ToolStatus openStudy()
    {
        const std::vector<DbfField> fields =
            m_s.maximum ? maximumTableFields(m_par.limits) : annualTableFields(m_par.limits);
        if (!m_run.readInputs(m_files) || !m_run.openOutputs(m_files, fields))
            return ToolStatus::Failed;
        auto rose = readWindRose(m_s.windRose, m_rep);
        if (!rose)
            return ToolStatus::Failed;
        for (const WindRoseRow& row : rose->rows) {
            std::vector<double> values = row.directions;
            values.push_back(row.calm);
            m_run.study.windRose.push_back(std::move(values));
        }
        if (!m_run.openSourceTable(m_sourceTablePath, sourceTableMessage()))
            return ToolStatus::Failed;
        if (m_s.nearbySources &&
            !m_run.readClusters(m_s.clusters,
                                m_s.maximum ? "Vstupní soubor s popisem shluku nelze otevřít !"
                                            : "Vstupní soubor s popisem shluků nelze otevřít !"))
            return ToolStatus::Failed;
        m_run.logLine(runLogDateLine(m_run.date));
        return m_run.confirmSourceKind(m_s.dust);
    }

    // Everything refused before the loop, the engine's vector width and the group table.
    ToolStatus prepare()
    {
        auto prepared = prepareConcentrationRun(m_run.study, m_par);
        if (!prepared)
            return m_run.fail(prepared.problem());
        const Outcome<VectorWidth> width = m_width.empty() ? vectorWidthFromEnvironment() : chooseVectorWidth(m_width);
        if (!width)
            return m_run.fail(width.problem());
        prepared->vectorWidth = *width;
        // on stderr, not in the run log; scripts that read stderr see it only when they fix the width
        if (isatty(fileno(stderr)) || std::getenv("OVARDIX_VECTOR_WIDTH"))
            std::fprintf(stderr, "Šířka vektorů výpočtu: %s\n", vectorWidthName(*width));
        m_prepared = std::move(*prepared);
        m_rep.status(0, "Naplněna matice pro větrnou růžici.");
        m_rep.title("Naplněna matice pro větrnou růžici - " + std::string(kAnnualTitle));
        return m_groups ? openGroupTable() : ToolStatus::Done;
    }

    std::vector<DbfField> groupTableFields() const
    {
        return m_s.maximum ? maximumGroupSharesTableFields(m_groupNumbers) : groupSharesTableFields(m_groupNumbers);
    }

    // The group-shares table, one field per group the sources use, before the loop.
    ToolStatus openGroupTable()
    {
        Outcome<std::vector<int>> slots = m_prepared->groupOfSlot;
        if (m_s.maximum)
            slots = usedGroupSlots(*m_prepared);
        if (!slots)
            return m_run.fail(slots.problem());
        for (int g : *slots)
            for (const SourceRecord& r : m_run.study.sources)
                if (r.groupIndex == g) {
                    m_groupNumbers.push_back(r.group);
                    break;
                }
        if (!m_groupTable.open(m_s.groupOutput, groupTableFields(),
                               static_cast<std::uint32_t>(m_run.study.points.size()), m_run.date))
            return m_run.fail(m_s.maximum ? "Výstupní dbf s podíly skupin zdrojů nelze otevřít!"
                                          : sourceTableMessage());
        return ToolStatus::Done;
    }

    CheckpointSignature signature() const
    {
        std::vector<std::string> signedInputs{m_s.points, m_s.sources, m_s.theta, m_s.delta, m_s.zmax, m_s.windRose};
        if (m_s.nearbySources)
            signedInputs.push_back(m_s.clusters);
        return CheckpointSignature::ofFiles(signedInputs);
    }

    // Restart from a checkpoint of this very run when the user wants it: the first direction
    // left to compute.
    int restartFromCheckpoint(ConcentrationState& state, const CheckpointSignature& sig)
    {
        const PreparedRun& run = *m_prepared;
        if (m_run.context().unattended || !fileExists(m_checkpointPath))
            return 0;
        CheckpointRefusal why = CheckpointRefusal::OtherRun;
        auto stored = readCheckpoint(m_checkpointPath, run, sig, &why);
        if (!stored && why != CheckpointRefusal::OtherRun)
            m_rep.warning(checkpointRefusalText(m_checkpointPath, why));
        if (!stored)
            return 0;
        Question q{std::string(kCaptionWarning), restartQuestionText(m_s.output, stored->direction), Buttons::YesNo,
                   Answer::Yes, QuestionKind::Restart};
        if (m_run.context().ask(q) != Answer::Yes)
            return 0;
        state = std::move(stored->state);
        m_rep.progress(static_cast<long>(stored->direction / m_par.step), run.directions);
        m_rep.status(0, restartStatusText(stored->direction));
        m_rep.title(restartTitleText(stored->direction));
        return restartDirectionIndex(run, stored->direction);
    }

    // The direction loop with its progress, checkpoints and cancelling.
    ToolStatus computeDirections(ConcentrationState& state, int first, unsigned threads, const CheckpointSignature& sig)
    {
        const PreparedRun& run = *m_prepared;
        ConcentrationEngine engine(run, threadCount(threads));
        bool checkpointFailed = false, cancelled = false;
        LoopOutcome outcome = engine.run(state, first, [&](int i) {
            const double phi = run.direction(i);
            m_rep.progress(i + 1, run.directions);
            m_rep.status(0, directionStatusText(m_s.maximum, phi, m_s.dust));
            m_rep.title(directionTitleText(m_s.maximum, phi, m_s.dust));
            if (run.checkpointAfter(i) && !writeCheckpoint(m_checkpointPath, run, state, phi, sig)) {
                checkpointFailed = true;
                return false;
            }
            cancelled = m_rep.cancelled();
            return !cancelled;
        });
        if (outcome.problem)
            return m_run.fail(*outcome.problem);
        if (checkpointFailed)
            return m_run.fail("Vstupní soubor pro zápis průběžných výsledků nelze otevřít !");
        if (cancelled || !outcome.completed)
            return ToolStatus::Declined;
        m_run.logLine("Vypocet probehl v poradku.\n");
        return ToolStatus::Done;
    }

    // The groups' shares of the complete maximum. The maximum is kept as a checkpoint first,
    // so that an interrupted pass leaves it and the next run does only the pass.
    ToolStatus shareMaximum(const ConcentrationState& state, int first, unsigned threads,
                            const CheckpointSignature& sig)
    {
        const PreparedRun& run = *m_prepared;
        const double last = run.direction(run.directions - 1);
        if (first < run.directions && !writeCheckpoint(m_checkpointPath, run, state, last, sig))
            return m_run.fail("Vstupní soubor pro zápis průběžných výsledků nelze otevřít !");
        m_rep.status(0, "Výpočet podílů skupin zdrojů na maximálních koncentracích ...");
        const LoopOutcome outcome =
            maximumGroupShares(run, state, threadCount(threads), m_maximumShares, [this] { return m_rep.cancelled(); });
        if (outcome.problem)
            return m_run.fail(*outcome.problem);
        return outcome.completed ? ToolStatus::Done : ToolStatus::Declined;
    }

    MaximumRow maximumRow(const ConcentrationState& state, std::size_t r) const
    {
        return {columnsOf(m_run.study.points[r]),
                state.maxConcentration[r],
                state.maxClass[r],
                state.maxSpeed[r],
                state.maxDirection[r],
                state.annual[r],
                {state.hours[0][r], state.hours[1][r], state.hours[2][r]}};
    }

    // The values of one point's row of the result table.
    std::vector<double> resultRow(const ConcentrationState& state, std::size_t r) const
    {
        const std::size_t n = m_run.study.points.size();
        if (m_s.maximum)
            return maximumRowValues(maximumRow(state, r), m_par.limits);
        const std::array<double, 3> hours{state.hours[0][r], state.hours[1][r], state.hours[2][r]};
        AnnualRow row{columnsOf(m_run.study.points[r]), state.annual[r], {}, hours};
        for (int q = 0; q < kRoseRows; ++q)
            row.caseMaxima[static_cast<std::size_t>(q)] = state.caseMaximum[static_cast<std::size_t>(q) * n + r];
        return annualRowValues(row, m_par.limits);
    }

    // The row of one point's group shares: of the annual mean, or of the maximum.
    std::vector<double> groupRow(const ConcentrationState& state, std::size_t r) const
    {
        const std::size_t n = m_run.study.points.size();
        std::vector<double> shares(m_groupNumbers.size());
        if (m_s.maximum) {
            for (std::size_t g = 0; g < shares.size(); ++g)
                shares[g] = m_maximumShares.share(static_cast<int>(g), static_cast<int>(r));
            return maximumGroupSharesRowValues(maximumRow(state, r), shares);
        }
        for (std::size_t g = 0; g < shares.size(); ++g)
            shares[g] = state.groupAnnual[g * n + r];
        return groupSharesRowValues(columnsOf(m_run.study.points[r]), shares, state.annual[r]);
    }

    ToolStatus writeResults(const ConcentrationState& state)
    {
        const ConcentrationSettings& s = m_s;
        m_rep.status(0, s.maximum ? "Probíhá zápis do DBF ..." : "Probíhá zápis do DBF ....");
        ProtocolFiles files{s.points,   s.sources, s.theta,          s.delta,           s.zmax,       s.clusters,
                            s.windRose, s.output,  m_files.protocol, m_sourceTablePath, s.groupOutput};
        const std::size_t n = m_run.study.points.size();
        m_run.writeProtocol(protocolText(*m_prepared, state, files, m_run.date, m_groups));
        const std::vector<DbfField> fields =
            s.maximum ? maximumTableFields(m_par.limits) : annualTableFields(m_par.limits);
        const std::vector<DbfField> groupFields = m_groups ? groupTableFields() : std::vector<DbfField>{};
        for (std::size_t r = 0; r < n && m_run.written(); ++r) {
            std::vector<double> values = resultRow(state, r);
            // No table of asterisks: a result without a finite value stops the run.
            if (auto bad = nonFiniteResultText(fields, values))
                return m_run.fail(*bad);
            m_run.writeRow(m_run.table, values);
            if (m_run.written() && m_groups) {
                values = groupRow(state, r);
                if (auto bad = nonFiniteResultText(groupFields, values))
                    return m_run.fail(*bad);
                m_run.writeRow(m_groupTable, values);
            }
        }
        if (!m_run.commit(m_groups ? &m_groupTable : nullptr))
            return ToolStatus::Failed;
        m_run.logLine(s.maximum ? "Hodnoty zapsany do DBF.\n" : "Hodnoty zapsany do DBF.");
        m_run.closeLog();
        if (fileExists(m_checkpointPath) && !removeFile(m_checkpointPath))
            m_rep.info("Nelze smazat tmp soubor s mezivýsledky.");
        m_rep.status(0, "Výpočet proběhl v pořádku, vypočtené hodnoty byly zapsány.");
        m_rep.title(s.maximum ? kMaximumTitle : kAnnualTitle);
        return ToolStatus::Done;
    }
};

}  // namespace

ToolStatus computeConcentrations(const ConcentrationSettings& s, const std::array<double, 3>& speeds,
                                 const RunContext& ctx, unsigned threads, std::string_view width)
{
    return runStudy(ctx, [&](StudyRun& run) { return ConcentrationRun(s, speeds, run, width).run(threads); });
}

}  // namespace ovd
