#pragma once
// The frame shared by the concentration and the daily tools: outputs claimed, the study's
// inputs read and its outputs opened in the order of the run (each failure with its own
// message), the source-kind question, the source table written, every output committed
// together, and the reason of a stop written into the run log.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/outcome.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/tool.h"
#include "model/concentration_inputs.h"
#include "model/result_tables.h"

namespace ovd {

// The files of a study run as its settings name them.
struct StudyFiles {
    std::string points, sources, theta, delta, zmax;
    std::string output;    // the result table
    std::string protocol;  // the text protocol beside it
    std::string log;       // the run log

    // A tool's settings name points, sources, theta, delta, zmax and output; the protocol
    // lies beside the output and the run log `logName` in its folder.
    template <class Settings> static StudyFiles of(const Settings& s, std::string_view logName)
    {
        return {s.points,
                s.sources,
                s.theta,
                s.delta,
                s.zmax,
                s.output,
                derivedName(s.output, "vst"),
                folderOf(s.output) + std::string(logName)};
    }
    // The roles of the files for refuseSharedFiles: the study's own, with the tool's between
    // the matrices and the clusters file (empty when not used), and between the source table
    // and the run log.
    std::vector<NamedPath> inputRoles(const std::vector<NamedPath>& tools, const std::string& clusters) const;
    std::vector<NamedPath> outputRoles(const std::string& sourceTable, const std::vector<NamedPath>& tools) const;
};

class StudyRun {
public:
    explicit StudyRun(const RunContext& ctx);
    StudyRun(const StudyRun&) = delete;
    StudyRun& operator=(const StudyRun&) = delete;

    const RunContext& context() const { return m_ctx; }
    Reporter& reporter() const { return m_ctx.reporter; }
    ToolStatus fail(std::string_view text, std::string_view caption = kCaptionError) const;
    ToolStatus fail(const Problem& problem) const { return fail(problem.text, problem.caption); }
    // Appends to the run log once it is open.
    void logLine(std::string_view text);
    // A run that reached its end closes its log before it says so.
    void closeLog() { m_log.close(); }
    // For table writers: each overflow line goes into the run log.
    ResultTableWriter::LogSink logSink();

    // Refuses an output that is an input or another output, locks `locked` against other
    // runs and asks before overwriting each of `confirmed`. Done lets the run go on.
    ToolStatus claimOutputs(const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs,
                            const std::vector<std::string>& locked, const std::vector<std::string>& confirmed);
    // Reference points, sources and the three matrices into `study`; false after the message.
    bool readInputs(const StudyFiles&);
    // The run log, the result table with `fields` and the protocol; false after the message.
    bool openOutputs(const StudyFiles&, const std::vector<DbfField>& fields);
    bool openSourceTable(const std::string& path, std::string_view failure);
    // The clusters file into `study`; `unreadable` is the run's wording for a file it cannot read.
    bool readClusters(const std::string& path, std::string_view unreadable);
    // A source file of the other kind: unattended it stops the run, else the user decides.
    ToolStatus confirmSourceKind(bool dustRun);

    // The protocol's text goes first; rows follow while `written` holds.
    void writeProtocol(const std::string& text) { m_written = m_protocol.write(text); }
    bool written() const { return m_written; }
    void writeRow(ResultTableWriter& table, std::span<const double> values);
    // The source table's rows, then the protocol and every table made final (`extra` last).
    // False after the message.
    bool commit(ResultTableWriter* extra = nullptr);

    ConcentrationStudy study;
    DbfDate date;
    ResultTableWriter table;  // the results, one row per reference point

private:
    RunContext m_ctx;
    File m_log;
    OutputLock m_lock;
    AtomicOutput m_protocol;
    ResultTableWriter m_sourceTable;
    bool m_dustSources = false;  // the kind of the source file read
    bool m_written = false;

    friend ToolStatus runStudy(const RunContext&, const std::function<ToolStatus(StudyRun&)>&);
};

// Runs `body` on a StudyRun that notes why a run stopped and writes it into the run log.
ToolStatus runStudy(const RunContext&, const std::function<ToolStatus(StudyRun&)>& body);

}  // namespace ovd
