// Annual and maximum gas runs on a generated study: 10 000 points, 150 point, 30 area and
// 20 line sources, step 1 degree, two threads; the annual run of dust on the same study
// with three fractions per source. Prints contributions per second, processor time per
// contribution, the peak memory and the speed against the plain reference loop on a
// smaller study. The vector width follows OVARDIX_VECTOR_WIDTH.
//   concentrations_bench [annual|maximum|dust|ratio|all] [directions] [points] [sources]
// With `directions` only the first directions run and the full run time is extrapolated;
// `points` and `sources` change the size of the study (sources split 75/15/10 %).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include "model/concentration_engine.h"
#include "model/concentration_reference.h"
#include "model/concentration_study_generator.h"
#include "model/vector_width.h"

using namespace ovd;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Peak resident memory of the process and of its anonymous part, in MB (Linux).
void printPeakMemory()
{
    struct rusage usage { };
    getrusage(RUSAGE_SELF, &usage);
    std::ifstream status("/proc/self/status");
    std::string line;
    long anonymous = -1;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0)
            anonymous = std::atol(line.c_str() + 8);
    std::printf("  peak RSS %.0f MB (RssAnon now %.0f MB)\n", static_cast<double>(usage.ru_maxrss) / 1024.0,
                static_cast<double>(anonymous) / 1024.0);
}

int g_points = 10000, g_sources = 200;
VectorWidth g_width = VectorWidth::Sse2;

ConcentrationParameters parameters(ConcentrationMode mode, double step)
{
    ConcentrationParameters par;
    par.mode = mode;
    par.step = step;
    par.limits = {5.0, 50.0, 0.0};
    par.nearbySources = true;
    par.groupShares = mode == ConcentrationMode::Annual;
    return par;
}

void fullRun(ConcentrationMode mode, int directionLimit, bool dust = false)
{
    StudyShape shape;
    shape.points = g_points;
    shape.pointSources = g_sources * 3 / 4;
    shape.areaSources = g_sources * 3 / 20;
    shape.lineSources = g_sources - shape.pointSources - shape.areaSources;
    shape.extent = 20000.0;
    shape.clusters = true;
    shape.groups = 12;
    ConcentrationStudy study = generateStudy(shape);
    ConcentrationParameters par = parameters(mode, 1.0);
    if (dust) {
        par.dust = true;
        for (SourceRecord& s : study.sources) {
            s.density = 2200.0;
            s.fractions = {{2.5, 0.3}, {10.0, 0.5}, {40.0, 0.2}};
        }
    }
    auto run = prepareConcentrationRun(study, par);
    if (!run) {
        std::printf("refused: %s\n", run.problem().text.c_str());
        return;
    }
    run->vectorWidth = g_width;
    const unsigned threads = 2;
    auto start = std::chrono::steady_clock::now();
    ConcentrationEngine engine(*run, threads);
    double setup = seconds(start);
    ConcentrationState state(*run);
    int last = run->directions;
    if (directionLimit > 0 && directionLimit < last)
        last = directionLimit;
    // the engine computes whole blocks, from one checkpoint direction to the next
    while (last < run->directions && !run->checkpointAfter(last - 1))
        ++last;
    start = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
    engine.run(state, 0, [&](int i) { return i + 1 < last; });
    double loop = seconds(start);
    double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    double full = setup + loop * run->directions / last;
    const char* name = dust ? "annual dust, 3 fractions" : mode == ConcentrationMode::Annual ? "annual" : "maximum";
    std::printf("%s: %d points, %d sources, %zu cases, step 1, %u threads, vector width %s\n", name, run->pointCount(),
                run->sourceCount(), run->cases.size(), threads, vectorWidthName(g_width));
    std::printf("  setup %.2f s, %d of %d directions in %.2f s%s\n", setup, last, run->directions, loop,
                last < run->directions ? " (extrapolated below)" : "");
    std::printf("  full run %.1f s, %.3g contributions, %.3g contributions/s\n", full,
                static_cast<double>(engine.contributions()), static_cast<double>(engine.contributions()) / loop);
    // On a busy machine the wall time says little; the processor time of the loop does.
    std::printf("  loop processor time %.2f s: %.0f ns per contribution, full run %.1f s on %u idle cores\n", cpu,
                cpu * 1e9 / static_cast<double>(engine.contributions()), setup + cpu / threads * run->directions / last,
                threads);
    printPeakMemory();
}

void ratio()
{
    StudyShape shape;
    shape.points = 400;
    shape.pointSources = 15;
    shape.areaSources = 3;
    shape.lineSources = 2;
    shape.clusters = true;
    ConcentrationStudy study = generateStudy(shape);
    auto run = prepareConcentrationRun(study, parameters(ConcentrationMode::Annual, 5.0));
    run->vectorWidth = g_width;
    ConcentrationState a(*run), b(*run);
    auto start = std::chrono::steady_clock::now();
    runReferenceLoop(*run, a, 0);
    double ref = seconds(start);
    start = std::chrono::steady_clock::now();
    runConcentrationEngine(*run, b, 0, 2);
    double fast = seconds(start);
    std::printf("reference vs engine (400 points, 20 sources, step 5, annual): %.3f s vs %.3f s, ratio %.1f\n", ref,
                fast, ref / fast);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string what = argc > 1 ? argv[1] : "all";
    int directions = argc > 2 ? std::atoi(argv[2]) : 0;
    if (argc > 3)
        g_points = std::atoi(argv[3]);
    if (argc > 4)
        g_sources = std::atoi(argv[4]);
    const Outcome<VectorWidth> width = vectorWidthFromEnvironment();
    if (!width) {
        std::fprintf(stderr, "%s\n", width.problem().text.c_str());
        return 2;
    }
    g_width = *width;
    if (what == "annual" || what == "all")
        fullRun(ConcentrationMode::Annual, directions);
    if (what == "dust" || what == "all")
        fullRun(ConcentrationMode::Annual, directions, true);
    if (what == "maximum" || what == "all")
        fullRun(ConcentrationMode::Maximum, directions > 0 ? directions : 20);
    if (what == "ratio" || what == "all")
        ratio();
    return 0;
}
