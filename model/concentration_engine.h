#pragma once
// The fast loop. Same order of summation per point as the reference loop, so the results
// are the same bits whatever the number of threads:
// - source and case constants are computed once;
// - for each source the points are sorted by their Delta, and a direction visits only the
//   points whose Delta can put them inside the source's sector;
// - the points of a source that pass the direction test are evaluated together, eight at a
//   time (contribution_batch.h), then added up in the order they were met;
// - the points are dealt to the threads in blocks; each thread owns its points' sums.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/concentration_loop.h"
#include "model/concentration_state.h"
#include "model/contribution_batch.h"

namespace ovd {

class ConcentrationEngine {
public:
    ConcentrationEngine(const PreparedRun&, unsigned threads);
    ~ConcentrationEngine();
    ConcentrationEngine(const ConcentrationEngine&) = delete;
    ConcentrationEngine& operator=(const ConcentrationEngine&) = delete;

    LoopOutcome run(ConcentrationState&, int firstDirection, const DirectionDone& done = {});

    // Contributions evaluated so far (pairs that passed the direction test).
    std::int64_t contributions() const;
    unsigned threads() const;

    struct Worker;

private:
    struct SourceCaseBounds {
        SourceCase constants;
        double shiftLow = 0, shiftHigh = 0;   // bounds of -(h - 10) * 0.04 over all points
        BatchConstants batch;                 // all but the direction and the initial spread
    };
    const PreparedRun& m_run;
    std::vector<SourceCaseBounds> m_caseSources;   // case * sources + source
    std::vector<std::unique_ptr<Worker>> m_workers;
};

// Convenience: a whole run from `firstDirection` with the given thread count.
LoopOutcome runConcentrationEngine(const PreparedRun&, ConcentrationState&, int firstDirection, unsigned threads,
                                   const DirectionDone& done = {});

}  // namespace ovd
