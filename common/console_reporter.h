#pragma once
// Reporter for the command line: messages on stderr as "caption: text", questions
// answered by policy or asked on the terminal, status and progress on a terminal only.
// A stop request (Ctrl+C in ovardix-cli) shows as cancelled() and answers every later
// question with No (Cancel where offered), so the tool stops at its next check. Questions
// answered by --no are printed too, so the log of a run says what was declined.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "reporter.h"

namespace ovd {

enum class AnswerPolicy { Ask, AlwaysYes, AlwaysNo };

class ConsoleReporter : public Reporter {
public:
    // `stopRequest`: a flag set from outside (a signal handler) to stop the running tool.
    ConsoleReporter(AnswerPolicy policy, bool quiet, std::FILE* err = stderr, std::FILE* in = stdin,
                    const std::atomic<bool>* stopRequest = nullptr);
    ~ConsoleReporter() override;

    void message(Severity, std::string_view caption, std::string_view text) override;
    Answer ask(const Question&) override;
    void status(int line, std::string_view text) override;
    void progress(long value, long maximum) override;
    bool cancelled() const override { return m_stopRequest && m_stopRequest->load(); }

    // Prints (unless quiet) the status lines a tool left after its last message, as its
    // dialog would go on showing them, and forgets them: a tool's final status.
    // Returns the lines it printed (or would print, when quiet).
    std::vector<std::string> showFinalStatus();

    // "caption: text" with every further line of the text indented.
    static std::string formatMessage(std::string_view caption, std::string_view text);

private:
    void drawLive(bool force);
    void clearLive();

    AnswerPolicy m_policy;
    bool m_quiet;
    bool m_live;  // status and progress drawn on an interactive terminal
    std::FILE* m_err;
    std::FILE* m_in;
    const std::atomic<bool>* m_stopRequest;
    bool m_inTerminal;
    std::string m_status[2];
    bool m_statusPending[2] = {false, false};  // set after the last message
    long m_value = 0, m_maximum = 0;
    bool m_liveShown = false;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

}  // namespace ovd
