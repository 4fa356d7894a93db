// Coefficients Theta, Delta, ZMax on a generated study: a 2000 x 2000 terrain of 10 m
// cells (20 km x 20 km, 16-bit heights), 200 sources and 10 000 reference points spread
// over it, 25 m between inner points, interpolation on, every core. Prints the run time,
// terrain lookups per second, and the speed against the plain single-threaded walk that
// reads every element by seeking in the terrain file (timed on a few sources, scaled).
//   coefficients_bench [sources] [points] [threads]
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "common/file_io.h"
#include "common/reporter_wrapper.h"
#include "model/coefficient_pair.h"
#include "model/coefficient_run.h"
#include "model/coefficient_study.h"
#include "testing/test_support.h"

using namespace ovd;

namespace {

double secondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// CPU seconds of the whole process, every thread: the figure that other load on the
// machine does not inflate.
double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Inner points of the pairs that lie inside the terrain: the lookups a run makes.
double countLookups(const std::vector<SourceRecord>& sources, const std::vector<ReferencePoint>& points, long step)
{
    double total = 0;
    for (const auto& s : sources)
        for (const auto& p : points)
            total += static_cast<double>(innerPointCount(std::hypot(p.x - s.x, p.y - s.y), step));
    return total;
}

// The plain walk: one source after the other, every element read by seeking, on a sample of
// the pairs; false when a pair differs from the fast walk's.
bool comparePlainWalk(const CoefficientSettings& s, const std::vector<SourceRecord>& sources,
                      const std::vector<ReferencePoint>& points, long step, double lookups, double fast, double fastCpu)
{
    const std::size_t nSources = sources.size(), nPoints = points.size();
    File file(s.terrain, "rb");
    auto matrix = TerrainMatrix::open(s.terrain);
    const TerrainHeader& h = matrix->header();
    const std::size_t sampleSources = std::min<std::size_t>(2, nSources);
    const std::size_t samplePoints = std::min<std::size_t>(1000, nPoints);
    double sampleLookups = 0;
    std::size_t mismatches = 0;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    for (std::size_t i = 0; i < sampleSources; ++i)
        for (std::size_t j = 0; j < samplePoints; ++j) {
            Site src{sources[i].number, sources[i].x, sources[i].y, sources[i].z};
            Site ref{points[j].number, points[j].x, points[j].y, points[j].z};
            auto p = referencePair(h, src, ref, step, [&](double x, double y) {
                return lookupHeightBySeeking(file.get(), h, x, y, true);
            });
            auto q = computePair(h, src, ref, step, [&](double x, double y) { return matrix->lookup(x, y, true); });
            mismatches += !p || p->theta != q.theta || p->delta != q.delta || p->zmax != q.zmax;
            sampleLookups += static_cast<double>(innerPointCount(std::hypot(ref.x - src.x, ref.y - src.y), step));
        }
    const double plain = secondsSince(start), plainCpu = cpuSeconds() - cpuStart;
    const double plainRate = sampleLookups / plain;
    std::printf(
        "  plain walk by seeking: %.0f lookups in %.2f s (%.2f s of CPU), %.2f million lookups/s (%zu mismatches)\n",
        sampleLookups, plain, plainCpu, plainRate / 1e6, mismatches);
    std::printf("  plain walk scaled to the whole run: %.0f s; speed-up %.0fx (CPU per lookup: %.0fx)\n",
                lookups / plainRate, (lookups / fast) / plainRate, (plainCpu / sampleLookups) / (fastCpu / lookups));
    return mismatches == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t nSources = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    const std::size_t nPoints = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
    const unsigned threads = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 0;
    const long step = 25;
    const double size = 20000;

    TempDir dir;
    auto terrain = generateTerrain(2000, 2000, 10, TerrainElement::Int16, 1);
    auto sources = scatterSources(nSources, 0, size, 0, size, 2);
    auto points = scatterPoints(nPoints, 0, size, 0, size, 3);
    CoefficientSettings s;
    s.terrain = dir.path("teren.bin");
    s.points = dir.path("body.bin");
    s.sources = dir.path("zdroje.bin");
    s.deriveOutputNames();
    s.step = step;
    s.interpolate = true;
    if (!writeFileAtomically(s.terrain, terrain.bytes) || !writeFileAtomically(s.points, encodePoints(points)) ||
        !writeFileAtomically(s.sources, encodeSources(sources, false))) {
        std::fprintf(stderr, "cannot write the generated study\n");
        return 1;
    }
    const double lookups = countLookups(sources, points, step);

    NullReporter rep(Answer::Yes, stderr);
    auto start = std::chrono::steady_clock::now();
    double cpuStart = cpuSeconds();
    ToolStatus status = computeCoefficients(s, RunContext{rep, true}, threads);
    const double fast = secondsSince(start), fastCpu = cpuSeconds() - cpuStart;
    if (status != ToolStatus::Done)
        return 1;
    const unsigned used = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    std::printf("coefficients: %zu sources x %zu points, step %ld m, interpolation, %u threads\n", nSources, nPoints,
                step, used);
    std::printf("  run %.2f s (%.2f s of CPU), %.0f lookups, %.1f million lookups/s, %.1f ns of CPU per lookup\n", fast,
                fastCpu, lookups, lookups / fast / 1e6, fastCpu / lookups * 1e9);

    return comparePlainWalk(s, sources, points, step, lookups, fast, fastCpu) ? 0 : 1;
}
