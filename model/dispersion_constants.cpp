#include "model/dispersion_constants.h"

#include <cstddef>

namespace ovd {

namespace {

constexpr std::array<StabilityConstants, kStabilityClasses> kClasses = {{
    {0.6, 184, 0.33, 0.05, 0.1042, 0.8844, 0.5461, 0.5076},
    {0.78, 200, 0.25, 0.1, 0.1195, 0.893, 0.498, 0.5797},
    {1.0, 236, 0.18, 0.2, 0.14, 0.8986, 0.4221, 0.6564},
    {1.14, 300, 0.14, 0.3, 0.1684, 0.9018, 0.3158, 0.7549},
    {1.24, 411, 0.1, 0.5, 0.2898, 0.8831, 0.174, 0.9729},
}};

// 350 m to 1600 m by 50 m.
constexpr std::array<double, 26> kAttenuation = {0.445, 0.444, 0.432, 0.401, 0.36,  0.325, 0.292, 0.261, 0.233,
                                                 0.213, 0.189, 0.177, 0.157, 0.14,  0.125, 0.111, 0.092, 0.078,
                                                 0.061, 0.049, 0.034, 0.025, 0.015, 0.007, 0.001, 0.0};

struct RoseRowKey {
    int stabilityClass;
    int speedClass;
};
constexpr std::array<RoseRowKey, kRoseRows> kRoseRowKeys = {
    {{1, 1}, {2, 1}, {2, 2}, {3, 1}, {3, 2}, {3, 3}, {4, 1}, {4, 2}, {4, 3}, {5, 1}, {5, 2}}};

// Speed ranges of the maximum computation in tenths of m/s: first, last, increment.
struct SpeedRun {
    int first, last, by;
};
void appendRuns(std::vector<WeatherCase>& cases, int stabilityClass, std::initializer_list<SpeedRun> runs)
{
    for (const SpeedRun& run : runs) {
        for (int tenths = run.first; tenths <= run.last; tenths += run.by) {
            int speedClass = tenths == 17 ? 1 : tenths == 50 ? 2 : tenths == 110 ? 3 : 0;
            int row = speedClass ? roseRowOf(stabilityClass, speedClass) : -1;
            cases.push_back({stabilityClass, tenths / 10.0, row});
        }
    }
}

}  // namespace

const StabilityConstants& stabilityConstants(int stabilityClass)
{
    return kClasses.at(static_cast<std::size_t>(stabilityClass - 1));
}

double decayConstant(int substanceClass)
{
    switch (substanceClass) {
    case 2: return 1.93e-06;
    case 3: return 1.59e-08;
    default: return 1.39e-05;
    }
}

double altitudeAttenuation(double altitude)
{
    if (!(altitude > 350.0))
        return kAttenuation.front();
    if (altitude > 1600.0)
        return 0.0;
    std::size_t i = static_cast<std::size_t>((altitude - 350.0) / 50.0);
    if (i >= kAttenuation.size() - 1)
        return kAttenuation.back();
    double x0 = 350.0 + 50.0 * static_cast<double>(i);
    return kAttenuation[i] + (altitude - x0) * (kAttenuation[i + 1] - kAttenuation[i]) / 50.0;
}

int roseRowOf(int stabilityClass, int speedClass)
{
    for (int row = 0; row < kRoseRows; ++row)
        if (kRoseRowKeys[row].stabilityClass == stabilityClass && kRoseRowKeys[row].speedClass == speedClass)
            return row;
    return -1;
}

std::vector<WeatherCase> annualCases(const std::array<double, 3>& speeds)
{
    std::vector<WeatherCase> cases;
    for (int row = 0; row < kRoseRows; ++row)
        cases.push_back({kRoseRowKeys[row].stabilityClass,
                         speeds[static_cast<std::size_t>(kRoseRowKeys[row].speedClass - 1)], row});
    return cases;
}

std::vector<WeatherCase> maximumCases()
{
    std::vector<WeatherCase> cases;
    appendRuns(cases, 1, {{15, 20, 1}});
    appendRuns(cases, 2, {{15, 30, 1}, {32, 50, 2}});
    appendRuns(cases, 3, {{15, 30, 1}, {32, 70, 2}, {75, 150, 5}});
    appendRuns(cases, 4, {{15, 30, 1}, {32, 70, 2}, {75, 150, 5}});
    appendRuns(cases, 5, {{15, 30, 1}, {32, 50, 2}});
    return cases;
}

}  // namespace ovd
