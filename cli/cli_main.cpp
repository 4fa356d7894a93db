#include "cli_main.h"

#include <exception>
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
    for (const ToolEntry& t : toolRegistry()) {
        std::string usage = t.command;
        if (t.project != ProjectUse::None)
            usage += " PROJEKT.ovd";
        if (*t.arguments) {
            usage += ' ';
            usage += t.arguments;
        }
        std::fprintf(to, "  %-44s %s\n", usage.c_str(), t.summary);
    }
    std::fprintf(
        to,
        "\nNávratový kód: 0 hotovo, 1 chyba, 2 chybné použití, 3 zastaveno odpovědí Ne nebo přerušením,\n"
        "4 kontrola našla nepoužitelné soubory.\n"
        "Ctrl+C nebo SIGTERM výpočet přeruší (rozpracované výstupy se nezapíší), druhé Ctrl+C program ihned ukončí.\n");
}

int usageError(std::FILE* err, const std::string& text)
{
    std::fprintf(err, "ovardix-cli: %s\nNápověda: ovardix-cli --help\n", text.c_str());
    return kExitUsage;
}

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
std::variant<GlobalOptions, int> parseGlobalOptions(const std::vector<std::string>& args, std::FILE* err)
{
    GlobalOptions o;
    std::size_t& i = o.next;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            printHelp(stdout);
            return kExitDone;
        } else if (a == "--yes") {
            if (o.policy == AnswerPolicy::AlwaysNo)
                return usageError(err, "volby --yes a --no nelze použít současně");
            o.policy = AnswerPolicy::AlwaysYes;
        } else if (a == "--no") {
            if (o.policy == AnswerPolicy::AlwaysYes)
                return usageError(err, "volby --yes a --no nelze použít současně");
            o.policy = AnswerPolicy::AlwaysNo;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--profile") {
            if (i + 1 >= args.size())
                return usageError(err, "volba --profile potřebuje jméno souboru");
            o.profilePath = args[++i];
        } else {
            return usageError(err, "neznámá volba " + a);
        }
    }
    return o;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::FILE* err, std::FILE* in)
{
    std::variant<GlobalOptions, int> parsed = parseGlobalOptions(args, err);
    if (const int* code = std::get_if<int>(&parsed))
        return *code;
    const GlobalOptions& opt = std::get<GlobalOptions>(parsed);
    const bool json = opt.json;
    std::size_t i = opt.next;
    if (i >= args.size())
        return usageError(err, "chybí příkaz");
    const ToolEntry* tool = findTool(args[i]);
    if (!tool)
        return usageError(err, "neznámý příkaz " + args[i]);
    ++i;

    Project project;
    if (tool->project != ProjectUse::None) {
        if (i >= args.size())
            return usageError(err, std::string("příkaz ") + tool->command + " potřebuje soubor projektu");
        project = Project::open(args[i++]);
    }
    std::vector<std::string> rest(args.begin() + static_cast<long>(i), args.end());
    // Options of a command (such as --columns) are counted by the command itself.
    std::size_t positional = 0;
    for (const std::string& a : rest)
        positional += (a.rfind("--", 0) == 0) ? 0 : 1;
    if (positional < tool->minArgs || rest.size() > tool->maxArgs)
        return usageError(err, std::string("chybné argumenty příkazu ") + tool->command + " (" + tool->arguments + ")");

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
    if (tool->project == ProjectUse::Existing && !fileExists(project.path())) {
        reporter.message(Severity::Error, kCaptionError, "Soubor projektu " + project.path() + " neexistuje.");
        finish(ToolStatus::Failed);
        return kExitFailed;
    }
    Profile profile = Profile::openDefault(opt.profilePath);
    if (tool->project != ProjectUse::None && !enterStudyFolder(project, profile, rest, tool->command, reporter)) {
        finish(ToolStatus::Failed);
        return kExitFailed;
    }
    ToolCall call{tool->project != ProjectUse::None ? &project : nullptr, profile, std::move(rest),
                  RunContext{reporter, false, project.path(), profile.path()}, json ? static_cast<ResultSink&>(collected) : text};
    call.context.answeredByOption = opt.policy == AnswerPolicy::AlwaysYes;
    call.stepFinished = [&console] { console.showFinalStatus(); };
    try {
        ToolStatus status = tool->run(call);
        console.showFinalStatus();
        if (!call.usageError.empty())
            return usageError(err, call.usageError);
        int code = finalExitCode(status, console.cancelled(), reporter);
        finish(code == kExitDeclined && status != ToolStatus::Done ? ToolStatus::Declined : status);
        return code;
    } catch (const std::exception& e) {
        reporter.message(Severity::Error, kCaptionError, std::string("Vnitřní chyba: ") + e.what());
        finish(ToolStatus::Failed);
        return kExitFailed;
    }
}

}  // namespace ovd
