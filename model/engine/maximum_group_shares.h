#pragma once
// Who makes the maximum: after a maximum run, the share of each source group in each point's
// maximum, at the weather (class, speed, direction) the maximum table reports for the point.
#include <functional>
#include <vector>

#include "common/outcome.h"
#include "model/engine/concentration_loop.h"
#include "model/engine/concentration_state.h"

namespace ovd {

struct MaximumGroupShares {
    int points = 0;
    std::vector<int> groupOfSlot;  // the group indexes the sources use, ascending
    std::vector<double> percent;   // by slot, then point

    double share(int slot, int point) const
    {
        return percent[static_cast<std::size_t>(slot) * static_cast<std::size_t>(points) +
                       static_cast<std::size_t>(point)];
    }
};

// The group indexes the sources use, ascending (the slots of the shares), or the problem
// of a group index beyond the slots there are.
Outcome<std::vector<int>> usedGroupSlots(const PreparedRun&);

// The shares of the complete maximum in `st`: 100 times the sum over a group's sources of
// the case concentration c (not weighted by Alfa) over the maximum, one contribution per
// source and point by the written-out formulas; 0 at a point whose maximum is 0. The points
// are shared by `threads`; every point is computed alone, in the order of the sources, so
// the shares are the same for any count. A contribution that is not finite stops the pass
// with the loop's message (the first in point, then source order); `stop` returning true
// interrupts it (completed false, no problem).
LoopOutcome maximumGroupShares(const PreparedRun&, const ConcentrationState& st, unsigned threads,
                               MaximumGroupShares& out, const std::function<bool()>& stop = {});

}  // namespace ovd
