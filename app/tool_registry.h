#pragma once
// The one list of tools: ovardix-cli and the main program's menu are both built from it.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/parameters.h"
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
    ResultSink& result;      // the tables and value lines the command gives
    std::string usageError = {};  // set by a command whose arguments are wrong
    // Set by ovardix-cli: shows a step's final status line; the main road calls it after
    // each of its steps (the runner itself after the command).
    std::function<void()> stepFinished = {};
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
    // The project keys of the tool's settings (none for tools without a project).
    std::vector<ParamInfo> (*params)() = nullptr;
};

std::span<const ToolEntry> toolRegistry();
const ToolEntry* findTool(std::string_view command);
// The declared keys of a command's tool; empty for an unknown command or one without keys.
std::vector<ParamInfo> toolParams(std::string_view command);

}  // namespace ovd
