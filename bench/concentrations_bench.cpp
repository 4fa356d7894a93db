// Annual and maximum gas runs on a generated study: 10 000 points, 150 point, 30 area and
// 20 line sources, step 1 degree, two threads; the annual run of dust on the same study
// with three fractions per source. Prints contributions per second, processor time per
// contribution, the peak memory and the speed against the plain reference loop on a
// smaller study. The vector width follows OVARDIX_VECTOR_WIDTH; OVARDIX_PRUNING=off computes
// every speed of the maximum run. The maximum run is followed by the pass of the source
// groups' shares of the maximum, timed on its own.
//   concentrations_bench [annual|maximum|dust|ratio|all] [directions] [points] [sources]
// With `directions` only the first directions run and the full run time is extrapolated;
// `points` and `sources` change the size of the study (sources split 75/15/10 %).
//   concentrations_bench write DIR points sources
//   concentrations_bench mapped DIR points sources step
// `write` stores the matrices of a generated study in DIR; `mapped` maps them from there as
// the tool does and computes the first block of directions (annual), for the memory peak.
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include "common/console_reporter.h"
#include "model/coefficient_matrices_reader.h"
#include "model/engine/concentration_engine.h"
#include "model/engine/concentration_reference.h"
#include "model/engine/maximum_group_shares.h"
#include "model/concentration_study_generator.h"
#include "model/matrix_file.h"
#include "model/vector_width.h"

using namespace ovd;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long statusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t n = std::char_traits<char>::length(key);
    while (std::getline(status, line))
        if (line.compare(0, n, key) == 0)
            return std::atol(line.c_str() + n);
    return -1;
}

