#include "console_reporter.h"

#include <unistd.h>

#include <cctype>

namespace ovd {

ConsoleReporter::ConsoleReporter(AnswerPolicy policy, bool quiet, std::FILE* err, std::FILE* in,
                                 const std::atomic<bool>* stopRequest)
    : m_policy(policy)
    , m_quiet(quiet)
    , m_err(err)
    , m_in(in)
    , m_stopRequest(stopRequest)
{
    m_live = !quiet && isatty(fileno(err));
    m_inTerminal = isatty(fileno(in)) && isatty(fileno(err));
}

ConsoleReporter::~ConsoleReporter()
{
    clearLive();
}

std::string ConsoleReporter::formatMessage(std::string_view caption, std::string_view text)
{
    std::string out;
    if (!caption.empty()) {
        out.append(caption);
        out.append(": ");
    }
    for (char c : text) {
        out.push_back(c);
        if (c == '\n')
            out.append("    ");
    }
    return out;
}

void ConsoleReporter::message(Severity, std::string_view caption, std::string_view text)
{
    clearLive();
    // A message says more than the status lines before it: they are no longer final.
    m_statusPending[0] = m_statusPending[1] = false;
    std::string line = formatMessage(caption, text);
    std::fprintf(m_err, "%s\n", line.c_str());
    std::fflush(m_err);
}

static const char* buttonHint(Buttons b)
{
    return b == Buttons::YesNoCancel ? " [a = ano / n = ne / z = zrušit] " : " [a = ano / n = ne] ";
}

static Answer stopAnswer(Buttons b)
{
    return b == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
}

Answer ConsoleReporter::ask(const Question& q)
{
    if (cancelled())
        return stopAnswer(q.buttons);
    if (m_policy == AnswerPolicy::AlwaysYes)
        return Answer::Yes;
    clearLive();
    std::string line = formatMessage(q.caption, q.text);
    if (m_policy == AnswerPolicy::AlwaysNo) {
        std::fprintf(m_err, "%s\n", line.c_str());
        std::fflush(m_err);
        return Answer::No;
    }
    if (!m_inTerminal) {
        // Nobody to ask: the question's default button decides.
        std::fprintf(m_err, "%s\n", line.c_str());
        return q.defaultAnswer;
    }
    for (;;) {
        std::fprintf(m_err, "%s%s", line.c_str(), buttonHint(q.buttons));
        std::fflush(m_err);
        char buf[64];
        if (!std::fgets(buf, sizeof buf, m_in)) {
            // A stop request interrupts the wait for the answer.
            if (cancelled()) {
                std::clearerr(m_in);
                std::fputc('\n', m_err);
                return stopAnswer(q.buttons);
            }
            return q.defaultAnswer;
        }
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(buf[0])));
        if (c == '\n' || c == '\0')
            return q.defaultAnswer;
        if (c == 'a' || c == 'y')
            return Answer::Yes;
        if (c == 'n')
            return Answer::No;
        if ((c == 'z' || c == 'c') && q.buttons == Buttons::YesNoCancel)
            return Answer::Cancel;
    }
}

void ConsoleReporter::status(int line, std::string_view text)
{
    if (line < 0 || line > 1)
        return;
    m_status[line] = std::string(text);
    m_statusPending[line] = !text.empty();
    drawLive(false);
}

std::vector<std::string> ConsoleReporter::showFinalStatus()
{
    clearLive();
    std::vector<std::string> shown;
    for (int i = 0; i < 2; ++i) {
        if (m_statusPending[i]) {
            if (!m_quiet)
                std::fprintf(m_err, "%s\n", m_status[i].c_str());
            shown.push_back(m_status[i]);
        }
        m_statusPending[i] = false;
    }
    std::fflush(m_err);
    return shown;
}

void ConsoleReporter::progress(long value, long maximum)
{
    m_value = value;
    m_maximum = maximum;
    drawLive(false);
}

void ConsoleReporter::drawLive(bool force)
{
    if (!m_live)
        return;
    auto now = std::chrono::steady_clock::now();
    if (!force && m_liveShown && now - m_lastDraw < std::chrono::milliseconds(200))
        return;
    m_lastDraw = now;
    std::string text = m_status[0];
    if (!m_status[1].empty())
        text += (text.empty() ? "" : "  ") + m_status[1];
    if (m_maximum > 0)
        text += "  " + std::to_string(m_value * 100 / m_maximum) + " %";
    std::fprintf(m_err, "\r\033[K%s", text.c_str());
    std::fflush(m_err);
    m_liveShown = true;
}

void ConsoleReporter::clearLive()
{
    if (m_liveShown) {
        std::fprintf(m_err, "\r\033[K");
        std::fflush(m_err);
        m_liveShown = false;
    }
}

}  // namespace ovd
