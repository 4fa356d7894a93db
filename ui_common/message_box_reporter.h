#pragma once
// Message boxes of all three programs: one mapping of severities to icons and of questions
// to buttons, and the editors' Reporter built on it (boxes on top of a window; status texts
// to an optional callback, a status bar, with the window kept drawn meanwhile).
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "common/reporter.h"

namespace ovd {

// An error shows the stop icon, a warning the exclamation mark, anything else the information icon.
void showMessageBox(QWidget* parent, Severity, std::string_view caption, std::string_view text);
// Yes/No or Yes/No/Cancel with the question's default; the exclamation mark for the warnings
// before overwriting a file or resuming a run, the question mark for every other question.
// Escape gives the safe answer: Cancel where there is one, else No.
Answer askMessageBox(QWidget* parent, const Question&);

class MessageBoxReporter : public Reporter {
public:
    explicit MessageBoxReporter(QWidget* parent, std::function<void(const QString&)> status = {})
        : m_parent(parent)
        , m_status(std::move(status))
    { }
    void message(Severity, std::string_view caption, std::string_view text) override;
    Answer ask(const Question&) override;
    void status(int line, std::string_view text) override;
    void progress(long, long) override { }

private:
    QWidget* parent() const;

    QPointer<QWidget> m_parent;
    std::function<void(const QString&)> m_status;
};

}  // namespace ovd
