#include "command_options.h"

#include <gtest/gtest.h>

#include <set>

#include "assess_commands.h"
#include "geotools/scale_groups.h"
#include "map_commands.h"
#include "scale_groups_commands.h"
#include "tool_registry.h"

namespace ovd {
namespace {

constexpr OptionSpec kDeclared[] = {
    argument(kProjectArgument, "projekt"),
    argument("KEY", "klíč"),
    argument("VALUE", "hodnota").optional(),
    option("--out", "SOUBOR", "výstup").required(),
    option("--width", "PIXELY", "šířka").integer(100, 200),
    option("--levels", "1;2;5|limity", "hladiny").numbers("limity"),
    option("--format", "a|bb", "formát").choice("a|bb"),
    option("--step", "M", "krok").mirrors("Sekce", "Krok"),
    flagOption("--header", "jen hlavička"),
};
constexpr ParamInfo kKeys[] = {{"Sekce", "Krok", ParamKind::Integer, "50"}};

Outcome<ParsedCommand> parse(std::initializer_list<std::string> tokens)
{
    std::vector<std::string> t(tokens);
    return parseCommandArgs("cmd", kDeclared, kKeys, t);
}

std::string refusal(std::initializer_list<std::string> tokens)
{
    Outcome<ParsedCommand> p = parse(tokens);
    return p ? std::string("(accepted)") : p.problem().text;
}

TEST(CommandOptions, ReadsOptionsInEitherSpellingAndValuesThatBeginWithAMinus)
{
    Outcome<ParsedCommand> p =
        parse({"study.ovd", "--out", "-a.png", "Klic", "--width=150", "-10", "--levels", "0,5", "--header"});
    ASSERT_TRUE(p) << p.problem().text;
    EXPECT_EQ(p->args.positional, (std::vector<std::string>{"study.ovd", "Klic", "-10"}));
    EXPECT_EQ(p->args.text("--out"), "-a.png");  // the value of an option, whatever it begins with
    EXPECT_EQ(p->args.integer("--width"), 150);
    EXPECT_EQ(p->args.numbers("--levels"), (std::vector<double>{0.5}));
    EXPECT_TRUE(p->args.has("--header"));
    EXPECT_FALSE(p->args.has("--format"));

    p = parse({"study.ovd", "--out", "x", "--", "--klic"});  // after "--" everything is positional
    ASSERT_TRUE(p);
    EXPECT_EQ(p->args.positional.back(), "--klic");
    p = parse({"study.ovd", "K", "--out", "x", "--levels", "limity"});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->args.text("--levels"), "limity");
    EXPECT_EQ(p->args.numbers("--levels"), std::nullopt);
}

TEST(CommandOptions, RefusesWhatTheDeclarationDoesNotTakeWithOneLine)
{
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--color", "red"}), "neznámá volba --color příkazu cmd");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out"}), "volba --out potřebuje hodnotu SOUBOR");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--out", "y"}), "volba --out je zadána dvakrát");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--width", "x"}),
              "volba --width potřebuje celé číslo od 100 do 200, ne \"x\"");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--width", "201"}),
              "volba --width potřebuje celé číslo od 100 do 200, ne \"201\"");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--format", "c"}), "volba --format nezná hodnotu c (platí a, bb)");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--levels", "1,2,5"}),
              "volba --levels potřebuje čísla oddělená středníkem (například 1;2;5) nebo slovo limity, ne \"1,2,5\"");
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--header=1"}), "volba --header se zadává bez hodnoty");
    EXPECT_EQ(refusal({"s.ovd", "K"}), "chybí volba --out SOUBOR");
    EXPECT_EQ(refusal({"--out", "x"}), "příkaz cmd potřebuje soubor projektu (" +
                                           commandUsage("cmd", kDeclared) + ")");
    EXPECT_EQ(refusal({"s.ovd", "--out", "x"}).rfind("příkaz cmd potřebuje argument KEY (", 0), 0u);
    EXPECT_EQ(refusal({"s.ovd", "K", "V", "W", "--out", "x"}).rfind("nadbytečný argument W příkazu cmd (", 0), 0u);
}

TEST(CommandOptions, ARepeatableOptionKeepsEveryValueInOrder)
{
    constexpr OptionSpec declared[] = {option("--table", "DBF", "tabulka").file().repeatable(),
                                       option("--out", "SOUBOR", "výstup")};
    std::vector<std::string> t{"--table", "b.dbf", "--out", "z.pdf", "--table=a.dbf"};
    Outcome<ParsedCommand> p = parseCommandArgs("cmd", declared, {}, t);
    ASSERT_TRUE(p) << p.problem().text;
    EXPECT_EQ(p->args.all("--table"), (std::vector<std::string>{"b.dbf", "a.dbf"}));
    EXPECT_EQ(p->args.text("--table"), "b.dbf");
    EXPECT_EQ(p->args.all("--out"), std::vector<std::string>{"z.pdf"});
    EXPECT_TRUE(p->args.all("--none").empty());
    EXPECT_EQ(commandUsage("cmd", declared), "cmd [--table DBF]... [--out SOUBOR]");
}

