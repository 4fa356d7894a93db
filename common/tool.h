#pragma once
// What every tool gets and returns.
#include "reporter.h"

namespace ovd {

enum class ToolStatus {
    Done,      // ran to its end
    Failed,    // stopped on an error (already reported)
    Declined,  // stopped on a No answer
    Unusable,  // a check found the files unusable
};

struct RunContext {
    Reporter& reporter;
    bool unattended = false;
};

}  // namespace ovd
