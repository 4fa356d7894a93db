#include "command_options.h"

#include "common/number_list.h"
#include "common/numbers.h"

namespace ovd {

namespace {

std::string str(std::string_view s)
{
    return std::string(s);
}

// "gpkg|geojson|kml" as "gpkg, geojson, kml".
std::string listed(std::string_view words)
{
    std::string out;
    for (char c : words)
        out += c == '|' ? std::string(", ") : std::string(1, c);
    return out;
}

bool isWordOf(std::string_view words, std::string_view text)
{
    for (std::size_t start = 0; start <= words.size();) {
        std::size_t end = words.find('|', start);
        if (end == std::string_view::npos)
            end = words.size();
        if (words.substr(start, end - start) == text)
            return true;
        start = end + 1;
    }
    return false;
}

// The declaration with a mirrored key's kind and default filled in.
OptionSpec resolved(OptionSpec o, std::span<const ParamInfo> keys)
{
    if (o.key.empty())
        return o;
    for (const ParamInfo& p : keys) {
        if (p.section != o.section || p.key != o.key)
            continue;
        if (o.kind == OptionKind::Text && p.kind == ParamKind::Integer)
            o.kind = OptionKind::Integer;
        else if (o.kind == OptionKind::Text && p.kind == ParamKind::Decimal)
            o.kind = OptionKind::Decimal;
        if (o.def.empty())
            o.def = p.def;
    }
    return o;
}

std::string integerRange(const OptionSpec& o)
{
    if (o.min == 0 && o.max == 0)
        return "celé číslo";
    return cformat("celé číslo od %ld do %ld", o.min, o.max);
}

// Why the value does not fit the option's kind; empty when it does.
std::string kindError(const OptionSpec& o, const std::string& value)
{
    const std::string what = (o.positional ? "argument " : "volba ") + str(o.name);
    switch (o.kind) {
    case OptionKind::Integer: {
        std::optional<long> n = parseLong(value);
        if (n && (o.min == o.max || (*n >= o.min && *n <= o.max)))
            return {};
        return what + " potřebuje " + integerRange(o) + ", ne \"" + value + "\"";
    }
    case OptionKind::Decimal:
        return parseDecimal(value) ? std::string() : what + " potřebuje číslo, ne \"" + value + "\"";
    case OptionKind::Numbers:
        if ((!o.words.empty() && value == o.words) || parseNumberList(value))
            return {};
        return what + " potřebuje čísla oddělená středníkem (například 1;2;5)" +
               (o.words.empty() ? std::string() : " nebo slovo " + str(o.words)) + ", ne \"" + value + "\"";
    case OptionKind::Choice:
        return isWordOf(o.words, value) ? std::string()
                                        : what + " nezná hodnotu " + value + " (platí " + listed(o.words) + ")";
    case OptionKind::Text:
    case OptionKind::Switch: return {};
    }
    return {};
}

const OptionSpec* findOption(std::span<const OptionSpec> options, std::string_view name)
{
    for (const OptionSpec& o : options)
        if (!o.positional && o.name == name)
            return &o;
    return nullptr;
}

std::string shownValue(const OptionSpec& o)
{
    return o.kind == OptionKind::Switch ? str(o.name) : str(o.name) + " " + str(o.value);
}

// One "--name[=value]" token, with the value taken from the next token when needed.
Outcome<bool> readOption(std::string_view command, std::span<const OptionSpec> options, std::span<const ParamInfo> keys,
                         std::span<const std::string> tokens, std::size_t& i, CommandArgs& out)
{
    std::string name = tokens[i], value;
    const std::size_t eq = name.find('=');
    const bool inline_ = eq != std::string::npos;
    if (inline_) {
        value = name.substr(eq + 1);
        name.resize(eq);
    }
    const OptionSpec* found = findOption(options, name);
    if (!found)
        return Problem::error("neznámá volba " + name + " příkazu " + str(command));
    OptionSpec o = resolved(*found, keys);
    if (out.has(o.name) && !o.repeats)
        return Problem::error("volba " + name + " je zadána dvakrát");
    if (o.kind == OptionKind::Switch) {
        if (inline_)
            return Problem::error("volba " + name + " se zadává bez hodnoty");
        out.set(o.name, "");
        return true;
    }
    if (!inline_) {
        if (i + 1 >= tokens.size())
            return Problem::error("volba " + name + " potřebuje hodnotu " + str(o.value));
        value = tokens[++i];
    }
    if (std::string e = kindError(o, value); !e.empty())
        return Problem::error(e);
    out.add(o.name, std::move(value));
    return true;
}

// Every declared positional argument and required option present, none beyond them.
std::optional<Problem> checkComplete(std::string_view command, std::span<const OptionSpec> options,
                                     std::span<const ParamInfo> keys, CommandArgs& args)
{
    std::size_t n = 0;
    for (const OptionSpec& decl : options) {
        const OptionSpec o = resolved(decl, keys);
        if (o.positional) {
            if (n < args.positional.size()) {
                if (std::string e = kindError(o, args.positional[n]); !e.empty())
                    return Problem::error(e);
            } else if (o.isRequired) {
                return Problem::error("příkaz " + str(command) + " potřebuje " +
                                      (o.name == kProjectArgument ? std::string("soubor projektu")
                                                                  : "argument " + str(o.name)) +
                                      " (" + commandUsage(command, options) + ")");
            }
            ++n;
        } else if (o.isRequired && !args.has(o.name)) {
            return Problem::error("chybí volba " + shownValue(o));
        }
    }
    if (args.positional.size() > n)
        return Problem::error("nadbytečný argument " + args.positional[n] + " příkazu " + str(command) + " (" +
                              commandUsage(command, options) + ")");
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CommandArgs::text(std::string_view name) const
{
    auto it = m_values.find(name);
    return it == m_values.end() || it->second.empty() ? std::nullopt : std::optional(it->second.front());
}

std::vector<std::string> CommandArgs::all(std::string_view name) const
{
    auto it = m_values.find(name);
    return it == m_values.end() ? std::vector<std::string>{} : it->second;
}

std::optional<long> CommandArgs::integer(std::string_view name) const
{
    std::optional<std::string> t = text(name);
    return t ? parseLong(*t) : std::nullopt;
}

std::optional<double> CommandArgs::decimal(std::string_view name) const
{
    std::optional<std::string> t = text(name);
    return t ? parseDecimal(*t) : std::nullopt;
}

std::optional<std::vector<double>> CommandArgs::numbers(std::string_view name) const
{
    std::optional<std::string> t = text(name);
    if (!t)
        return std::nullopt;
    Outcome<std::vector<double>> list = parseNumberList(*t);
    return list ? std::optional(*list) : std::nullopt;
}

Outcome<ParsedCommand> parseCommandArgs(std::string_view command, std::span<const OptionSpec> options,
                                        std::span<const ParamInfo> keys, std::span<const std::string> tokens)
{
    ParsedCommand parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        if (optionsEnded || t.rfind("--", 0) != 0) {
            parsed.args.positional.push_back(t);
        } else if (t == "--") {
            optionsEnded = true;  // what follows is positional, whatever it begins with
        } else if (t == "--help") {
            parsed.help = true;
        } else if (Outcome<bool> read = readOption(command, options, keys, tokens, i, parsed.args); !read) {
            return read.problem();
        }
    }
    if (parsed.help)
        return parsed;
    if (std::optional<Problem> p = checkComplete(command, options, keys, parsed.args))
        return *p;
    return parsed;
}

std::string commandUsage(std::string_view command, std::span<const OptionSpec> options)
{
    std::string usage(command);
    for (const OptionSpec& o : options) {
        const std::string shown = o.positional ? str(o.name) : shownValue(o);
        usage += ' ';
        usage += o.isRequired ? shown : "[" + shown + "]";
        if (o.repeats)
            usage += "...";
    }
    return usage;
}

std::string commandHelp(std::string_view command, std::string_view summary, std::span<const OptionSpec> options,
                        std::span<const ParamInfo> keys)
{
    std::string out = "Použití: ovardix-cli [VOLBY] " + commandUsage(command, options) + "\n" + str(summary) + "\n";
    if (options.empty())
        return out;
    out += "\nArgumenty a volby:\n";
    for (const OptionSpec& decl : options) {
        const OptionSpec o = resolved(decl, keys);
        std::string line = o.help.empty() ? std::string() : str(o.help);
        auto add = [&line](const std::string& part) { line += (line.empty() ? "" : "; ") + part; };
        if (o.kind == OptionKind::Integer)
            add(integerRange(o));
        if (o.kind == OptionKind::Choice)
            add("jedno z: " + listed(o.words));
        if (!o.key.empty())
            add("jinak podle klíče " + str(o.section) + " " + str(o.key) + " projektu");
        if (!o.def.empty())
            add("výchozí " + str(o.def));
        out += cformat("  %-28s %s\n", (o.positional ? str(o.name) : shownValue(o)).c_str(), line.c_str());
    }
    return out;
}

}  // namespace ovd
