#pragma once
// The daily concentration of one weather situation (stability class, wind speed and
// direction) at every reference point: the plume model of the annual computation for one
// direction and case, with the emission spread over the day by the source's hours of
// operation, sigma y widened by 2.17, the normal vertical terms and the plain sum of all
// sources. Gases decay by their substance class; dust settles by fraction and does not decay.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/concentration_inputs.h"
#include "model/engine/concentration_preparation.h"

namespace ovd {

inline constexpr double kDailyLateralWidening = 2.17;
inline constexpr double kHourShareOfDay = 0.041666666666666664;  // 1/24

struct DailyParameters {
    int stabilityClass = 1;  // 1 to 5
    double speed = 0;        // m/s at 10 m
    double direction = 0;    // degrees; taken modulo 360
    int substanceClass = 1;  // 1 to 3, gases only
    bool nearbySources = false;
    bool dust = false;
};

// The direction as the run uses it, in [0, 360).
double dailyDirection(double direction);

// The weather situation alone: a speed of 0 or below, a direction that is not a number, a
// class outside 1 to 5.
std::optional<Problem> checkDailyWeather(const DailyParameters&);
// What can be refused before the loop, in the order of the run: the weather situation, the
// matrix sizes (the dust variant words them shorter), source types, clusters, dust values.
std::optional<Problem> checkDailyRun(const ConcentrationStudy&, const DailyParameters&);

struct DailyOutcome {
    bool completed = false;
    std::optional<Problem> problem;     // a contribution without a finite value stops the run
    std::vector<double> concentration;  // per reference point
};

// Called after each source with its index; false stops the run there.
using DailySourceDone = std::function<bool(int sourceIndex)>;

// Expects a study that checkDailyRun accepted.
DailyOutcome computeDaily(const ConcentrationStudy&, const DailyParameters&, const DailySourceDone& done = {});

}  // namespace ovd
