#include "message_box_reporter.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "dialogs.h"
#include "qt_text.h"

namespace ovd {

QWidget* MessageBoxReporter::parent() const
{
    // A hidden window would leave the box in the screen's corner.
    return m_parent && m_parent->isVisible() ? m_parent.data() : dialogParent();
}

void showMessageBox(QWidget* parent, Severity severity, std::string_view caption, std::string_view text)
{
    QMessageBox::Icon icon = severity == Severity::Error ? QMessageBox::Critical
        : severity == Severity::Warning                  ? QMessageBox::Warning
                                                         : QMessageBox::Information;
    QMessageBox box(icon, qs(caption), qs(text), QMessageBox::Ok, parent);
    box.exec();
}

Answer askMessageBox(QWidget* parent, const Question& q)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (q.buttons == Buttons::YesNoCancel)
        buttons |= QMessageBox::Cancel;
    const bool warning = q.kind == QuestionKind::Overwrite || q.kind == QuestionKind::Restart;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, qs(q.caption), qs(q.text), buttons, parent);
    box.setDefaultButton(q.defaultAnswer == Answer::Yes      ? QMessageBox::Yes
                             : q.defaultAnswer == Answer::No ? QMessageBox::No
                                                             : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return q.buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

void MessageBoxReporter::message(Severity severity, std::string_view caption, std::string_view text)
{
    showMessageBox(parent(), severity, caption, text);
}

Answer MessageBoxReporter::ask(const Question& q)
{
    return askMessageBox(parent(), q);
}

void MessageBoxReporter::status(int, std::string_view text)
{
    if (!m_status)
        return;
    m_status(qs(text));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ovd
