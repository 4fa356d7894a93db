#include "model/engine/concentration_state.h"

namespace ovd {

ConcentrationState::ConcentrationState(const PreparedRun& run)
    : points(run.pointCount())
    , groupSlots(run.groupShares ? static_cast<int>(run.groupOfSlot.size()) : 0)
{
    const auto n = static_cast<std::size_t>(points);
    annual.assign(n, 0.0);
    for (auto& h : hours)
        h.assign(n, 0.0);
    if (run.maximum()) {
        maxConcentration.assign(n, 0.0);
        maxClass.assign(n, 0);
        maxSpeed.assign(n, 0.0);
        maxDirection.assign(n, 0.0);
    } else {
        caseMaximum.assign(n * kRoseRows, 0.0);
    }
    groupAnnual.assign(n * static_cast<std::size_t>(groupSlots), 0.0);
    caseSum.assign(n, 0.0);
    caseConcentration.assign(n, 0.0);
    for (int m = 0; m < 3; ++m) {
        exceedAlfa[static_cast<std::size_t>(m)].assign(n, 0.0);
        exceedFlag[static_cast<std::size_t>(m)].assign(n, 0);
    }
}

double ConcentrationState::overallMaximum(int point) const
{
    double best = 0.0;
    for (int q = 0; q < kRoseRows; ++q) {
        double v = caseMaximum[static_cast<std::size_t>(q) * static_cast<std::size_t>(points) +
                               static_cast<std::size_t>(point)];
        if (v > best)
            best = v;
    }
    return best;
}

double ConcentrationState::groupShare(int slot, int point) const
{
    double mean = annual[static_cast<std::size_t>(point)];
    if (mean == 0.0)
        return 0.0;
    return 100.0 *
        groupAnnual[static_cast<std::size_t>(slot) * static_cast<std::size_t>(points) +
                    static_cast<std::size_t>(point)] /
        mean;
}

}  // namespace ovd
