#include "assess_commands.h"

#include "assess/assessment.h"
#include "assess/comparison.h"
#include "common/numbers.h"

namespace ovd {

namespace {

constexpr const char* kAssessUsage =
    "příkaz assess přijímá volby --table SOUBOR, --column SLOUPEC, --background SOUBOR|ČÍSLO, --background-column "
    "SLOUPEC, --bilinear, --fill HODNOTA, --pollutant LÁTKA, --limit HODNOTA, --hours-column SLOUPEC, "
    "--allowed-hours POČET, --limits SOUBOR a --out SOUBOR";
constexpr const char* kCompareUsage =
    "příkaz compare přijímá volby --base SOUBOR, --variant SOUBOR, --column SLOUPEC, --threshold HODNOTA a --out "
    "SOUBOR";

// "--name value" or "--name=value", and the flags in `flags` without a value; false (and
// the usage error set) for anything else.
bool splitOptions(ToolCall& call, const char* usage, std::initializer_list<std::string_view> flags,
                  std::vector<std::pair<std::string, std::string>>& out)
{
    const std::vector<std::string>& a = call.args;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::string name = a[i], value;
        bool flag = false;
        for (std::string_view f : flags)
            flag = flag || name == f;
        if (flag) {
            out.emplace_back(name, "1");
            continue;
        }
        if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (name.rfind("--", 0) == 0 && i + 1 < a.size()) {
            value = a[++i];
        } else {
            call.usageError = usage;
            return false;
        }
        out.emplace_back(name, value);
    }
    return true;
}

bool isNumber(const std::string& value)
{
    return parseDecimal(value).has_value();
}

bool assessOptions(ToolCall& call, AssessSettings& s)
{
    std::vector<std::pair<std::string, std::string>> options;
    if (!splitOptions(call, kAssessUsage, {"--bilinear"}, options))
        return false;
    for (const auto& [name, value] : options) {
        if (name == "--table") {
            s.input = value;
        } else if (name == "--column") {
            s.column = value;
        } else if (name == "--background") {
            s.background = value;
        } else if (name == "--background-column") {
            s.backgroundColumn = value;
        } else if (name == "--bilinear") {
            s.bilinear = true;
        } else if (name == "--fill" || name == "--limit" || name == "--allowed-hours") {
            if (!isNumber(value)) {
                call.usageError = "volba " + name + " potřebuje číslo";
                return false;
            }
            (name == "--fill" ? s.fill : name == "--limit" ? s.limit : s.allowedHours) = value;
        } else if (name == "--pollutant") {
            s.pollutant = value;
        } else if (name == "--hours-column") {
            s.hoursColumn = value;
        } else if (name == "--limits") {
            s.limits = value;
        } else if (name == "--out") {
            s.output = value;
        } else {
            call.usageError = kAssessUsage;
            return false;
        }
    }
    return true;
}

bool compareOptions(ToolCall& call, CompareSettings& s)
{
    std::vector<std::pair<std::string, std::string>> options;
    if (!splitOptions(call, kCompareUsage, {}, options))
        return false;
    for (const auto& [name, value] : options) {
        if (name == "--base") {
            s.base = value;
        } else if (name == "--variant") {
            s.variant = value;
        } else if (name == "--column") {
            s.column = value;
        } else if (name == "--threshold") {
            if (!isNumber(value)) {
                call.usageError = "volba --threshold potřebuje číslo";
                return false;
            }
            s.threshold = value;
        } else if (name == "--out") {
            s.output = value;
        } else {
            call.usageError = kCompareUsage;
            return false;
        }
    }
    return true;
}

// The summary goes to the command's result: stdout, or the JSON.
ToolStatus finish(ToolCall& call, ToolStatus status, const std::vector<std::string>& summary)
{
    for (const std::string& line : summary)
        call.result.line(line);
    return status;
}

}  // namespace

ToolStatus runAssess(ToolCall& call)
{
    AssessSettings s = loadSettings<AssessSettings>(*call.project);
    if (!assessOptions(call, s))
        return ToolStatus::Failed;
    std::vector<std::string> summary;
    ToolStatus status = runAssessment(s, {call.project->path(), call.profile.path()}, call.context, summary);
    return finish(call, status, status == ToolStatus::Done ? summary : std::vector<std::string>{});
}

ToolStatus runCompare(ToolCall& call)
{
    CompareSettings s = loadSettings<CompareSettings>(*call.project);
    if (!compareOptions(call, s))
        return ToolStatus::Failed;
    std::vector<std::string> summary;
    ToolStatus status = runComparison(s, {call.project->path(), call.profile.path()}, call.context, summary);
    return finish(call, status, status == ToolStatus::Done ? summary : std::vector<std::string>{});
}

}  // namespace ovd
