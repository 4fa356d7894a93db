#pragma once
// What every tool gets and returns.
#include <string>

#include "outcome.h"
#include "reporter.h"

namespace ovd {

class GisServices;

enum class ToolStatus {
    Done,      // ran to its end
    Failed,    // stopped on an error (already reported)
    Declined,  // stopped on a No answer
    Unusable,  // a check found the files unusable
};

// Reports the problem that stopped a run; the run's status.
inline ToolStatus failedOn(const Problem& problem, Reporter& r)
{
    problem.report(r);
    return ToolStatus::Failed;
}

// The unattended rule: an overwrite is answered Yes, any other question No.
Answer unattendedAnswer(const Question&);

struct RunContext {
    Reporter& reporter;
    bool unattended = false;
    // The project file whose settings the run takes and the per-user profile (empty: none).
    // No output may be either of them, and an overwrite that no person answers is held to
    // the project's folder (see confirmOverwrite).
    std::string projectFile = {};
    std::string profileFile = {};
    // The overwrite question is answered by an option (--yes), not by a person.
    bool answeredByOption = false;
    // The GIS library the program hands its tools (common/gis_services.h); null: none.
    const GisServices* gis = nullptr;

    // The same run reporting through `other`.
    RunContext withReporter(Reporter& other) const;

    // Questions of a run go through here: unattended, an overwrite is answered Yes and any
    // other question No, and nothing is shown.
    Answer ask(const Question&) const;
    // True when the file may be written: it does not exist, the run is unattended, or the
    // user answered Yes to "Soubor ... již existuje.". Where no person answers, an existing
    // file outside the project file's folder (and its subfolders) is replaced only when it
    // is of a kind the system writes; any other is refused with a message naming the file
    // and the project key that names it.
    bool confirmOverwrite(const std::string& path) const;
    // The check of confirmOverwrite where no person answers: false after the message.
    bool mayReplaceUnasked(const std::string& path) const;
};

}  // namespace ovd
