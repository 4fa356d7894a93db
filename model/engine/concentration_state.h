#pragma once
// The accumulators of a run: what the result tables are made of, plus the last weather
// case's per-point sums (kept because the checkpoint file carries them).
#include <array>
#include <cstdint>
#include <vector>

#include "model/engine/concentration_preparation.h"

namespace ovd {

struct ConcentrationState {
    int points = 0;
    int groupSlots = 0;
    // over the whole run
    std::vector<double> annual;
    std::array<std::vector<double>, 3> hours;
    std::vector<double> caseMaximum;       // annual run: kRoseRows blocks of `points`
    std::vector<double> maxConcentration;  // maximum run: the greatest case value ...
    std::vector<std::int32_t> maxClass;    // ... with its class,
    std::vector<double> maxSpeed;          // speed
    std::vector<double> maxDirection;      // and direction
    std::vector<double> groupAnnual;       // group shares: `groupSlots` blocks of `points`
    // the weather case computed last
    std::vector<double> caseSum;  // Alfa-weighted
    std::vector<double> caseConcentration;
    std::array<std::vector<double>, 3> exceedAlfa;
    std::array<std::vector<std::int32_t>, 3> exceedFlag;

    explicit ConcentrationState(const PreparedRun&);
    ConcentrationState() = default;

    // Greatest of the eleven case maxima of a point (annual run), 0 when all are 0 or below.
    double overallMaximum(int point) const;
    // Share of a group slot in a point's annual mean, percent; 0 when the mean is 0.
    double groupShare(int slot, int point) const;
};

}  // namespace ovd
