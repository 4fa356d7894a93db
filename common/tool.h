#pragma once
// What every tool gets and returns.
#include <string>

#include "reporter.h"

namespace ovd {

enum class ToolStatus {
    Done,      // ran to its end
    Failed,    // stopped on an error (already reported)
    Declined,  // stopped on a No answer
    Unusable,  // a check found the files unusable
};

// The unattended rule: an overwrite is answered Yes, any other question No.
Answer unattendedAnswer(const Question&);

struct RunContext {
    Reporter& reporter;
    bool unattended = false;

    // Questions of a run go through here: unattended, an overwrite is answered Yes and any
    // other question No, and nothing is shown.
    Answer ask(const Question&) const;
    // True when the file may be written: it does not exist, the run is unattended, or the
    // user answered Yes to "Soubor ... již existuje.".
    bool confirmOverwrite(const std::string& path) const;
};

}  // namespace ovd
