#include "prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace ovd::ui {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

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
        QMessageBox::Icon icon = s == Severity::Error     ? QMessageBox::Critical
                                 : s == Severity::Warning ? QMessageBox::Warning
                                                          : QMessageBox::Information;
        QMessageBox box(icon, qs(caption), qs(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

    Answer ask(const Question& q) override
    {
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
        if (q.buttons == Buttons::YesNoCancel)
            buttons |= QMessageBox::Cancel;
        QMessageBox box(q.buttons == Buttons::YesNoCancel ? QMessageBox::Question : QMessageBox::Warning,
                        qs(q.caption), qs(q.text), buttons, QApplication::activeWindow());
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

MessageBoxPrompter g_messageBoxes;
Prompter* g_current = &g_messageBoxes;

}  // namespace

Prompter& prompter()
{
    return *g_current;
}

Prompter* setPrompter(Prompter* p)
{
    Prompter* previous = g_current == &g_messageBoxes ? nullptr : g_current;
    g_current = p ? p : &g_messageBoxes;
    return previous;
}

}  // namespace ovd::ui
