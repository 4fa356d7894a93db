#pragma once
// A tool's result as JSON, so that another program can read a check's report: its status,
// the messages it gave, its tables (columns, rows and each row's mark) and its lines.
#include <span>
#include <string>
#include <vector>

#include "common/reporter_wrapper.h"
#include "result_table.h"

namespace ovd {

struct ToolMessage {
    Severity severity;
    std::string caption;
    std::string text;
};

// Passes everything on and keeps a copy of every message.
class MessageRecorder : public ReporterWrapper {
public:
    using ReporterWrapper::ReporterWrapper;
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        messages.push_back({s, std::string(caption), std::string(text)});
        ReporterWrapper::message(s, caption, text);
    }

    std::vector<ToolMessage> messages;
};

// One JSON object on one line. Text that is not valid UTF-8 is given as Windows-1250.
std::string resultJson(const ToolResult&, std::span<const ToolMessage>);
// The result of a command that was not run because its arguments were wrong: status "usage"
// and the one message that says why.
std::string usageJson(std::string_view text);
std::string_view statusName(ToolStatus);  // "done", "failed", "declined", "unusable"

}  // namespace ovd
