#include "model/daily_tool.h"

#include "common/paths.h"
#include "model/daily_texts.h"
#include "model/study_run.h"

namespace ovd {

namespace {

class DailyRun {
public:
    DailyRun(const DailySettings& s, StudyRun& run)
        : m_s(s)
        , m_run(run)
        , m_par(s.parameters())
        , m_files(StudyFiles::of(s, "prub_den.tmp"))
    { }

    ToolStatus run()
    {
        if (ToolStatus st = claimOutputs(); st != ToolStatus::Done)
            return st;
        // A weather situation that cannot be computed is refused before any file is touched.
        if (auto problem = checkDailyWeather(m_par))
            return m_run.fail(*problem);
        if (ToolStatus st = openStudy(); st != ToolStatus::Done)
            return st;
        if (auto problem = checkDailyRun(m_run.study, m_par))
            return m_run.fail(*problem);
        DailyOutcome outcome = compute();
        if (outcome.problem)
            return m_run.fail(*outcome.problem);
        if (m_cancelled || !outcome.completed)
            return ToolStatus::Declined;
        m_run.logLine("Vypocty ukonceny OK. \n");
        return writeResults(outcome.concentration);
    }

private:
    const DailySettings& m_s;
    StudyRun& m_run;
    const DailyParameters m_par;
    const StudyFiles m_files;
    std::string m_sourceTablePath;
    bool m_cancelled = false;

    // No output may be an input or another output: refused before anything is asked.
    ToolStatus claimOutputs()
    {
        m_sourceTablePath = derivedName(m_s.sources, "dbf");
        if (m_s.output.empty())
            return m_run.fail("Nebyl zadán výstupní DBF soubor s výsledky výpočtu !");
        if (samePath(m_sourceTablePath, m_s.output))
            return m_run.fail("Tabulka zdrojů a tabulka výsledků musí být různé soubory!");
        return m_run.claimOutputs(m_files.inputRoles({}, m_s.nearbySources ? m_s.clusters : ""),
                                  m_files.outputRoles(m_sourceTablePath, {}),
                                  {m_s.output, m_files.protocol, m_sourceTablePath}, {m_s.output});
    }

    // Inputs and outputs in the order of the run, each failure with its own message.
    ToolStatus openStudy()
    {
        if (!m_run.readInputs(m_files) || !m_run.openOutputs(m_files, dailyTableFields()) ||
            !m_run.openSourceTable(m_sourceTablePath, "Výstupní dbf se zdroji nelze otevřít!"))
            return ToolStatus::Failed;
        if (m_s.nearbySources && !m_run.readClusters(m_s.clusters, "Vstupní soubor s popisem shluků nelze otevřít !"))
            return ToolStatus::Failed;
        m_run.logLine(dailyRunLogDateLine(m_run.date, m_s.dust));
        return m_run.confirmSourceKind(m_s.dust);
    }

    DailyOutcome compute()
    {
        Reporter& rep = m_run.reporter();
        rep.status(0, "Probíhá výpočet ....");
        rep.title(kDailyTitle);
        const long total = static_cast<long>(m_run.study.sources.size());
        return computeDaily(m_run.study, m_par, [&](int i) {
            rep.progress(i + 1, total);
            m_cancelled = rep.cancelled();
            return !m_cancelled;
        });
    }

    ToolStatus writeResults(const std::vector<double>& concentration)
    {
        m_run.reporter().status(0, "Probíhá zápis dat do DBF ....");
        // no wind rose and no group table in a daily run
        const ProtocolFiles files{m_s.points, m_s.sources, m_s.theta,        m_s.delta,         m_s.zmax, m_s.clusters,
                                  "",         m_s.output,  m_files.protocol, m_sourceTablePath, ""};
        const std::vector<ReferencePoint>& points = m_run.study.points;
        m_run.writeProtocol(dailyProtocolText(points, concentration, m_par, files));
        const std::vector<DbfField> fields = dailyTableFields();
        for (std::size_t r = 0; r < points.size() && m_run.written(); ++r) {
            const ReferencePoint& p = points[r];
            const std::vector<double> values = dailyRowValues({p.number, p.x, p.y, p.z, p.l}, concentration[r]);
            if (auto bad = nonFiniteResultText(fields, values))
                return m_run.fail(*bad);
            m_run.writeRow(m_run.table, values);
        }
        if (!m_run.commit())
            return ToolStatus::Failed;
        m_run.logLine("Data zapsana do DBF. \n");
        m_run.closeLog();
        m_run.reporter().info(dailyDoneMessage(m_s.dust));
        return ToolStatus::Done;
    }
};

}  // namespace

ToolStatus computeDailyConcentrations(const DailySettings& s, const RunContext& ctx)
{
    return runStudy(ctx, [&](StudyRun& run) { return DailyRun(s, run).run(); });
}

}  // namespace ovd
