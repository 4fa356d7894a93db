#include "cli_main.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <variant>

#include "app/result_json.h"
#include "app/tool_registry.h"
#include "common/console_reporter.h"
#include "common/paths.h"
#include "interrupt_signals.h"
#include "app/study_folder.h"

namespace ovd {

namespace {

void printHelp(std::FILE* to)
{
    std::fprintf(to,
                 "Použití: ovardix-cli [--yes|--no] [--profile SOUBOR] [--quiet] [--json] PŘÍKAZ [PROJEKT.ovd] "
                 "[ARGUMENTY]\n"
                 "\n"
                 "Volby:\n"
                 "  --yes             na každou otázku odpovědět Ano\n"
                 "  --no              na každou otázku odpovědět Ne\n"
                 "  --profile SOUBOR  uživatelský profil (jinak $OVARDIX_PROFILE nebo ~/.config/ovardix/ovardix.ini)\n"
                 "  --quiet           nevypisovat průběh ani závěrečný stav nástroje\n"
                 "  --json            výsledek nástroje (stav, zprávy, tabulky) vypsat jako JSON\n"
                 "\n"
                 "Příkazy:\n");
    for (const ToolEntry& t : toolRegistry())
        std::fprintf(to, "  %-44s %s\n", commandUsage(t.command, commandOptions(t)).c_str(), t.summary);
    std::fprintf(
        to,
        "\nVolby a argumenty příkazu vypíše ovardix-cli PŘÍKAZ --help.\n"
        "\nNávratový kód: 0 hotovo, 1 chyba, 2 chybné použití, 3 zastaveno odpovědí Ne nebo přerušením,\n"
        "4 kontrola našla nepoužitelné soubory.\n"
        "Ctrl+C nebo SIGTERM výpočet přeruší (rozpracované výstupy se nezapíší), druhé Ctrl+C program ihned ukončí.\n");
}

// Every usage error in one style: the line that says what is wrong and where help is; with
// --json also one JSON object on standard output.
struct UsageError {
    std::FILE* err;
    std::ostream* json = nullptr;

    int operator()(const std::string& text, std::string_view command = {}) const
    {
        std::string help = command.empty() ? "ovardix-cli --help" : "ovardix-cli " + std::string(command) + " --help";
        std::fprintf(err, "ovardix-cli: %s\nNápověda: %s\n", text.c_str(), help.c_str());
        if (json)
            *json << usageJson(text);
        return kExitUsage;
    }
};

int exitCodeOf(ToolStatus s)
{
    switch (s) {
    case ToolStatus::Done: return kExitDone;
    case ToolStatus::Failed: return kExitFailed;
    case ToolStatus::Declined: return kExitDeclined;
    case ToolStatus::Unusable: return kExitUnusable;
    }
    return kExitFailed;
}

// A tool that stopped on Ctrl+C or SIGTERM ends with the code of a run stopped by the user,
// whatever status the tool itself gave its stop; one that reached its end keeps 0.
int finalExitCode(ToolStatus status, bool interrupted, Reporter& reporter)
{
    if (!interrupted || status == ToolStatus::Done)
        return exitCodeOf(status);
    reporter.message(Severity::Warning, "", "Výpočet byl přerušen.");
    return kExitDeclined;
}

// The options before the command.
struct GlobalOptions {
    AnswerPolicy policy = AnswerPolicy::Ask;
    bool quiet = false, json = false;
    std::string profilePath;
    std::size_t next = 0;  // the command's position in the arguments
};

// The options, or the exit code when they end the run (help, or a usage error).
std::variant<GlobalOptions, int> parseGlobalOptions(const std::vector<std::string>& args, std::FILE* err,
                                                   std::ostream& out)
{
    GlobalOptions o;
    std::size_t& i = o.next;
    // --json anywhere before the command: a usage error among the options is JSON too.
    for (std::size_t j = 0; j < args.size() && args[j].rfind("-", 0) == 0; ++j)
        o.json = o.json || args[j] == "--json";
    const UsageError usageError{err, o.json ? &out : nullptr};
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            printHelp(stdout);
            return kExitDone;
        } else if (a == "--yes") {
            if (o.policy == AnswerPolicy::AlwaysNo)
                return usageError("volby --yes a --no nelze použít současně");
            o.policy = AnswerPolicy::AlwaysYes;
        } else if (a == "--no") {
            if (o.policy == AnswerPolicy::AlwaysYes)
                return usageError("volby --yes a --no nelze použít současně");
            o.policy = AnswerPolicy::AlwaysNo;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--profile") {
            if (i + 1 >= args.size())
                return usageError("volba --profile potřebuje jméno souboru");
            o.profilePath = args[++i];
        } else {
            return usageError("neznámá volba " + a);
        }
    }
    return o;
}

// The command and what its arguments say.
struct Command {
    const ToolEntry* tool = nullptr;
    CommandArgs args;
};

