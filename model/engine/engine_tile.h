#pragma once
// The engine's inside: what a block of directions shares (read-only while the tiles of the
// block are computed), and what one thread holds for the tile of points it computes.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "model/engine/concentration_engine.h"
#include "model/engine/contribution_batch.h"
#include "model/engine/maximum_bound.h"
#include "model/engine/plume_contribution.h"
#include "model/engine/strided.h"

namespace ovd {

// Whether v lies in [lo, hi]; false for NaN.
inline bool within(double v, double lo, double hi)
{
    return v >= lo && v <= hi;
}

// One (source, point) pair of a tile, as the matrices give it.
struct TilePair {
    double distance = 0, delta = 0, theta = 0, zmax = 0;
    double logDistance = 0;
    double scaleY = 0, scaleZ = 0;  // c D^d and e D^f of the current class
    bool onSource = false;          // the point stands on the source and gets nothing from it
    bool live = true;               // some direction of the block can lie in its sector in some case
};

// A source in one weather case.
struct SourceCaseData {
    SourceCase sc;
    double farHeight = 0;   // effective height where the rise is full (cluster included)
    double farProfile = 0;  // and the wind profile's factor there
};

// The initial spreads of a source (area and line sources) in one class over a block.
struct SpreadRange {
    double syLow = 1e300, syHigh = -1e300, szLow = 1e300, szHigh = -1e300;
    bool usable = true;  // every value of the block within the vector path's range
};

struct ConcentrationEngine::Shared {
    explicit Shared(const PreparedRun& r)
        : run(r)
    { }
    const PreparedRun& run;
    int tilePoints = kDefaultTilePoints;
    Kernels kernels;
    bool pruneMaximum = true;
    PlumeOptions options;
    // per class (0 to 4): the cases computed in full (all of an annual or dust run; in a
    // maximum run the lowest speed and the rose rows), and the further speeds in groups of
    // neighbouring speeds, ascending (a group shares one bound)
    std::array<std::vector<int>, kStabilityClasses> fullCases;
    std::array<std::vector<std::vector<int>>, kStabilityClasses> furtherGroups;
    Strided<char, 2> withoutRise;              // by (source, class - 1): no plume rise at any speed
    Strided<SourceCaseData, 2> caseData;       // by (case, source)
    std::vector<const ClusterLine*> clusters;  // per source, null for none
    Strided<double, 2> x0;                     // by (source, class - 1): distance of full rise
    std::vector<char> sourceUsable;            // per source: emissions, Alfa, fractions in range
    // per class: (cos a)^d and (cos a)^f over the sector of a point source, then of others
    std::array<std::array<CosinePower, 4>, kStabilityClasses> cosinePowers;
    // per source: how far the plume height can turn Delta, (h - 10) * kDeltaPerMetre, over
    // every case and distance; NaN where no bound is known
    std::vector<double> turnLow, turnHigh;
    // the limits that are set
    int limits = 0;
    std::array<double, 3> limit{};
    std::array<int, 3> limitSlot{};
    // the block being computed: directions blockStart .. blockStart + blockLength - 1
    int blockStart = 0, blockLength = 0, stride = 0;
    double blockLow = 0, blockHigh = 0;   // its first and last direction, widened by a margin
    std::vector<double> phi;              // stride values, NaN past the block
    Strided<double, 2> shares;            // by (rose row, direction place)
    std::vector<int> spreadSlot;          // per source: its initial spreads, -1 for point sources
    Strided<double, 3> sy0, sz0;          // by (spread slot, class - 1, direction place)
    Strided<SpreadRange, 2> spreadRange;  // by (spread slot, class - 1)

    void prepareBlock(int start, int length);
    void boundTurns();
    // False only where no direction of the block lies in the pair's sector in any case, so
    // that every contribution of the pair in the block is exactly 0.
    bool mayReachBlock(int source, double delta) const;
    void arrangeCases(bool prune);
    // A source's per-direction values in one class; `usable` false when the source must go
    // through the written-out formulas.
    SourceLanes sourceLanes(int source, int stabilityClass, const double* share, bool& usable) const;
    // One contribution by the written-out formulas (direction place j of the block).
    double plainContribution(int source, int caseIndex, int j, const TilePair&, const ReferencePoint&,
                             const SourceLanes&) const;
};

// The first contribution without a finite value that a thread met, in loop order.
struct EngineFailure {
    bool failed = false;
    std::tuple<int, int, int, int> at{};  // direction, case, source, point
    std::string text;
    void record(int direction, int caseIndex, int source, int point, std::string message);
};

// How a (source, point, case) is computed in the current block.
enum class PairPath {
    None,    // no direction of the block lies in the sector: every contribution is exactly 0
    Vector,  // the kernel, with the values hoisted into PairLanes
    Plain,   // the written-out formulas, direction by direction
};

// Effective height of the plume of a pair in one case: rise (before full rise from nearPow,
// the class's (D / x0)^0.66666) and the cluster correction, as plumeRise and clusterRise give it.
double pairHeight(const ModelSource&, const SourceCaseData&, const ClusterLine*, const TilePair&, double nearPow);

// Everything about one (source, point, case) with plume height h that the kernels need.
// With `sector` false the sector runs are not looked at (None is never returned).
PairPath hoistPair(const ConcentrationEngine::Shared&, const ModelSource&, const SourceCaseData&, const WeatherCase&,
                   const StabilityConstants&, const TilePair&, double h, const ReferencePoint&, bool sector,
                   PairLanes& out);

// The directions of the block that can lie inside a sector of half width `half` around
// deltaCorr, as ascending disjoint runs.
void sectorRuns(const ConcentrationEngine::Shared&, double deltaCorr, double half, PairLanes& out);

// One of the cases of a class computed together, for the source being added.
struct CaseSlot {
    const WeatherCase* wc = nullptr;
    const SourceCaseData* cd = nullptr;
    SourceLanes sl;
    bool usable = false;
    PairPath path = PairPath::None;
    PairLanes lanes;
    int shared = -1;  // place among the cases one kernel call computes, -1 for none
};

struct ConcentrationEngine::Worker {
    int pointBegin = 0, pointCount = 0;  // the tile
    Strided<TilePair, 2> pairs;          // by (source, place)
    Strided<double, 2> nearPow;          // (D / x0)^0.66666 for the current class, the same
    // the sums of the cases computed together, by (slot, place, direction place)
    Strided<double, 3> concentration, alfaSum;
    std::array<Strided<double, 3>, 3> exceedAlfa, exceeded;  // by set limit
    std::vector<CaseSlot> caseSlots;                         // per case of the class, for the source being added
    std::array<CaseLanes, kMaxSharedCases> together;         // the cases one kernel call computes
    Strided<double, 3> groupAdds;                            // by (slot, source, place): added to the group's column
    std::vector<double> bestValue;                           // maximum run: the tile's best of the block ...
    std::vector<int> bestDirection, bestCase;                // ... and where it was reached
    // maximum run, the further speeds of a class
    Strided<double, 2> bound;            // by (place, direction place): no case sum can exceed it
    std::vector<char> open;              // per place: no bound (every direction is computed)
    std::vector<DirectionRuns> coarse;   // per place: directions the bound over all further speeds leaves
    std::vector<DirectionRuns> needed;   // per place: directions whose bound reaches the best
    Strided<double, 3> furtherSums;      // by (speed, place, direction place)
    std::vector<SpeedLanes> speedLanes;  // per speed, for the point being computed
    std::int64_t contributions = 0;
    EngineFailure failure;

