#pragma once
// Where the main program's message boxes and questions go: QMessageBox normally, a script
// in the GUI tests. The program hands its prompter to its windows in its services
// (Services::prompter); called on the GUI thread only.
#include <functional>

#include "app/tool_registry.h"
#include "common/reporter.h"

namespace ovd::mainui {

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(Severity, std::string_view caption, std::string_view text) = 0;
    virtual Answer ask(const Question&) = 0;
};

// The system's prompter: message boxes, or on a platform without a screen (offscreen,
// minimal) lines on stderr with each question's default answer.
Prompter& systemPrompter();
// The prompter the program handed its windows, else the system's.
inline Prompter& prompterOf(const Services& s)
{
    return s.prompter ? *s.prompter : systemPrompter();
}

}  // namespace ovd::mainui