// The anonymous part of the resident memory, sampled every 5 ms: the kernel keeps no
// high-water mark of it, and the mapped matrices count in VmHWM.
class AnonymousPeak {
public:
    AnonymousPeak()
        : m_thread([this] {
            while (!m_stop) {
                m_peak = std::max(m_peak.load(), statusKilobytes("RssAnon:"));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        })
    { }
    ~AnonymousPeak()
    {
        m_stop = true;
        m_thread.join();
    }
    long peak() const { return std::max(m_peak.load(), statusKilobytes("RssAnon:")); }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_peak{0};
    std::thread m_thread;
};

AnonymousPeak* g_anonymous = nullptr;

// Peak resident memory of the process (VmHWM) and the sampled peak of its anonymous part.
void printPeakMemory()
{
    std::printf("  peak memory: VmHWM %.0f MB, RssAnon peak %.0f MB (sampled)\n",
                static_cast<double>(statusKilobytes("VmHWM:")) / 1024.0,
                static_cast<double>(g_anonymous ? g_anonymous->peak() : statusKilobytes("RssAnon:")) / 1024.0);
}

int g_points = 10000, g_sources = 200;
VectorWidth g_width = VectorWidth::Sse2;
bool g_prune = true;

StudyShape benchShape()
{
    StudyShape shape{.points = g_points,
                     .pointSources = g_sources * 3 / 4,
                     .areaSources = g_sources * 3 / 20,
                     .lineSources = g_sources - shape.pointSources - shape.areaSources,
                     .extent = 20000.0,
                     .clusters = true,
                     .groups = 12};
    return shape;
}

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

// The source groups' shares of the maximum, a pass after it, against the full run's processor time.
void timeMaximumGroupShares(const PreparedRun& run, ConcentrationState& state, unsigned threads, double fullCpu)
{
    MaximumGroupShares shares;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    maximumGroupShares(run, state, threads, shares);
    const double sharesCpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("  group shares of the maximum (%zu groups): %.2f s, processor time %.2f s, %+.1f %% of the "
                "full run's\n",
                shares.groupOfSlot.size(), seconds(start), sharesCpu, 100.0 * sharesCpu / fullCpu);
}

void fullRun(ConcentrationMode mode, int directionLimit, bool dust = false)
{
    ConcentrationStudy study = generateStudy(benchShape());
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
    EngineOptions options;
    options.pruneMaximum = g_prune;
    ConcentrationEngine engine(*run, threads, options);
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
    std::printf("%s: %d points, %d sources, %zu cases, step 1, %u threads, vector width %s%s\n", name,
                run->pointCount(), run->sourceCount(), run->cases.size(), threads, vectorWidthName(g_width),
                mode == ConcentrationMode::Maximum ? (g_prune ? ", pruned" : ", not pruned") : "");
    std::printf("  setup %.2f s, %d of %d directions in %.2f s%s\n", setup, last, run->directions, loop,
                last < run->directions ? " (extrapolated below)" : "");
    std::printf("  full run %.1f s, %.3g contributions, %.3g contributions/s\n", full,
                static_cast<double>(engine.contributions()), static_cast<double>(engine.contributions()) / loop);
    // On a busy machine the wall time says little; the processor time of the loop does.
    std::printf("  loop processor time %.2f s: %.1f ns per contribution, full run %.1f s on %u idle cores\n", cpu,
                cpu * 1e9 / static_cast<double>(engine.contributions()), setup + cpu / threads * run->directions / last,
                threads);
    if (mode == ConcentrationMode::Maximum)
        timeMaximumGroupShares(*run, state, threads, cpu * run->directions / last);
    printPeakMemory();
}

void ratio()
{
    StudyShape shape{.points = 400, .pointSources = 15, .areaSources = 3, .lineSources = 2, .clusters = true};
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

std::string matrixPath(const std::string& dir, const char* name)
{
    return dir + "/" + name + ".bin";
}

int writeMatrices(const std::string& dir)
{
    MatrixFileWriter files[3];
    const char* names[3] = {"theta", "delta", "zmax"};
    for (int i = 0; i < 3; ++i)
        if (!files[i].open(matrixPath(dir, names[i]), g_sources, g_points)) {
            std::fprintf(stderr, "cannot write %s\n", matrixPath(dir, names[i]).c_str());
            return 1;
        }
    StudyShape shape = benchShape();
    shape.matrixRows = [&](std::span<const float> t, std::span<const float> d, std::span<const float> z) {
        files[0].writeRow(t);
        files[1].writeRow(d);
        files[2].writeRow(z);
    };
    generateStudy(shape);
    for (MatrixFileWriter& f : files)
        if (!f.flush() || !f.commit())
            return 1;
    std::printf("matrices of %d points x %d sources written to %s\n", g_points, g_sources, dir.c_str());
    return 0;
}

// The annual run of the study whose matrices `write` stored, mapped from DIR; only the
// first block of directions.
int mappedRun(const std::string& dir, double step)
{
    StudyShape shape = benchShape();
    shape.matrixRows = [](std::span<const float>, std::span<const float>, std::span<const float>) {};
    ConcentrationStudy study = generateStudy(shape);
    ConsoleReporter reporter(AnswerPolicy::AlwaysYes, true);
    if (!readCoefficientMatrices(matrixPath(dir, "theta"), matrixPath(dir, "delta"), matrixPath(dir, "zmax"),
                                 study.matrices, reporter))
        return 1;
    ConcentrationParameters par = parameters(ConcentrationMode::Annual, step);
    auto run = prepareConcentrationRun(study, par);
    if (!run) {
        std::printf("refused: %s\n", run.problem().text.c_str());
        return 1;
    }
    run->vectorWidth = g_width;
    ConcentrationState state(*run);
    ConcentrationEngine engine(*run, 2);
    const auto start = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
    int done = 0;
    engine.run(state, 0, [&](int i) {
        done = i + 1;
        return !run->checkpointAfter(i);
    });
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("annual, mapped matrices: %d points, %d sources, step %g, first %d of %d directions in %.1f s "
                "(%.1f s processor), %.3g contributions, matrices mapped: %s\n",
                run->pointCount(), run->sourceCount(), step, done, run->directions, seconds(start), cpu,
                static_cast<double>(engine.contributions()), study.matrices.theta.mapped() ? "yes" : "no");
    printPeakMemory();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string what = argc > 1 ? argv[1] : "all";
    const bool files = what == "write" || what == "mapped";
    int directions = argc > 2 && !files ? std::atoi(argv[2]) : 0;
    if (argc > 3 && !files)
        g_points = std::atoi(argv[3]);
    if (argc > 4 && !files)
        g_sources = std::atoi(argv[4]);
    const Outcome<VectorWidth> width = vectorWidthFromEnvironment();
    if (!width) {
        std::fprintf(stderr, "%s\n", width.problem().text.c_str());
        return 2;
    }
    g_width = *width;
    const char* pruning = std::getenv("OVARDIX_PRUNING");
    g_prune = !(pruning && std::string(pruning) == "off");
    AnonymousPeak anonymous;
    g_anonymous = &anonymous;
    if (files) {
        if (argc < 5) {
            std::fprintf(stderr, "usage: concentrations_bench %s DIR points sources%s\n", what.c_str(),
                         what == "mapped" ? " step" : "");
            return 2;
        }
        g_points = std::atoi(argv[3]);
        g_sources = std::atoi(argv[4]);
        return what == "write" ? writeMatrices(argv[2]) : mappedRun(argv[2], argc > 5 ? std::atof(argv[5]) : 45.0);
    }
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
