#pragma once
// Why a computation stopped, for the last line of its run log: the run log is how the user
// learns what went wrong, also when the message box is long gone. A run that reaches its
// end writes nothing more, so its log stays as it always was.
#include <string>

#include "common/file_io.h"
#include "common/tool.h"

namespace ovd {

// Forwards everything to the tool's reporter and keeps the last error message.
class StopReasonReporter : public Reporter {
public:
    explicit StopReasonReporter(Reporter& inner)
        : m_inner(inner)
    { }
    void message(Severity s, std::string_view caption, std::string_view text) override;
    Answer ask(const Question& q) override;
    void status(int line, std::string_view text) override { m_inner.status(line, text); }
    void progress(long value, long maximum) override { m_inner.progress(value, maximum); }
    void title(std::string_view t) override { m_inner.title(t); }
    bool cancelled() const override { return m_inner.cancelled(); }

    // Appends the reason to an open log when the run did not end with Done.
    void logStopReason(File& log, ToolStatus) const;

private:
    Reporter& m_inner;
    std::string m_lastError;
    bool m_declined = false;  // a question was answered No
};

}  // namespace ovd
