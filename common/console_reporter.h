#pragma once
// Reporter for the command line: messages on stderr as "caption: text", questions
// answered by policy or asked on the terminal, status and progress on a terminal only.
#include <chrono>
#include <cstdio>
#include <string>

#include "reporter.h"

namespace ovd {

enum class AnswerPolicy { Ask, AlwaysYes, AlwaysNo };

class ConsoleReporter : public Reporter {
public:
    ConsoleReporter(AnswerPolicy policy, bool quiet, std::FILE* err = stderr, std::FILE* in = stdin);
    ~ConsoleReporter() override;

    void message(Severity, std::string_view caption, std::string_view text) override;
    Answer ask(const Question&) override;
    void status(int line, std::string_view text) override;
    void progress(long value, long maximum) override;

    // "caption: text" with every further line of the text indented.
    static std::string formatMessage(std::string_view caption, std::string_view text);

private:
    void drawLive(bool force);
    void clearLive();

    AnswerPolicy m_policy;
    bool m_live;  // status and progress drawn on an interactive terminal
    std::FILE* m_err;
    std::FILE* m_in;
    bool m_inTerminal;
    std::string m_status[2];
    long m_value = 0, m_maximum = 0;
    bool m_liveShown = false;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

}  // namespace ovd
