#pragma once
// A command's arguments and options, declared beside its tool: the one parser of ovardix-cli
// reads them for every command and `ovardix-cli COMMAND --help` lists them.
//
//   inline constexpr OptionSpec kMapOptions[] = {
//       option("--out", "SOUBOR.png|svg|pdf", "obrázek, do kterého se mapa nakreslí").required(),
//       option("--width", "PIXELY", "šířka obrázku").integer(100, 20000),
//       option("--levels", "1;2;5|limity", "hladiny").numbers("limity").mirrors("Mapa", "Urovne"),
//   };
//
// A positional argument is declared with argument(); its value may begin with "-" ("-10").
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
#include "common/parameters.h"

namespace ovd {

enum class OptionKind {
    Text,     // any text
    Integer,  // a whole number, within [min, max]
    Decimal,  // a real number, a decimal comma allowed
    Numbers,  // a ";" list of numbers (common/number_list.h), or the option's one word
    Choice,   // one of the words of `choices` ("gpkg|geojson|kml")
    Switch,   // an option without a value ("--header")
};

// Whether a value names a file: such a value, typed in the folder a command was started in,
// is taken relative to that folder while the command works in the project's.
enum class PathUse { None, File, FileOrNumber, FileOrService };

struct OptionSpec {
    std::string_view name;   // "--out"; a positional argument's placeholder ("SOUBOR")
    std::string_view value;  // the value's placeholder in the help ("SOUBOR"); empty for a switch
    std::string_view help;   // one Czech line
    OptionKind kind = OptionKind::Text;
    bool positional = false;
    bool isRequired = false;
    long min = 0, max = 0;    // an Integer's bounds (both 0: any)
    std::string_view words;   // a Choice's words, or the one word a Numbers option also takes
    std::string_view def;     // the default shown in the help
    std::string_view section, key;  // the project key the option mirrors
    PathUse path = PathUse::None;
    bool repeats = false;  // may be given more than once; every value is kept

private:
    // Defined before its users: a constant evaluation needs it complete.
    template <class F> constexpr OptionSpec with(F f) const
    {
        OptionSpec o = *this;
        f(o);
        return o;
    }

public:
    constexpr OptionSpec required() const { return with([](OptionSpec& o) { o.isRequired = true; }); }
    constexpr OptionSpec optional() const { return with([](OptionSpec& o) { o.isRequired = false; }); }
    constexpr OptionSpec integer(long lo = 0, long hi = 0) const
    {
        OptionSpec o = *this;
        o.kind = OptionKind::Integer;
        o.min = lo;
        o.max = hi;
        return o;
    }
    constexpr OptionSpec repeatable() const { return with([](OptionSpec& o) { o.repeats = true; }); }
    constexpr OptionSpec file() const { return with([](OptionSpec& o) { o.path = PathUse::File; }); }
    // A file, or one number instead of it (a background of one value).
    constexpr OptionSpec fileOrNumber() const { return with([](OptionSpec& o) { o.path = PathUse::FileOrNumber; }); }
    // A file, or a service's address or description instead of it (a map's background).
    constexpr OptionSpec fileOrService() const
    {
        return with([](OptionSpec& o) { o.path = PathUse::FileOrService; });
    }
    constexpr OptionSpec decimal() const { return with([](OptionSpec& o) { o.kind = OptionKind::Decimal; }); }
    constexpr OptionSpec numbers(std::string_view word = {}) const
    {
        OptionSpec o = *this;
        o.kind = OptionKind::Numbers;
        o.words = word;
        return o;
    }
    constexpr OptionSpec choice(std::string_view list) const
    {
        OptionSpec o = *this;
        o.kind = OptionKind::Choice;
        o.words = list;
        return o;
    }
    constexpr OptionSpec byDefault(std::string_view text) const
    {
        OptionSpec o = *this;
        o.def = text;
        return o;
    }
    // The option sets this project key for the run: its kind (unless declared as a list or a
    // choice) and default are the key's declaration among the tool's keys.
    constexpr OptionSpec mirrors(std::string_view sec, std::string_view k) const
    {
        OptionSpec o = *this;
        o.section = sec;
        o.key = k;
        return o;
    }
};

// "--name VALUE" (or "--name=VALUE").
constexpr OptionSpec option(std::string_view name, std::string_view value, std::string_view help)
{
    OptionSpec o;
    o.name = name;
    o.value = value;
    o.help = help;
    return o;
}
// "--name" alone.
constexpr OptionSpec flagOption(std::string_view name, std::string_view help)
{
    OptionSpec o = option(name, {}, help);
    o.kind = OptionKind::Switch;
    return o;
}
// A value in its place; required unless .optional().
constexpr OptionSpec argument(std::string_view name, std::string_view help)
{
    OptionSpec o = option(name, name, help);
    o.positional = true;
    o.isRequired = true;
    return o;
}

// The placeholder of the project file, a command's first argument when it works on one.
inline constexpr std::string_view kProjectArgument = "PROJEKT.ovd";

// What the parser read: the positional values in order and the options given, each checked
// against its kind.
class CommandArgs {
public:
    std::vector<std::string> positional;

    bool has(std::string_view name) const { return m_values.find(name) != m_values.end(); }
    // The option's text as given (a repeatable one's first); nullopt when it was not given.
    std::optional<std::string> text(std::string_view name) const;
    // Every value of a repeatable option in the order given (of another option its one value).
    std::vector<std::string> all(std::string_view name) const;
    std::optional<long> integer(std::string_view name) const;
    std::optional<double> decimal(std::string_view name) const;
    // A Numbers option's list; nullopt when not given or when its word was given instead.
    std::optional<std::vector<double>> numbers(std::string_view name) const;

    void set(std::string_view name, std::string value) { m_values[std::string(name)] = {std::move(value)}; }
    void add(std::string_view name, std::string value) { m_values[std::string(name)].push_back(std::move(value)); }
    void setAll(std::string_view name, std::vector<std::string> values) { m_values[std::string(name)] = std::move(values); }
    // An option given on the command line replaces `value` (the project's) for this run.
    void take(std::string_view name, std::string& value) const
    {
        if (std::optional<std::string> given = text(name))
            value = std::move(*given);
    }

    // take() for each of `options` that mirrors a key of S, into the text member the key is
    // declared for; the options that mirror no key are the command's own to read.
    template <class S> void takeMirrored(S& s, std::span<const OptionSpec> options) const
    {
        for (const OptionSpec& o : options)
            for (const Param<S>& p : S::kParams)
                if (auto* m = std::get_if<std::string S::*>(&p.member);
                    m && !o.key.empty() && p.info.section == o.section && p.info.key == o.key)
                    take(o.name, s.**m);
    }

private:
    std::map<std::string, std::vector<std::string>, std::less<>> m_values;
};

struct ParsedCommand {
    CommandArgs args;
    bool help = false;  // --help was among the arguments
};

// The command's arguments read against its declaration; `keys` are the tool's project keys,
// which mirroring options take their kind from. A usage error gives the one Czech line that
// says what is wrong.
Outcome<ParsedCommand> parseCommandArgs(std::string_view command, std::span<const OptionSpec> options,
                                        std::span<const ParamInfo> keys, std::span<const std::string> tokens);

// The usage line of a command ("map PROJEKT.ovd [--out SOUBOR] ...") and its Czech help: the
// usage, the summary, then one line per argument and option.
std::string commandUsage(std::string_view command, std::span<const OptionSpec> options);
std::string commandHelp(std::string_view command, std::string_view summary, std::span<const OptionSpec> options,
                        std::span<const ParamInfo> keys);

}  // namespace ovd
