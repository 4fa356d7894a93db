// The maximum run's further speeds of a class (all but the lowest and the rose rows): a
// bound per (point, direction) over those speeds, then only the directions whose bound
// reaches the point's best so far are computed, for a source without rise with the
// geometry shared by all the speeds.
#include <algorithm>
#include <cmath>

#include "model/engine/engine_tile.h"
#include "model/engine/maximum_bound.h"

namespace ovd {

namespace {

constexpr int kMaxNeededRuns = 12;  // with a pair's three sector runs, at most kMaxRuns together

void appendDirection(DirectionRuns& out, int j)
{
    if (out.count > 0 && out.to[out.count - 1] == j) {
        out.to[out.count - 1] = j + 1;
        return;
    }
    if (out.count == kMaxNeededRuns) {
        // the closest runs are joined: a direction computed without need changes nothing
        int join = 0;
        for (int g = 1; g + 1 < out.count; ++g)
            if (out.from[g + 1] - out.to[g] < out.from[join + 1] - out.to[join])
                join = g;
        out.to[join] = out.to[join + 1];
        for (int g = join + 1; g + 1 < out.count; ++g) {
            out.from[g] = out.from[g + 1];
            out.to[g] = out.to[g + 1];
        }
        --out.count;
    }
    out.from[out.count] = j;
    out.to[out.count++] = j + 1;
}

// The directions of `within` whose bound is not below `best` (all of them when the point is
// open), as at most kMaxNeededRuns runs.
void neededRuns(const double* bound, const DirectionRuns& within, double best, bool open, DirectionRuns& out)
{
    if (open) {
        out = within;
        return;
    }
    out.count = 0;
    for (int g = 0; g < within.count; ++g)
        for (int j = within.from[g]; j < within.to[g]; ++j)
            if (!(bound[j] < best))
                appendDirection(out, j);
}

// The pair's sector runs within the point's needed runs (both ascending and disjoint).
void intersect(const PairLanes& sector, const DirectionRuns& needed, DirectionRuns& out)
{
    out.count = 0;
    for (int a = 0; a < sector.ranges; ++a)
        for (int b = 0; b < needed.count; ++b) {
            const int lo = std::max(sector.from[a], needed.from[b]), hi = std::min(sector.to[a], needed.to[b]);
            if (lo < hi) {
                out.from[out.count] = lo;
                out.to[out.count++] = hi;
            }
        }
}

// Whether any speed of the group can put a needed direction inside the pair's sector: the
// corrected Delta of every speed lies in the interval its slowest and fastest speed span.
bool mayReach(const ConcentrationEngine::Shared& sh, const ModelSource& src, const ClusterLine* cluster,
              const std::vector<int>& group, int s, const TilePair& pair, double nearPow, const DirectionRuns& need)
{
    BoundPair bp;
    bp.distance = pair.distance;
    bp.delta = pair.delta;
    bp.half = sectorHalfWidth(src.type);
    bp.heightLow = pairHeight(src, sh.caseData(group.back(), s), cluster, pair, nearPow);
    bp.heightHigh = pairHeight(src, sh.caseData(group.front(), s), cluster, pair, nearPow);
    const PairBound pb(bp);
    if (!pb.usable())
        return true;  // no interval: every speed is looked at
    PairLanes sector;
    sectorRuns(sh, (pb.deltaLow() + pb.deltaHigh()) / 2.0, bp.half + (pb.deltaHigh() - pb.deltaLow()) / 2.0, sector);
    DirectionRuns runs;
    intersect(sector, need, runs);
    return runs.count > 0;
}

}  // namespace


void ConcentrationEngine::Worker::computeFurtherSpeeds(const Shared& sh, ConcentrationState& st, int stabilityClass)
{
    const std::vector<std::vector<int>>& groups = sh.furtherGroups[static_cast<std::size_t>(stabilityClass - 1)];
    if (groups.empty())
        return;
    const std::size_t tp = static_cast<std::size_t>(sh.tilePoints);
    DirectionRuns block;
    block.count = 1;
    block.to[0] = sh.blockLength;
    coarse.assign(tp, block);
    if (sh.pruneMaximum) {
        // one bound over all the class's further speeds first: the groups' own bounds are
        // then needed only where it leaves directions
        boundFurther(sh, stabilityClass, groups.front().front(), groups.back().back());
        for (int l = 0; l < pointCount; ++l) {
            const auto li = static_cast<std::size_t>(l);
            const double best = std::max(bestValue[li], st.maxConcentration[static_cast<std::size_t>(pointBegin + l)]);
            neededRuns(bound.row(l), block, best, open[li] != 0, coarse[li]);
        }
    }
    for (const std::vector<int>& group : groups)
        computeFurther(sh, st, stabilityClass, group);
}

void ConcentrationEngine::Worker::computeFurther(const Shared& sh, ConcentrationState& st, int stabilityClass,
                                                 const std::vector<int>& further)
{
    const int n = static_cast<int>(further.size());
    const std::size_t tp = static_cast<std::size_t>(sh.tilePoints);
    if (sh.pruneMaximum)
        boundFurther(sh, stabilityClass, further.front(), further.back());
    needed.resize(tp);
    furtherSums.resize({n, sh.tilePoints, sh.stride});
    for (int l = 0; l < pointCount; ++l) {
        const std::size_t r = static_cast<std::size_t>(pointBegin + l);
        const auto li = static_cast<std::size_t>(l);
        const double best = std::max(bestValue[li], st.maxConcentration[r]);
        neededRuns(sh.pruneMaximum ? bound.row(l) : nullptr, coarse[li], best,
                   !sh.pruneMaximum || open[li] != 0, needed[li]);
        for (int i = 0; i < n; ++i) {
            double* sums = furtherSums.row(i, l);
            for (int g = 0; g < needed[li].count; ++g)
                std::fill(sums + needed[li].from[g], sums + needed[li].to[g], 0.0);
        }
    }
    speedLanes.resize(static_cast<std::size_t>(n));
    for (int s = 0; s < sh.run.sourceCount(); ++s)
        furtherSource(sh, stabilityClass, further, s);
    for (int i = 0; i < n; ++i)
        for (int l = 0; l < pointCount; ++l) {
            const auto li = static_cast<std::size_t>(l);
            const double* sums = furtherSums.row(i, l);
            for (int g = 0; g < needed[li].count; ++g)
                for (int j = needed[li].from[g]; j < needed[li].to[g]; ++j)
                    offerMaximum(l, j, further[static_cast<std::size_t>(i)], sums[j]);
        }
}

namespace {

// What a source's bound over the speeds of cases slowest to fastest shares at every point;
// `usable` false where the source must go through the written-out formulas.
BoundPair sourceBound(const ConcentrationEngine::Shared& sh, int stabilityClass, int slowest, int s, bool& usable)
{
    const SourceCaseData& slow = sh.caseData(slowest, s);
    const SourceLanes sl = sh.sourceLanes(s, stabilityClass, nullptr, usable);
    usable = usable && within(slow.sc.q, -1e25, 1e25);
    BoundPair bp;
    bp.q = slow.sc.q;
    bp.vs = sl.vs;
    bp.half = sl.halfSector;
    bp.sourceZ = sh.run.sources[static_cast<std::size_t>(s)].z;
    const int slot = sh.spreadSlot[static_cast<std::size_t>(s)];
    if (slot >= 0) {
        const SpreadRange& range = sh.spreadRange(slot, stabilityClass - 1);
        bp.syLow = range.syLow;
        bp.syHigh = range.syHigh;
        bp.szLow = range.szLow;
        bp.szHigh = range.szHigh;
    }
    return bp;
}

}  // namespace

// Sums over the sources of each pair's bound over the speeds of cases slowest to fastest,
// per (point, direction) in the point's coarse runs; a point where some pair gives no bound
// stays open.
void ConcentrationEngine::Worker::boundFurther(const Shared& sh, int stabilityClass, int slowest, int fastest)
{
    const PreparedRun& run = sh.run;
    bound.assign({sh.tilePoints, sh.stride}, 0.0);
    open.assign(static_cast<std::size_t>(sh.tilePoints), 0);
    BoundSpeeds speeds;
    speeds.k = stabilityConstants(stabilityClass);
    speeds.low = run.cases[static_cast<std::size_t>(slowest)].speed;
    speeds.high = run.cases[static_cast<std::size_t>(fastest)].speed;
    speeds.decay = run.decay;
    speeds.freeAtmosphere = run.params.freeAtmosphere;
    for (int s = 0; s < run.sourceCount(); ++s) {
        bool usable = false;
        BoundPair bp = sourceBound(sh, stabilityClass, slowest, s, usable);
        for (int l = 0; l < pointCount; ++l) {
            const TilePair& pair = pairs(s, l);
            const DirectionRuns& left = coarse[static_cast<std::size_t>(l)];
            if (pair.onSource || open[static_cast<std::size_t>(l)] || left.count == 0)
                continue;
            if (!usable)
                open[static_cast<std::size_t>(l)] = 1;
            else if (pair.live && !boundPair(sh, speeds, slowest, fastest, s, l, bp))  // not live: 0 in every case
                open[static_cast<std::size_t>(l)] = 1;
        }
    }
}

// One pair's bound added into the point's; false where it has none.
bool ConcentrationEngine::Worker::boundPair(const Shared& sh, const BoundSpeeds& speeds, int slowest, int fastest,
                                            int s, int l, BoundPair& bp)
{
    const ModelSource& src = sh.run.sources[static_cast<std::size_t>(s)];
    const ClusterLine* cluster = sh.clusters[static_cast<std::size_t>(s)];
    const TilePair& pair = pairs(s, l);
    const ReferencePoint& pt = sh.run.study->points[static_cast<std::size_t>(pointBegin + l)];
    bp.distance = pair.distance;
    bp.delta = pair.delta;
    bp.theta = pair.theta;
    bp.zmax = pair.zmax;
    bp.heightLow = pairHeight(src, sh.caseData(fastest, s), cluster, pair, nearPow(s, l));
    bp.heightHigh = pairHeight(src, sh.caseData(slowest, s), cluster, pair, nearPow(s, l));
    bp.pointZ = pt.z;
    bp.pointL = pt.l;
    PairBound pb(bp);
    if (!pb.usable())
        return false;
    // the directions some speed can put inside the sector
    PairLanes sector;
    DirectionRuns runs;
    sectorRuns(sh, (pb.deltaLow() + pb.deltaHigh()) / 2.0, bp.half + (pb.deltaHigh() - pb.deltaLow()) / 2.0, sector);
    intersect(sector, coarse[static_cast<std::size_t>(l)], runs);
    if (runs.count == 0)
        return true;
    if (!pb.complete(bp, speeds))
        return false;
    double* b = bound.row(l);
    for (int g = 0; g < runs.count; ++g)
        for (int j = runs.from[g]; j < runs.to[g]; ++j)
            b[j] += pb.at(sh.phi[static_cast<std::size_t>(j)]);
    return true;
}

void ConcentrationEngine::Worker::furtherSource(const Shared& sh, int stabilityClass, const std::vector<int>& further,
                                                int s)
{
    bool usable = false;
    const SourceLanes sl = sh.sourceLanes(s, stabilityClass, nullptr, usable);
    usable = usable && within(sh.caseData(further.front(), s).sc.q, -1e25, 1e25);
    const bool shared = sh.withoutRise(s, stabilityClass - 1) != 0;
    for (int l = 0; l < pointCount; ++l) {
        const DirectionRuns& need = needed[static_cast<std::size_t>(l)];
        const TilePair& pair = pairs(s, l);
        if (pair.onSource || !pair.live || need.count == 0)
            continue;
        if (!shared &&
            !mayReach(sh, sh.run.sources[static_cast<std::size_t>(s)], sh.clusters[static_cast<std::size_t>(s)],
                      further, s, pair, nearPow(s, l), need))
            continue;
        // without rise one pass serves every speed; with rise each speed has its own plume
        const int n = static_cast<int>(further.size());
        for (int i = 0; i < (shared ? 1 : n); ++i)
            furtherSpeeds(sh, stabilityClass, further, i, shared ? n : 1, s, l, sl, usable);
    }
}

// The speeds further[first] .. further[first + speeds - 1] of pair (s, l), which share the
// plume of the first of them.
void ConcentrationEngine::Worker::furtherSpeeds(const Shared& sh, int stabilityClass, const std::vector<int>& further,
                                                int first, int speeds, int s, int l, const SourceLanes& sl, bool usable)
{
    const PreparedRun& run = sh.run;
    const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
    const StabilityConstants& k = stabilityConstants(stabilityClass);
    const ReferencePoint& pt = run.study->points[static_cast<std::size_t>(pointBegin + l)];
    const DirectionRuns& need = needed[static_cast<std::size_t>(l)];
    const int q = further[static_cast<std::size_t>(first)];
    const SourceCaseData& cd = sh.caseData(q, s);
    const double h = pairHeight(src, cd, sh.clusters[static_cast<std::size_t>(s)], pairs(s, l), nearPow(s, l));
    PairLanes lanes;
    const PairPath path = hoistPair(sh, src, cd, run.cases[static_cast<std::size_t>(q)], k, pairs(s, l), h, pt, true,
                                    lanes);
    if (path == PairPath::None)
        return;
    auto caseOf = [&](int m) { return further[static_cast<std::size_t>(first + m)]; };
    if (path == PairPath::Plain || !usable) {
        for (int m = 0; m < speeds; ++m)
            furtherPlain(sh, sl, caseOf(m), s, l, furtherSums.row(first + m, l), need, 0, 0);
        return;
    }
    DirectionRuns runs;
    intersect(lanes, need, runs);
    if (runs.count == 0)
        return;
    // the profile factor and, but in class III, the altitude factor are the same at every speed
    const double profile = lanes.profile;
    const double t =
        altitudeCorrection(stabilityClass, run.cases[static_cast<std::size_t>(q)].speed, pt.z, src.z + lanes.h2);
    for (int m = 0; m < speeds; ++m) {
        const WeatherCase& wm = run.cases[static_cast<std::size_t>(caseOf(m))];
        const double u2 = wm.speed * profile;
        SpeedLanes& sp = speedLanes[static_cast<std::size_t>(m)];
        sp.numerator =
            cd.sc.q * (stabilityClass == 3 ? altitudeCorrection(stabilityClass, wm.speed, pt.z, src.z + lanes.h2) : t);
        sp.twoPiWind = 2.0 * kModelPi * u2;
        sp.perWind = 1.0 / u2;
        sp.sums = furtherSums.row(first + m, l);
    }
    const SpeedsResult res = sh.kernels.speeds(sl, lanes, runs, speedLanes.data(), speeds);
    contributions += static_cast<std::int64_t>(res.counted);
    if (res.stoppedRun >= 0) {
        // the rest through the written-out formulas
        for (int m = 0; m < speeds; ++m) {
            const int from = m < res.stoppedSpeed ? res.stoppedEnd : res.stoppedAt;
            furtherPlain(sh, sl, caseOf(m), s, l, furtherSums.row(first + m, l), runs, res.stoppedRun, from);
        }
    }
}

void ConcentrationEngine::Worker::furtherPlain(const Shared& sh, const SourceLanes& sl, int caseIndex, int s, int l,
                                               double* sums, const DirectionRuns& runs, int fromRun, int fromDirection)
{
    plainDirections(sh, sl, caseIndex, s, l, runs, fromRun, fromDirection, [sums](int j, double c) { sums[j] += c; });
}

}  // namespace ovd
