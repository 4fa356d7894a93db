#include "model/study_run.h"

#include "inputs/binary_inputs.h"
#include "model/coefficient_matrices_reader.h"
#include "model/concentration_clusters.h"
#include "model/concentration_texts.h"
#include "model/run_stop_reason.h"

namespace ovd {

std::vector<NamedPath> StudyFiles::inputRoles(const std::vector<NamedPath>& tools, const std::string& clusters) const
{
    std::vector<NamedPath> roles{{"vstupní soubor s referenčními body", points},
                                 {"vstupní soubor se zdroji", sources},
                                 {"vstupní matice THETA", theta},
                                 {"vstupní matice DELTA", delta},
                                 {"vstupní matice ZMAX", zmax}};
    roles.insert(roles.end(), tools.begin(), tools.end());
    roles.push_back({"vstupní soubor s popisem shluků", clusters});
    return roles;
}

std::vector<NamedPath> StudyFiles::outputRoles(const std::string& sourceTable,
                                               const std::vector<NamedPath>& tools) const
{
    std::vector<NamedPath> roles{{"výstupní DBF soubor s výsledky", output},
                                 {"výstupní textový protokol", protocol},
                                 {"výstupní DBF soubor se zdroji", sourceTable}};
    roles.insert(roles.end(), tools.begin(), tools.end());
    roles.push_back({"soubor s průběhem výpočtu", log});
    return roles;
}

StudyRun::StudyRun(const RunContext& ctx)
    : table(logSink())
    , m_ctx(ctx)
    , m_sourceTable(logSink())
{ }

ToolStatus StudyRun::fail(std::string_view text, std::string_view caption) const
{
    m_ctx.reporter.message(Severity::Error, caption, text);
    return ToolStatus::Failed;
}

void StudyRun::logLine(std::string_view text)
{
    if (m_log)
        m_log.write(text);
}

ResultTableWriter::LogSink StudyRun::logSink()
{
    return [this](std::string_view line) { logLine(std::string(line) + "\n"); };
}

ToolStatus StudyRun::claimOutputs(const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs,
                                  const std::vector<std::string>& locked, const std::vector<std::string>& confirmed)
{
    if (!refuseSharedFiles(m_ctx.reporter, inputs, outputs))
        return ToolStatus::Failed;
    if (!m_lock.acquire(m_ctx.reporter, locked))
        return ToolStatus::Failed;
    for (const std::string& path : confirmed)
        if (!m_ctx.confirmOverwrite(path))
            return ToolStatus::Declined;
    return ToolStatus::Done;
}

bool StudyRun::readInputs(const StudyFiles& f)
{
    // A file that exists but is no such file is named with its own problem.
    auto points = readPointsFile(f.points);
    if (!points) {
        fail(fileExists(f.points) ? points.problem().text : "Vstupní soubor s refer. body nelze otevřít !");
        return false;
    }
    study.points = std::move(*points);
    auto sources = readSourcesFile(f.sources);
    if (!sources) {
        fail(fileExists(f.sources) ? sources.problem().text : "Vstupní soubor se zdroji nelze otevřít !");
        return false;
    }
    study.sources = std::move(sources->records);
    m_dustSources = sources->dust;
    return readCoefficientMatrices(f.theta, f.delta, f.zmax, study.matrices, m_ctx.reporter);
}

bool StudyRun::openOutputs(const StudyFiles& f, const std::vector<DbfField>& fields)
{
    if (!m_log.open(f.log, "w")) {
        fail("Výstupní soubor s průběhem výpočtu nelze otevřít !");
        return false;
    }
    date = DbfDate::todayUtc();
    if (!table.open(f.output, fields, static_cast<std::uint32_t>(study.points.size()), date)) {
        fail("Výstupní DBF soubor s vypočtenými výsledky nelze otevřít !");
        return false;
    }
    if (!m_protocol.open(f.protocol)) {
        fail("Výstupní soubor s vypočtenými výsledky nelze otevřít !");
        return false;
    }
    return true;
}

bool StudyRun::openSourceTable(const std::string& path, std::string_view failure)
{
    if (m_sourceTable.open(path, sourceTableFields(), static_cast<std::uint32_t>(study.sources.size()), date))
        return true;
    fail(failure);
    return false;
}

bool StudyRun::readClusters(const std::string& path, std::string_view unreadable)
{
    auto clusters = readClustersFile(path, unreadable);
    if (!clusters) {
        fail(clusters.problem());
        return false;
    }
    study.clusters = std::move(*clusters);
    return true;
}

ToolStatus StudyRun::confirmSourceKind(bool dustRun)
{
    if (m_dustSources == dustRun)
        return ToolStatus::Done;
    const std::string question = sourceKindQuestion(dustRun);
    if (m_ctx.unattended)
        return fail(question);
    if (m_ctx.ask({"Ovardix", question, Buttons::YesNo, Answer::Yes}) != Answer::Yes)
        return ToolStatus::Declined;
    return ToolStatus::Done;
}

void StudyRun::writeRow(ResultTableWriter& t, std::span<const double> values)
{
    m_written = m_written && t.writeRow(values);
}

bool StudyRun::commit(ResultTableWriter* extra)
{
    for (std::size_t i = 0; i < study.sources.size() && m_written; ++i) {
        const SourceRecord& r = study.sources[i];
        writeRow(m_sourceTable, sourceRowValues({r.number, r.x, r.y, r.z, r.type, r.cluster, r.group, r.values}));
    }
    if (!m_written || !m_protocol.commit() || !table.finish() || !m_sourceTable.finish() ||
        (extra && !extra->finish())) {
        fail("Výstupní DBF soubor s vypočtenými výsledky nelze zapsat!");
        return false;
    }
    return true;
}

ToolStatus runStudy(const RunContext& ctx, const std::function<ToolStatus(StudyRun&)>& body)
{
    StopReasonReporter reasons(ctx.reporter);
    StudyRun run(ctx.withReporter(reasons));
    ToolStatus status = body(run);
    reasons.logStopReason(run.m_log, status);
    return status;
}

}  // namespace ovd
