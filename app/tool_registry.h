#pragma once
// The one list of tools: ovardix-cli and the main program's menu are both built from it.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "command_options.h"
#include "common/parameters.h"
#include "common/profile.h"
#include "common/project.h"
#include "common/tool.h"
#include "result_table.h"

namespace ovd {

class GisServices;   // common/gis_services.h
class MapRenderer;   // map_settings/map_request.h
class ReportWriter;  // report_commands.h
namespace mainui {
class Prompter;  // app/ui/prompter.h
}

// What a program hands its tools at start: the libraries the core uses without linking them.
// A member left null leaves what needs it refused with a message.
struct Services {
    const MapRenderer* map = nullptr;      // the result map drawn into a file (map/map_export.h)
    const ReportWriter* report = nullptr;  // the study report (report/report_tool.h)
    const GisServices* gis = nullptr;      // coordinate systems and rasters (gis/gdal_services.h)
    mainui::Prompter* prompter = nullptr;  // the main program's boxes (null: the system's)
};

struct ToolCall {
    Project* project;  // null for commands without a project
    const Profile& profile;
    std::vector<std::string> args;  // the positional arguments after the project
    RunContext context;
    ResultSink& result;           // the tables and value lines the command gives
    std::string usageError = {};  // set by a command whose arguments are wrong
    // Set by ovardix-cli: shows a step's final status line; the main road calls it after
    // each of its steps (the runner itself after the command).
    std::function<void()> stepFinished = {};
    CommandArgs options = {};  // the command's options, read against its declaration
    Services services = {};

    // The command's arguments are wrong: `text` says how.
    ToolStatus refuseUsage(std::string text)
    {
        usageError = std::move(text);
        return ToolStatus::Failed;
    }
    // The command cannot run in this program: `text` says what it lacks.
    ToolStatus lacking(std::string text)
    {
        Problem::error(std::move(text)).report(context.reporter);
        return ToolStatus::Failed;
    }

    // The program's services for this call: the core's tools reach the GIS library through
    // the run context, the commands the rest through `services`.
    void provide(const Services& s)
    {
        services = s;
        context.gis = s.gis;
    }
};

// Whether a command works on a project file, and whether that file must exist already.
enum class ProjectUse { None, Existing, MayCreate };

struct ToolEntry {
    const char* command;  // the ovardix-cli command
    const char* summary;  // what it does, one line
    ProjectUse project;
    ToolStatus (*run)(ToolCall&);
    // Its arguments after the project and its options (command_options.h).
    std::span<const OptionSpec> options = {};
    // The project keys of the tool's settings (none for tools without a project).
    std::vector<ParamInfo> (*params)() = nullptr;
    // The keys naming the files it reads and writes where they are not its own (the main
    // road's three tools); null: its own keys.
    std::vector<ParamInfo> (*files)() = nullptr;
    // Whether the files it writes are signed in the project (run_signatures.h): not for a
    // tool that only describes the study, whose run must leave the project as it was.
    bool signsOutputs = true;
};

std::span<const ToolEntry> toolRegistry();
const ToolEntry* findTool(std::string_view command);
// The declared keys of a command's tool; empty for an unknown command or one without keys.
std::vector<ParamInfo> toolParams(std::string_view command);
// Runs the tool and, when it ended well, signs in the project the files it wrote with the
// content of those it read (run_signatures.h). Every runner goes through here.
ToolStatus runTool(const ToolEntry&, ToolCall&);
// Reads call.args against the tool's own declaration (without the project) into the
// positional call.args and call.options, then runs it; a usage error is left in call.usageError.
ToolStatus runWithArgs(const ToolEntry&, ToolCall&);
// A command's whole declaration: the project file first when it works on one, then its own.
std::vector<OptionSpec> commandOptions(const ToolEntry&);

}  // namespace ovd
