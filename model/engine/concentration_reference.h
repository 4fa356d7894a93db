#pragma once
// The plain loop: directions, weather cases, sources in file order, every point, each
// formula written out as it stands. Slow; the engine is checked against it.
#include "model/engine/concentration_loop.h"
#include "model/engine/concentration_state.h"

namespace ovd {

// Runs the directions from `firstDirection` on, adding to `state`.
LoopOutcome runReferenceLoop(const PreparedRun&, ConcentrationState&, int firstDirection,
                             const DirectionDone& done = {});

}  // namespace ovd
