#pragma once
// The message-box Reporter of the main program's own windows (the map window): its messages
// and questions go through the prompter, as the tool dialogs' do, so a test's script answers
// them and a run without a screen writes them to stderr.
#include "prompter.h"
#include "ui_common/message_box_reporter.h"

namespace ovd::mainui {

class PrompterReporter : public MessageBoxReporter {
public:
    PrompterReporter(Prompter& prompter, QWidget* parent, std::function<void(const QString&)> status = {})
        : MessageBoxReporter(parent, std::move(status))
        , m_prompter(prompter)
    { }
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        m_prompter.message(s, caption, text);
    }
    Answer ask(const Question& q) override { return m_prompter.ask(q); }

private:
    Prompter& m_prompter;
};

}  // namespace ovd::mainui
