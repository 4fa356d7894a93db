#pragma once
// Renaming the temporary files of an output set over their targets so that a process killed
// in the middle never leaves the set half old, half new.
#include <vector>

namespace ovd {

struct RenameStep {
    const char* from;  // the written temporary file
    const char* to;    // the target it replaces
};

// Renames every step's `from` over its `to`, removing a `from` that cannot be renamed; one
// flag per step (1 = renamed). Several steps are renamed by a child process with every
// signal blocked: when this process is killed between two renames (kill -9, the OOM killer),
// the child still finishes the set. Without a child (fork refused) they are renamed here.
std::vector<char> renameTogether(const std::vector<RenameStep>& steps);

// Tests only: called by the renaming process after each rename but the last.
void setRenameHookForTests(void (*hook)());

}  // namespace ovd