// The command read against its declaration, or the exit code of --help or of a usage error.
std::variant<Command, int> readCommand(const std::vector<std::string>& args, std::size_t i, std::ostream& out,
                                       const UsageError& usageError)
{
    if (i >= args.size())
        return usageError("chybí příkaz");
    const ToolEntry* tool = findTool(args[i]);
    if (!tool)
        return usageError("neznámý příkaz " + args[i]);
    const std::vector<OptionSpec> declared = commandOptions(*tool);
    const std::vector<ParamInfo> keys = toolParams(tool->command);
    Outcome<ParsedCommand> parsed = parseCommandArgs(tool->command, declared, keys, std::span(args).subspan(i + 1));
    if (parsed && parsed->help) {
        out << commandHelp(tool->command, tool->summary, declared, keys);
        return kExitDone;
    }
    if (!parsed)
        return usageError(parsed.problem().text, tool->command);
    return Command{tool, std::move(parsed->args)};
}

// Why the run cannot start (the project or the profile's folder missing); empty when it can.
std::string startProblem(const ToolEntry& tool, const Project& project, const std::string& profilePath)
{
    std::error_code ec;
    // A device, a pipe or a folder is there, but is no project: it would be read as empty.
    if (tool.project != ProjectUse::None && std::filesystem::exists(fsPath(project.path()), ec) &&
        !std::filesystem::is_regular_file(fsPath(project.path()), ec))
        return "Soubor projektu " + project.path() + " není obyčejný soubor.";
    if (tool.project == ProjectUse::Existing && !fileExists(project.path()))
        return "Soubor projektu " + project.path() + " neexistuje.";
    std::string folder = folderOf(profilePath);
    if (profilePath.empty() || folder.empty() || std::filesystem::is_directory(fsPath(folder), ec))
        return {};
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return "Složka " + folder + " uživatelského profilu " + profilePath + " neexistuje.";
}

// Runs the tool and gives its exit code; a step's final texts are among the JSON result's
// messages, as the terminal shows them.
int runToolCall(const ToolEntry& tool, ToolCall& call, ConsoleReporter& console, MessageRecorder& reporter,
                const UsageError& usageError, const std::function<void(ToolStatus)>& finish)
{
    auto showFinalStatus = [&console, &reporter] {
        for (std::string& line : console.showFinalStatus())
            reporter.messages.push_back({Severity::Info, "", std::move(line)});
    };
    call.stepFinished = showFinalStatus;
    try {
        ToolStatus status = runTool(tool, call);
        showFinalStatus();
        if (!call.usageError.empty())
            return usageError(call.usageError, tool.command);
        int code = finalExitCode(status, console.cancelled(), reporter);
        finish(code == kExitDeclined && status != ToolStatus::Done ? ToolStatus::Declined : status);
        return code;
    } catch (const std::exception& e) {
        reporter.message(Severity::Error, kCaptionError, std::string("Vnitřní chyba: ") + e.what());
        finish(ToolStatus::Failed);
        return kExitFailed;
    }
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::FILE* err, std::FILE* in,
           const Services& services)
{
    std::variant<GlobalOptions, int> parsed = parseGlobalOptions(args, err, out);
    if (const int* code = std::get_if<int>(&parsed))
        return *code;
    const GlobalOptions& opt = std::get<GlobalOptions>(parsed);
    const bool json = opt.json;
    const UsageError usageError{err, json ? &out : nullptr};
    std::variant<Command, int> read = readCommand(args, opt.next, out, usageError);
    if (const int* code = std::get_if<int>(&read))
        return *code;
    Command& command = std::get<Command>(read);
    const ToolEntry* tool = command.tool;
    std::vector<std::string> rest = std::move(command.args.positional);
    Project project = tool->project != ProjectUse::None ? Project::open(rest.front()) : Project();
    if (tool->project != ProjectUse::None)
        rest.erase(rest.begin());
    InterruptSignals interrupt;
    ConsoleReporter console(opt.policy, opt.quiet, err, in, &InterruptSignals::flag());
    MessageRecorder reporter(console);  // the messages also go into the JSON result
    // Text is printed as the tool gives it; JSON once the tool has ended.
    TextSink text(out);
    CollectingSink collected;
    auto finish = [&](ToolStatus status) {
        if (!json)
            return text.finish();
        collected.result.status = status;
        out << resultJson(collected.result, reporter.messages);
    };
    if (std::string problem = startProblem(*tool, project, opt.profilePath); !problem.empty()) {
        reporter.message(Severity::Error, kCaptionError, problem);
        finish(ToolStatus::Failed);
        return kExitFailed;
    }
    Profile profile = Profile::openDefault(opt.profilePath);
    if (tool->project != ProjectUse::None &&
        !enterStudyFolder(project, profile, rest, command.args, tool->command, tool->options, reporter)) {
        finish(ToolStatus::Failed);
        return kExitFailed;
    }
    ToolCall call{tool->project != ProjectUse::None ? &project : nullptr, profile, std::move(rest),
                  RunContext{reporter, false, project.path(), profile.path()}, json ? static_cast<ResultSink&>(collected) : text};
    call.context.answeredByOption = opt.policy == AnswerPolicy::AlwaysYes;
    call.options = std::move(command.args);
    call.provide(services);
    return runToolCall(*tool, call, console, reporter, usageError, finish);
}

}  // namespace ovd