TEST(CommandOptions, AMirroringOptionTakesItsKeysKindAndDefault)
{
    EXPECT_EQ(refusal({"s.ovd", "K", "--out", "x", "--step", "1.5"}), "volba --step potřebuje celé číslo, ne \"1.5\"");
    Outcome<ParsedCommand> p = parse({"s.ovd", "K", "--out", "x", "--step", "-20"});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->args.integer("--step"), -20);
    const std::string help = commandHelp("cmd", "dělá něco", kDeclared, kKeys);
    EXPECT_NE(help.find("--step M"), std::string::npos) << help;
    EXPECT_NE(help.find("krok; celé číslo; jinak podle klíče Sekce Krok projektu; výchozí 50"), std::string::npos)
        << help;
}

TEST(CommandOptions, HelpIsAskedForEvenAmongWrongArguments)
{
    Outcome<ParsedCommand> p = parse({"--help"});  // not taken for the project's path
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->help);
    p = parse({"s.ovd", "--width", "x", "--help"});
    EXPECT_FALSE(p);  // a value checked before --help is seen stays an error
    EXPECT_EQ(commandUsage("cmd", kDeclared),
              "cmd PROJEKT.ovd KEY [VALUE] --out SOUBOR [--width PIXELY] [--levels 1;2;5|limity] [--format a|bb] "
              "[--step M] [--header]");
}

TEST(CommandOptions, EveryToolsDeclarationIsWellFormed)
{
    for (const ToolEntry& tool : toolRegistry()) {
        const std::vector<ParamInfo> keys = toolParams(tool.command);
        std::set<std::string_view> names;
        bool optionalSeen = false;
        for (const OptionSpec& o : commandOptions(tool)) {
            EXPECT_TRUE(names.insert(o.name).second) << tool.command << " declares " << o.name << " twice";
            EXPECT_FALSE(o.help.empty()) << tool.command << " " << o.name;
            EXPECT_EQ(o.positional, o.name.rfind("--", 0) != 0) << tool.command << " " << o.name;
            if (o.positional) {
                EXPECT_FALSE(optionalSeen && o.isRequired) << tool.command << ": " << o.name << " after an optional";
                optionalSeen = optionalSeen || !o.isRequired;
            }
            if (o.key.empty())
                continue;
            bool declared = false;
            for (const ParamInfo& p : keys)
                declared = declared || (p.section == o.section && p.key == o.key);
            EXPECT_TRUE(declared) << tool.command << " " << o.name << " mirrors " << o.section << " " << o.key
                                  << ", which the tool does not declare";
        }
    }
}

// Options that mirror a key replace the member the key is declared for; the others are left
// to the command.
TEST(CommandArgs, MirroringOptionsReplaceTheMembersOfTheirKeys)
{
    CommandArgs a;
    for (const char* name : {"--table", "--column", "--background", "--background-column", "--pollutant",
                             "--hours-column", "--limits", "--out", "--fill"})
        a.set(name, std::string(name + 2));
    AssessSettings s;
    s.fill = "projekt";
    s.limit = "projekt";
    a.takeMirrored(s, kAssessOptions);
    EXPECT_EQ(s.input, "table");
    EXPECT_EQ(s.column, "column");
    EXPECT_EQ(s.background, "background");
    EXPECT_EQ(s.backgroundColumn, "background-column");
    EXPECT_EQ(s.pollutant, "pollutant");
    EXPECT_EQ(s.hoursColumn, "hours-column");
    EXPECT_EQ(s.limits, "limits");
    EXPECT_EQ(s.output, "out");
    EXPECT_EQ(s.fill, "projekt");   // mirrors no key: the command reads it itself
    EXPECT_EQ(s.limit, "projekt");  // not given
}

// A mirroring option whose key holds a number would be passed over by takeMirrored.
template <class S> void expectTextKeys(std::string_view command, std::span<const OptionSpec> options)
{
    for (const OptionSpec& o : options) {
        if (o.key.empty())
            continue;
        bool text = false;
        for (const Param<S>& p : S::kParams)
            text = text || (p.info.section == o.section && p.info.key == o.key &&
                            std::holds_alternative<std::string S::*>(p.member));
        EXPECT_TRUE(text) << command << " " << o.name << " mirrors a key that holds no text";
    }
}

TEST(CommandArgs, OptionsTakenByTheirKeysMirrorTextKeys)
{
    expectTextKeys<AssessSettings>("assess", kAssessOptions);
    expectTextKeys<CompareSettings>("compare", kCompareOptions);
    expectTextKeys<ScaleGroupsSettings>("scale-groups", kScaleGroupsOptions);
    expectTextKeys<MapSettings>("map", kMapOptions);
}

}  // namespace
}  // namespace ovd
