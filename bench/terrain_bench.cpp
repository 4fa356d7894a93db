// Terrain grid conversion and height lookups on a generated 5000 x 5000 grid of the first
// kind (about 150 MB of text). Prints the conversion time and lookups per second.
//   terrain_bench [size] [lookups]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/reporter_wrapper.h"
#include "inputs/terrain_conversion.h"
#include "inputs/terrain_matrix.h"
#include "testing/test_support.h"

using namespace ovd;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of this process: on a shared machine it says what one core did.
double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

bool writeGrid(const std::string& path, long n)
{
    File f(path, "wb");
    if (!f)
        return false;
    std::fprintf(f.get(), "ncols %ld\nnrows %ld\nxllcorner 0\nyllcorner 0\ncellsize 10\nNODATA_value -9999\n", n, n);
    std::string row;
    for (long r = 0; r < n; ++r) {
        row.clear();
        for (long c = 0; c < n; ++c) {
            double h = 400 + 80 * std::sin(c / 300.0) * std::cos(r / 450.0) + 0.01 * c;
            row += cformat(c ? " %.1f" : "%.1f", h);
        }
        row += '\n';
        if (!f.write(row))
            return false;
    }
    return f.close();
}

// Points along lines, as the coefficients walk them.
void timeLookupsAlongLines(const TerrainMatrix& matrix, const std::vector<double>& xs, const std::vector<double>& ys,
                           long lookups)
{
    double sum = 0;
    const auto t0 = std::chrono::steady_clock::now();
    double c0 = cpuSeconds();
    long done = 0;
    for (long line = 0; done < lookups; ++line) {
        double x0 = xs[static_cast<std::size_t>(line) & (xs.size() - 1)],
               y0 = ys[static_cast<std::size_t>(line) & (xs.size() - 1)];
        double x1 = ys[static_cast<std::size_t>(line + 1) & (xs.size() - 1)],
               y1 = xs[static_cast<std::size_t>(line + 1) & (xs.size() - 1)];
        for (int i = 0; i < 1000 && done < lookups; ++i, ++done)
            sum += matrix.lookup(x0 + (x1 - x0) * (i + 0.5) / 1000, y0 + (y1 - y0) * (i + 0.5) / 1000, true).height;
    }
    double s = seconds(t0), cpu = cpuSeconds() - c0;
    std::printf(
        "%ld interpolated lookups along lines: %.2f s, %.1f million/s, %.1f million per CPU second (checksum %.3f)\n",
        lookups, s, static_cast<double>(lookups) / s / 1e6, static_cast<double>(lookups) / cpu / 1e6,
        sum / static_cast<double>(lookups));
}

}  // namespace

int main(int argc, char** argv)
{
    long n = argc > 1 ? std::atol(argv[1]) : 5000;
    long lookups = argc > 2 ? std::atol(argv[2]) : 10000000;
    TempDir dir;
    std::string text = dir.path("grid.txt"), binary = dir.path("grid.bin");
    auto t0 = std::chrono::steady_clock::now();
    if (!writeGrid(text, n))
        return 1;
    std::printf("generated %ld x %ld grid, %.0f MB of text, in %.1f s\n", n, n,
                static_cast<double>(std::filesystem::file_size(text)) / 1e6, seconds(t0));

    NullReporter reporter(Answer::Yes, stderr);
    for (TerrainElement e : {TerrainElement::Int16, TerrainElement::Real}) {
        t0 = std::chrono::steady_clock::now();
        double c0 = cpuSeconds();
        if (convertTerrain(TerrainSettings{text, binary, e}, RunContext{reporter, true}) != ToolStatus::Done)
            return 1;
        double s = seconds(t0);
        std::printf("conversion, element type %d: %.2f s (%.2f s of CPU), %.1f million values/s\n", static_cast<int>(e),
                    s, cpuSeconds() - c0, static_cast<double>(n) * static_cast<double>(n) / s / 1e6);
    }

    auto matrix = TerrainMatrix::open(binary);
    if (!matrix)
        return 1;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> coord(0, static_cast<double>(n) * 10);
    std::vector<double> xs(1 << 20), ys(1 << 20);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = coord(rng);
        ys[i] = coord(rng);
    }
    for (bool interpolate : {true, false}) {
        double sum = 0;
        t0 = std::chrono::steady_clock::now();
        double c0 = cpuSeconds();
        for (long i = 0; i < lookups; ++i) {
            std::size_t k = static_cast<std::size_t>(i) & (xs.size() - 1);
            sum += matrix->lookup(xs[k], ys[k], interpolate).height;
        }
        double s = seconds(t0), cpu = cpuSeconds() - c0;
        std::printf(
            "%ld %s lookups (random points, one core): %.2f s, %.1f million/s, %.1f million per CPU second (checksum %.3f)\n",
            lookups, interpolate ? "interpolated" : "direct", s, static_cast<double>(lookups) / s / 1e6,
            static_cast<double>(lookups) / cpu / 1e6, sum / static_cast<double>(lookups));
    }
    timeLookupsAlongLines(*matrix, xs, ys, lookups);
    return 0;
}
