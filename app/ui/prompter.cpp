#include "prompter.h"

#include <QApplication>

#include <cstdio>

#include "common/console_reporter.h"
#include "ui_common/message_box_reporter.h"

namespace ovd::mainui {

namespace {

class MessageBoxPrompter : public Prompter {
public:
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        showMessageBox(QApplication::activeWindow(), s, caption, text);
    }
    Answer ask(const Question& q) override { return askMessageBox(QApplication::activeWindow(), q); }
};

// Without a screen (the offscreen or minimal platform, as in a scheduled "-f" run) nobody
// could answer a message box and the program would wait forever: messages go to stderr
// as "caption: text", as ovardix-cli writes them, and each question takes its default.
class StderrPrompter : public Prompter {
public:
    void message(Severity, std::string_view caption, std::string_view text) override
    {
        std::string line = ConsoleReporter::formatMessage(caption, text) + "\n";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    }

    Answer ask(const Question& q) override
    {
        message(Severity::Warning, q.caption, q.text);
        return q.defaultAnswer;
    }
};

bool withoutScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

}  // namespace

Prompter& systemPrompter()
{
    static MessageBoxPrompter messageBoxes;
    static StderrPrompter lines;
    if (withoutScreen())
        return lines;
    return messageBoxes;
}

}  // namespace ovd::mainui
