#pragma once
// The one list of tools: ovardix-cli and the main program's menu are both built from it.
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "common/profile.h"
#include "common/project.h"
#include "common/tool.h"
#include "result_table.h"

namespace ovd {

struct ToolCall {
    Project* project;  // null for commands without a project
    const Profile& profile;
    std::vector<std::string> args;  // what follows the command (and the project)
    RunContext context;
    std::ostream& out;       // table rows and values a command prints
    std::string usageError;  // set by a command whose arguments are wrong
    // Set by the main program: table tools put their tables here instead of printing them.
    std::vector<ResultTable>* tables = nullptr;
    // Set by ovardix-cli: shows a step's final status line; the main road calls it after
    // each of its steps (the runner itself after the command).
    std::function<void()> stepFinished;
};

// Whether a command works on a project file, and whether that file must exist already.
enum class ProjectUse { None, Existing, MayCreate };

struct ToolEntry {
    const char* command;    // the ovardix-cli command
    const char* arguments;  // its arguments after the project, for the help text
    const char* summary;    // what it does, one line
    ProjectUse project;
    std::size_t minArgs, maxArgs;
    ToolStatus (*run)(ToolCall&);
};

std::span<const ToolEntry> toolRegistry();
const ToolEntry* findTool(std::string_view command);

}  // namespace ovd
