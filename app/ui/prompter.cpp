#include "prompter.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

#include "common/console_reporter.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

QMessageBox::StandardButton buttonOf(Answer a)
{
    switch (a) {
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::No;
}

class MessageBoxPrompter : public Prompter {
public:
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        QMessageBox::Icon icon = s == Severity::Error ? QMessageBox::Critical
            : s == Severity::Warning                  ? QMessageBox::Warning
                                                      : QMessageBox::Information;
        QMessageBox box(icon, qs(caption), qs(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

    Answer ask(const Question& q) override
    {
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
        if (q.buttons == Buttons::YesNoCancel)
            buttons |= QMessageBox::Cancel;
        QMessageBox box(q.buttons == Buttons::YesNoCancel ? QMessageBox::Question : QMessageBox::Warning, qs(q.caption),
                        qs(q.text), buttons, QApplication::activeWindow());
        box.setDefaultButton(buttonOf(q.defaultAnswer));
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default:  // the window closed with Escape: the safe answer of the question
            return q.buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
        }
    }
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

MessageBoxPrompter g_messageBoxes;
StderrPrompter g_stderr;
Prompter* g_current = nullptr;  // the default, chosen by the platform

}  // namespace

Prompter& prompter()
{
    if (g_current)
        return *g_current;
    if (withoutScreen())
        return g_stderr;
    return g_messageBoxes;
}

Prompter* setPrompter(Prompter* p)
{
    Prompter* previous = g_current;
    g_current = p;
    return previous;
}

}  // namespace ovd::mainui
