#pragma once
// The engine's inside: what a block of directions shares (read-only while the tiles of the
// block are computed), and what one thread holds for the tile of points it computes.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "model/concentration_engine.h"
#include "model/contribution_batch.h"
#include "model/plume_contribution.h"

namespace ovd {

// A source in one weather case.
struct SourceCaseData {
    SourceCase sc;
    double farHeight = 0;  // effective height where the rise is full (cluster included)
    double farWind = 0;    // and the wind speed there
};

struct ConcentrationEngine::Shared {
    explicit Shared(const PreparedRun& r)
        : run(r)
    { }
    const PreparedRun& run;
    int tilePoints = kDefaultTilePoints;
    PairKernel kernel = nullptr;
    PlumeOptions options;
    std::vector<SourceCaseData> caseData;      // case * sources + source
    std::vector<const ClusterLine*> clusters;  // per source, null for none
    std::vector<double> x0;                    // source * 5 + class - 1: distance of full rise
    std::vector<char> sourceUsable;            // per source: emissions, Alfa, fractions in range
    // the limits that are set
    int limits = 0;
    std::array<double, 3> limit{};
    std::array<int, 3> limitSlot{};
    // the block being computed: directions blockStart .. blockStart + blockLength - 1
    int blockStart = 0, blockLength = 0, stride = 0;
    std::vector<double> phi;         // stride values, NaN past the block
    std::vector<double> shares;      // rose row * stride + place
    std::vector<int> spreadSlot;     // per source: its initial spreads, -1 for point sources
    std::vector<double> sy0, sz0;    // (slot * 5 + class - 1) * stride + place
    std::vector<char> spreadUsable;  // slot * 5 + class - 1
    std::atomic<int> nextTile{0};

    void prepareBlock(int start, int length);
};

// The first contribution without a finite value that a thread met, in loop order.
struct EngineFailure {
    bool failed = false;
    std::tuple<int, int, int, int> at{};  // direction, case, source, point
    std::string text;
    void record(int direction, int caseIndex, int source, int point, std::string message);
};

// One (source, point) pair of a tile, as the matrices give it.
struct TilePair {
    double distance = 0, delta = 0, theta = 0, zmax = 0;
    bool onSource = false;  // the point stands on the source and gets nothing from it
};

struct ConcentrationEngine::Worker {
    int pointBegin = 0, pointCount = 0;                       // the tile
    std::vector<TilePair> pairs;                              // source * tilePoints + place
    std::vector<double> nearPow;                              // (D / x0)^0.66666 for the current class, same index
    std::vector<double> concentration, alfaSum;               // place * stride + direction place
    std::array<std::vector<double>, 3> exceedAlfa, exceeded;  // by set limit
    std::vector<double> bestValue;                            // maximum run: the tile's best of the block ...
    std::vector<int> bestDirection, bestCase;                 // ... and where it was reached
    std::int64_t contributions = 0;
    EngineFailure failure;

    // Computes tile `tile` of the block into the state (only the tile's points are touched).
    void computeTile(const Shared&, ConcentrationState&, int tile);
};

}  // namespace ovd
