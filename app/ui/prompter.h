#pragma once
// Where the main program's message boxes and questions go: QMessageBox normally, a script
// in the GUI tests. Called on the GUI thread only.
#include <functional>

#include "common/reporter.h"

namespace ovd::mainui {

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(Severity, std::string_view caption, std::string_view text) = 0;
    virtual Answer ask(const Question&) = 0;
};

// The prompter in use: the one a test installed, else message boxes, or on a platform
// without a screen (offscreen, minimal) lines on stderr with each question's default answer.
Prompter& prompter();
// Installs a prompter (null restores the message boxes); returns the previous one.
Prompter* setPrompter(Prompter*);

}  // namespace ovd::mainui