    // Computes tile `tile` of the block into the state (only the tile's points are touched).
    void computeTile(const Shared&, ConcentrationState&, int tile);

private:
    void loadTile(const Shared&, int tile);
    void setClass(const Shared&, int stabilityClass);
    // The full cases of one class together: a plume that is the same in several of them is
    // computed once for all.
    void computeCases(const Shared&, ConcentrationState&, const std::vector<int>& cases);
    void addSource(const Shared&, const std::vector<int>& cases, int source);
    void addPair(const Shared&, const std::vector<int>& cases, int source, int place);
    void computeShared(const Shared&, int cases, int place);
    double addCase(const Shared&, const CaseSlot&, int slot, int caseIndex, int source, int place);
    // The contributions of pair (source, place) in one case by the written-out formulas over
    // the directions of `runs`, from run fromRun's direction fromDirection on: each finite
    // one is counted and handed to add(direction place, c), the first that is not is
    // recorded. The one scalar path of the loop, for what the kernels leave and for the
    // pairs outside their ranges.
    template <class Add>
    void plainDirections(const Shared&, const SourceLanes&, int caseIndex, int source, int place,
                         const DirectionRuns& runs, int fromRun, int fromDirection, Add&& add);
    void finishCase(const Shared&, ConcentrationState&, int caseIndex, int slot);
    PointSums pointSums(const Shared&, int slot, int place);
    // A case value of place l, direction place j, case q into the maximum of the block: the
    // greatest wins, of equal ones the first in the loop order (directions, then cases).
    void offerMaximum(int l, int j, int caseIndex, double value);
    void storeMaximum(const Shared&, ConcentrationState&);
    // The further speeds of a class in a maximum run (engine_tile_maximum.cpp).
    void computeFurtherSpeeds(const Shared&, ConcentrationState&, int stabilityClass);
    void computeFurther(const Shared&, ConcentrationState&, int stabilityClass, const std::vector<int>& cases);
    void boundFurther(const Shared&, int stabilityClass, int slowest, int fastest);
    bool boundPair(const Shared&, const BoundSpeeds&, int slowest, int fastest, int source, int place, BoundPair&);
    void furtherSource(const Shared&, int stabilityClass, const std::vector<int>& cases, int source);
    void furtherSpeeds(const Shared&, int stabilityClass, const std::vector<int>& further, int first, int speeds,
                       int source, int place, const SourceLanes&, bool usable);
    void furtherPlain(const Shared&, const SourceLanes&, int caseIndex, int source, int place, double* sums,
                      const DirectionRuns&, int fromRun, int fromDirection);
};

template <class Add>
void ConcentrationEngine::Worker::plainDirections(const Shared& sh, const SourceLanes& sl, int caseIndex, int s, int l,
                                                  const DirectionRuns& runs, int fromRun, int fromDirection, Add&& add)
{
    const TilePair& pair = pairs(s, l);
    const int r = pointBegin + l;
    const ReferencePoint& pt = sh.run.study->points[static_cast<std::size_t>(r)];
    for (int g = fromRun; g < runs.count; ++g)
        for (int j = g == fromRun ? std::max(fromDirection, runs.from[g]) : runs.from[g]; j < runs.to[g]; ++j) {
            const double c = sh.plainContribution(s, caseIndex, j, pair, pt, sl);
            if (!std::isfinite(c)) {
                failure.record(sh.blockStart + j, caseIndex, s, r,
                               nonFiniteContributionText(sh.run.sources[static_cast<std::size_t>(s)].number, pt.number,
                                                         sh.phi[static_cast<std::size_t>(j)]));
                continue;
            }
            contributions += c != 0.0;
            add(j, c);
        }
}

}  // namespace ovd
