#pragma once
// What the reference loop and the engine share at their boundary.
#include <functional>
#include <optional>
#include <string>

#include "common/numbers.h"
#include "common/outcome.h"

namespace ovd {

// Called after each completed direction with its index; false stops the run there.
using DirectionDone = std::function<bool(int directionIndex)>;

struct LoopOutcome {
    bool completed = false;          // every direction computed
    std::optional<Problem> problem;  // set when a contribution had no finite value (the run stops)
};

inline std::string nonFiniteContributionText(long source, long point, double direction)
{
    return cformat("Příspěvek zdroje %ld v referenčním bodě %ld nemá konečnou hodnotu (směr větru %.2f°), "
                   "výpočet nelze dokončit!",
                   source, point, direction);
}

}  // namespace ovd
