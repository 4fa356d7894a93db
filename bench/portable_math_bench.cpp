// The portable elementary functions against the C library's on the arguments the computations
// give them: nanoseconds per call, and how many of the results differ from the C library's
// (each by one unit in the last place, where the C library rounds the other way).
//   portable_math_bench [calls]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "common/portable_math.h"

namespace {

using Function = std::function<double(double)>;

volatile double g_sink;  // keeps the sums, so that the calls are made

double nanosecondsPerCall(const std::vector<double>& xs, const Function& f)
{
    const auto start = std::chrono::steady_clock::now();
    double sum = 0;
    for (double x : xs)
        sum += f(x);
    g_sink = sum;
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
        static_cast<double>(xs.size());
}

void compare(const char* name, const std::vector<double>& xs, const Function& ours, const Function& library)
{
    const double oursNs = nanosecondsPerCall(xs, ours);
    const double libraryNs = nanosecondsPerCall(xs, library);
    long differing = 0;
    for (double x : xs)
        differing += ours(x) != library(x);
    std::printf("%-14s %6.1f ns  (C library %5.1f ns)  %ld of %zu differ\n", name, oursNs, libraryNs, differing,
                xs.size());
}

std::vector<double> uniform(double lo, double hi, std::size_t n, unsigned seed)
{
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> d(lo, hi);
    std::vector<double> xs(n);
    for (double& x : xs)
        x = d(g);
    return xs;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ovd;
    const std::size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2000000;
    // exponents of the Gaussian terms, distances, angles in radians, direction ratios
    const std::vector<double> exponents = uniform(-40.0, 0.0, n, 1);
    std::vector<double> distances = uniform(std::log(10.0), std::log(3e4), n, 2);
    for (double& d : distances)
        d = std::exp(d);
    const std::vector<double> angles = uniform(0.0, 6.3, n, 3);
    const std::vector<double> ratios = uniform(-50.0, 50.0, n, 4);
    const struct {
        const char* name;
        const std::vector<double>& xs;
        Function ours, library;
    } cases[] = {
        {"exp", exponents, [](double x) { return portable::exp(x); }, [](double x) { return std::exp(x); }},
        {"log", distances, [](double x) { return portable::log(x); }, [](double x) { return std::log(x); }},
        {"pow(x, 0.894)", distances, [](double x) { return portable::pow(x, 0.894); },
         [](double x) { return std::pow(x, 0.894); }},
        {"sin", angles, [](double x) { return portable::sin(x); }, [](double x) { return std::sin(x); }},
        {"cos", angles, [](double x) { return portable::cos(x); }, [](double x) { return std::cos(x); }},
        {"atan", ratios, [](double x) { return portable::atan(x); }, [](double x) { return std::atan(x); }},
    };
    for (const auto& c : cases)
        compare(c.name, c.xs, c.ours, c.library);
    return 0;
}
