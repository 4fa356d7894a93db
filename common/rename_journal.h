#pragma once
// The journal of an output set's renames ("<target>.ovdjournal" beside each target), shared by
// the POSIX and Windows sides of rename_together.h.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rename_together.h"

namespace ovd {

inline constexpr std::string_view kJournalSuffix = ".ovdjournal";

std::string journalOf(const std::string& target);
// The journal's bytes: a header, one "<from>\t<to>" line per step, an end line.
std::string journalText(const std::vector<RenameStep>& steps);

struct JournalSteps {
    std::vector<std::pair<std::string, std::string>> steps;  // from, to: those read before a wrong line
    bool valid = false;  // whole (not cut short) and every step a temporary file beside its target
};
JournalSteps readJournalText(const std::string& text);

// Tests only: the hook setRenameHookForTests set, or null.
void (*renameHook())();

}  // namespace ovd
