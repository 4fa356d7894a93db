#pragma once
// The editors' Reporter: message boxes and questions on top of a window; status texts go
// to an optional callback (a status bar), with the window kept drawn meanwhile.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "common/reporter.h"

namespace ovd {

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
