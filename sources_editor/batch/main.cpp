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

}  // namespace

int main(int argc, char** argv)
{
    using namespace ovd;
    std::vector<std::string> args(argv + 1, argv + argc), positional;
    std::string project, comment, computeWhat, groupsIn, groupsOut;
    bool haveComment = false, strict = false, middle = false;
    double pressure = 0;
    std::vector<SourcePaths> appends;
    std::vector<int> newKinds;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto need = [&](std::size_t n) { return i + n < args.size(); };
        if (a == "--ini" && need(1)) {
            project = args[++i];
        } else if (a == "--comment" && need(1)) {
            comment = args[++i];
            haveComment = true;
        } else if (a == "--append" && need(3)) {
            appends.push_back({args[i + 1], args[i + 2], args[i + 3]});
            i += 3;
        } else if (a == "--strict") {
            strict = true;
        } else if (a == "--compute" && need(2)) {
            computeWhat = args[++i];
            auto p = parseDouble(args[++i]);
            if (!p || (computeWhat != "vs" && computeWhat != "d" && computeWhat != "w0"))
                return usage();
            pressure = *p;
        } else if (a == "--middle") {
            middle = true;
        } else if (a == "--new" && need(1)) {
            auto k = parseLong(args[++i]);
            if (!k || *k < 1 || *k > 3)
                return usage();
            newKinds.push_back(static_cast<int>(*k));
        } else if (a == "--groups" && need(2)) {
            groupsIn = args[++i];
            groupsOut = args[++i];
        } else if (a.starts_with("--")) {
            return usage();
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 6)
        return usage();

    ConsoleReporter reporter(AnswerPolicy::AlwaysNo, true);
    SourceList list;
    SourceNumbering numbering;
    if (!loadSources(list, numbering, {positional[0], positional[1], positional[2]}, false, !strict, reporter).ok)
        return 1;
    for (const auto& paths : appends)
        if (!loadSources(list, numbering, paths, true, !strict, reporter).ok)
            return 1;
    if (haveComment)
        list.comment = comment;

    std::vector<cZdroje*> all;
    for (auto& s : list.sources)
        all.push_back(s.get());
    if (!computeWhat.empty()) {
        if (pressure == 0) {
            reporter.message(Severity::Warning, "Výpočet hodnot bodových zdrojů", "Tlak 'p' nesmí být nulový.");
            return 1;
        }
        DerivedValue what = computeWhat == "vs" ? DerivedValue::Vs
            : computeWhat == "d"                ? DerivedValue::D
                                                : DerivedValue::W0;
        for (const auto& line : computeForSelected(all, what, pressure).log)
            std::printf("%s\n", line.c_str());
    }
    if (middle)
        computeMiddlePoints(all);
    LineDefaults defaults;
    for (int kind : newKinds) {
        auto s = newSource(kind, numbering, defaults);
        if (!s) {
            reporter.message(Severity::Warning, kNumberLimitCaption, kNumberLimitText);
            return 1;
        }
        list.sources.push_back(std::move(s));
    }

    if (!groupsIn.empty()) {
        cSkupinyPrachu groups;
        if (!groups.OtevriSkupiny(groupsIn, reporter) || !groups.UlozSkupiny(groupsOut, project, reporter))
            return 1;
    }
    std::vector<const cZdroje*> ordered(list.sources.size());
    for (std::size_t i = 0; i < list.sources.size(); ++i)
        ordered[i] = list.sources[i].get();
    return saveSources(ordered, {positional[3], positional[4], positional[5]}, list.comment, project, reporter) ? 0 : 1;
}
