// Loads source files as the sources editor does, optionally changes them as its commands
// would, and saves them as its save command does.
//
//   xovrzdr-batch [options] POINTS DESCRIPTION DUST OUT_POINTS OUT_DESCRIPTION OUT_DUST
//     --ini PROJECT          write the saved paths into the project's section "Global"
//     --comment TEXT         the comment of the saved files (default: the one loaded)
//     --append P D U         append these files after loading the first ones
//     --strict               sources without a description line are not taken
//     --compute vs|d|w0 P    batch computation over all point sources with pressure P
//     --middle               middle points of all line segments
//     --new KIND             add a new source of kind 1, 2 or 3 with the next number
//     --groups IN OUT        read a dust groups file and save it again
// An empty DUST or OUT_DUST means no dust file.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/console_reporter.h"
#include "common/numbers.h"
#include "sources_editor/derived_parameters.h"
#include "sources_editor/dust_groups.h"
#include "sources_editor/source_files.h"

namespace {

int usage()
{
    std::fputs("usage: xovrzdr-batch [--ini PROJECT] [--comment TEXT] [--append P D U] [--strict]\n"
               "       [--compute vs|d|w0 P] [--middle] [--new KIND] [--groups IN OUT]\n"
               "       POINTS DESCRIPTION DUST OUT_POINTS OUT_DESCRIPTION OUT_DUST\n",
               stderr);
    return 2;
}

struct BatchOptions {
    std::vector<std::string> positional;
    std::string project, comment, computeWhat, groupsIn, groupsOut;
    bool haveComment = false, strict = false, middle = false;
    double pressure = 0;
    std::vector<ovd::SourcePaths> appends;
    std::vector<int> newKinds;
};

// Nullopt on a usage error.
std::optional<BatchOptions> parseOptions(const std::vector<std::string>& args)
{
    using namespace ovd;
    BatchOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto need = [&](std::size_t n) { return i + n < args.size(); };
        if (a == "--ini" && need(1)) {
            o.project = args[++i];
        } else if (a == "--comment" && need(1)) {
            o.comment = args[++i];
            o.haveComment = true;
        } else if (a == "--append" && need(3)) {
            o.appends.push_back({args[i + 1], args[i + 2], args[i + 3]});
            i += 3;
        } else if (a == "--strict") {
            o.strict = true;
        } else if (a == "--compute" && need(2)) {
            o.computeWhat = args[++i];
            auto p = parseDouble(args[++i]);
            if (!p || (o.computeWhat != "vs" && o.computeWhat != "d" && o.computeWhat != "w0"))
                return std::nullopt;
            o.pressure = *p;
        } else if (a == "--middle") {
            o.middle = true;
        } else if (a == "--new" && need(1)) {
            auto k = parseLong(args[++i]);
            if (!k || *k < 1 || *k > 3)
                return std::nullopt;
            o.newKinds.push_back(static_cast<int>(*k));
        } else if (a == "--groups" && need(2)) {
            o.groupsIn = args[++i];
            o.groupsOut = args[++i];
        } else if (a.starts_with("--")) {
            return std::nullopt;
        } else {
            o.positional.push_back(a);
        }
    }
    if (o.positional.size() != 6)
        return std::nullopt;
    return o;
}

// The editor's commands the options ask for, on the loaded list; false after the message.
bool applyCommands(const BatchOptions& o, ovd::SourceList& list, ovd::SourceNumbering& numbering,
                   ovd::Reporter& reporter)
{
    using namespace ovd;
    std::vector<cZdroje*> all;
    for (auto& s : list.sources)
        all.push_back(s.get());
    if (!o.computeWhat.empty()) {
        if (o.pressure == 0) {
            reporter.message(Severity::Warning, "Výpočet hodnot bodových zdrojů", "Tlak 'p' nesmí být nulový.");
            return false;
        }
        DerivedValue what = o.computeWhat == "vs" ? DerivedValue::Vs
            : o.computeWhat == "d"                ? DerivedValue::D
                                                  : DerivedValue::W0;
        for (const auto& line : computeForSelected(all, what, o.pressure).log)
            std::printf("%s\n", line.c_str());
    }
    if (o.middle)
        computeMiddlePoints(all);
    LineDefaults defaults;
    for (int kind : o.newKinds) {
        auto s = newSource(kind, numbering, defaults);
        if (!s) {
            reporter.message(Severity::Warning, kNumberLimitCaption, kNumberLimitText);
            return false;
        }
        list.sources.push_back(std::move(s));
    }
    if (!o.groupsIn.empty()) {
        cSkupinyPrachu groups;
        if (!groups.OtevriSkupiny(o.groupsIn, reporter) || !groups.UlozSkupiny(o.groupsOut, o.project, reporter))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ovd;
    std::optional<BatchOptions> opt = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!opt)
        return usage();
    const BatchOptions& o = *opt;
    const std::vector<std::string>& positional = o.positional;

    ConsoleReporter reporter(AnswerPolicy::AlwaysNo, true);
    SourceList list;
    SourceNumbering numbering;
    if (!loadSources(list, numbering, {positional[0], positional[1], positional[2]}, false, !o.strict, reporter).ok)
        return 1;
    for (const auto& paths : o.appends)
        if (!loadSources(list, numbering, paths, true, !o.strict, reporter).ok)
            return 1;
    if (o.haveComment)
        list.comment = o.comment;
    if (!applyCommands(o, list, numbering, reporter))
        return 1;
    std::vector<const cZdroje*> ordered(list.sources.size());
    for (std::size_t i = 0; i < list.sources.size(); ++i)
        ordered[i] = list.sources[i].get();
    const bool saved =
        saveSources(ordered, {positional[3], positional[4], positional[5]}, list.comment, o.project, reporter);
    return saved ? 0 : 1;
}
