#pragma once
// Why a computation stopped, for the last line of its run log: the run log is how the user
// learns what went wrong, also when the message box is long gone. A run that reaches its
// end writes nothing more, so its log stays as it always was.
#include <string>

#include "common/file_io.h"
#include "common/reporter_wrapper.h"
#include "common/tool.h"

namespace ovd {

// Forwards everything to the tool's reporter and keeps the last error message.
class StopReasonReporter : public ReporterWrapper {
public:
    using ReporterWrapper::ReporterWrapper;
    void message(Severity s, std::string_view caption, std::string_view text) override;
    Answer ask(const Question& q) override;

    // Appends the reason to an open log when the run did not end with Done.
    void logStopReason(File& log, ToolStatus) const;

private:
    std::string m_lastError;
    bool m_declined = false;  // a question was answered No
};

}  // namespace ovd
