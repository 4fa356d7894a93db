#pragma once
// A command on a project runs in the project file's folder, as every program does: the
// project's relative paths and the files placed "in the current folder" are found there.
#include <span>
#include <string>
#include <vector>

#include "common/profile.h"
#include "common/project.h"
#include "common/reporter.h"
#include "command_options.h"

namespace ovd {

// Enters the project's folder and opens the project and the profile again from there; the
// values that the command's declaration marks as files (positional `args`, after the project,
// and `options`), typed in the folder the command was started in, are rebased onto it. False after the message when the
// folder cannot be entered; a project whose folder does not exist yet stays where it is.
bool enterStudyFolder(Project& project, Profile& profile, std::vector<std::string>& args, CommandArgs& options,
                      std::string_view command, std::span<const OptionSpec> declared, Reporter&);

}  // namespace ovd
