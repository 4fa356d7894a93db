#include "model/run_stop_reason.h"

namespace ovd {

void StopReasonReporter::message(Severity s, std::string_view caption, std::string_view text)
{
    if (s == Severity::Error)
        m_lastError = std::string(text);
    inner().message(s, caption, text);
}

Answer StopReasonReporter::ask(const Question& q)
{
    Answer a = inner().ask(q);
    m_declined = a != Answer::Yes;
    return a;
}

void StopReasonReporter::logStopReason(File& log, ToolStatus status) const
{
    if (status == ToolStatus::Done || !log.isOpen())
        return;
    std::string line;
    if (inner().cancelled())
        line = "Výpočet byl přerušen.";
    else if (status == ToolStatus::Failed && !m_lastError.empty())
        line = "Výpočet byl zastaven: " + m_lastError;
    else if (status == ToolStatus::Declined && m_declined)
        line = "Výpočet byl ukončen odpovědí Ne.";
    else
        line = "Výpočet byl zastaven.";
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    log.write(line + "\n");
}

}  // namespace ovd
