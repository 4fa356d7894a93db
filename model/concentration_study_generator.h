#pragma once
// Made-up studies for tests and benchmarks: points on a grid, sources of all three kinds,
// matrices consistent with the geometry (Delta is the true bearing), a random wind rose.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "model/concentration_inputs.h"

namespace ovd {

struct StudyShape {
    int points = 100;
    int pointSources = 3, areaSources = 2, lineSources = 2;
    double extent = 5000.0;     // metres, side of the square holding the points
    bool clusters = false;      // put some sources into clusters (and list them)
    int groups = 3;             // distinct group indexes
    bool pointOnSource = true;  // one reference point placed exactly on the first source
    int dustFractions = 0;      // dust: up to this many fractions per source (0: gas); some
                                // sources get none, some a diameter of 0
    std::uint32_t seed = 1;
    // When set, the matrices are not kept: each source's rows (Theta, Delta, ZMax) go here,
    // source by source, and the study's matrices hold only their sizes.
    std::function<void(std::span<const float>, std::span<const float>, std::span<const float>)> matrixRows = {};
};

ConcentrationStudy generateStudy(const StudyShape&);

// One source at the origin without plume rise (H = 10, so Delta is not shifted) and points
// 1000 m south of it, each a metre further, whose Delta is set by hand: what one plume gives
// in each sector.
struct FanShape {
    float theta = 0.0f;
    double hours = 24.0;  // of operation a day
    std::int32_t number = 1;
};
ConcentrationStudy fanStudy(std::int16_t type, const std::vector<float>& deltas, const FanShape& = {});

}  // namespace ovd
