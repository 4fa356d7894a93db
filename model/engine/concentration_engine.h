#pragma once
// The fast loop. The directions between two checkpoints form a block; the points are cut
// into tiles, and for each tile the loops run case -> source -> point -> the directions
// of the block that the point can lie in for that source, several directions in a vector.
// What does not depend on the direction (plume rise and height, the corrected Delta, the
// terrain correction, the wind at the plume height, the altitude factor, the vertical
// offsets) is computed once per (source, point, case), with the reference loop's own
// expressions, so the direction test selects the same directions. For every (direction,
// case, point) the sources are still added in file order. A point's results depend only on
// that point: they are the same bits for any thread count, tile size or split of the
// points, on one vector width.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/engine/concentration_loop.h"
#include "model/engine/concentration_state.h"

namespace ovd {

inline constexpr int kDefaultTilePoints = 32;

struct EngineOptions {
    int tilePoints = kDefaultTilePoints;
    // Maximum run: skip the further speeds of a (point, direction, class) whose bound lies
    // below the point's best so far. The results are the same bits either way.
    bool pruneMaximum = true;
};

class ConcentrationEngine {
public:
    ConcentrationEngine(const PreparedRun&, unsigned threads, int tilePoints = kDefaultTilePoints);
    ConcentrationEngine(const PreparedRun&, unsigned threads, const EngineOptions&);
    ~ConcentrationEngine();
    ConcentrationEngine(const ConcentrationEngine&) = delete;
    ConcentrationEngine& operator=(const ConcentrationEngine&) = delete;

    // done(i) is called for every direction of a block once the whole block is computed;
    // the state holds all directions up to i when i ends a block (a checkpoint direction or
    // the last one). A contribution that is not finite stops the run, naming the first one
    // in the reference loop's order.
    LoopOutcome run(ConcentrationState&, int firstDirection, const DirectionDone& done = {});

    // Contributions evaluated so far (directions inside a source's sector, point by point).
    std::int64_t contributions() const;
    unsigned threads() const;

    struct Shared;
    struct Worker;

private:
    std::unique_ptr<Shared> m_shared;
    std::vector<std::unique_ptr<Worker>> m_workers;
};

// Convenience: a whole run from `firstDirection` with the given thread count.
LoopOutcome runConcentrationEngine(const PreparedRun&, ConcentrationState&, int firstDirection, unsigned threads,
                                   const DirectionDone& done = {});

}  // namespace ovd
