#pragma once
// Renaming the temporary files of an output set over their targets so that a process killed
// in the middle never leaves the set half old, half new.
#include <string>
#include <vector>

namespace ovd {

struct RenameStep {
    const char* from;  // the written temporary file
    const char* to;    // the target it replaces
};

// Renames every step's `from` over its `to`, removing a `from` that cannot be renamed; one
// flag per step (1 = renamed). Before the first rename of several, a journal of every step
// ("<to>.ovdjournal" beside each target, locked while it is used) is put on the disk: when
// the renaming process is killed between two renames, the next run that writes any of the
// targets finishes the set from it. On POSIX several steps are moreover renamed by a child
// process with every signal blocked, so a kill of this process alone (kill -9, the OOM
// killer) never interrupts the set; without a child (fork refused) they are renamed here.
// Windows has no such child: there the journal alone covers a kill. Every `from` must be
// complete on the disk before the call.
std::vector<char> renameTogether(const std::vector<RenameStep>& steps);

// Finishes the renames of a set that `target` belongs to when a killed run left its journal:
// every temporary file still there is renamed over its target, then the journals go. A
// journal that a live run holds, one cut short (written before any rename) and steps that
// are not temporary files beside their targets are not acted on.
void finishInterruptedRenames(const std::string& target);

// Tests only: called by the renaming process after each rename but the last.
void setRenameHookForTests(void (*hook)());

}  // namespace ovd
