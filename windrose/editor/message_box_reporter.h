#pragma once
// The editor's Reporter: message boxes and questions on the given window.
#include <QWidget>

#include "common/reporter.h"

namespace ovd {

class MessageBoxReporter : public Reporter {
public:
    explicit MessageBoxReporter(QWidget* parent) : m_parent(parent) {}
    void message(Severity, std::string_view caption, std::string_view text) override;
    Answer ask(const Question&) override;
    void status(int, std::string_view) override {}
    void progress(long, long) override {}

private:
    QWidget* m_parent;
};

}  // namespace ovd
