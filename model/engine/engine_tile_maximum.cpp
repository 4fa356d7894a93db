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
    const int nSources = sh.run.sourceCount();
    BoundPair bp;
    bp.distance = pair.distance;
    bp.delta = pair.delta;
    bp.half = sectorHalfWidth(src.type);
    bp.heightLow =
        pairHeight(src, sh.caseData[static_cast<std::size_t>(group.back() * nSources + s)], cluster, pair, nearPow);
    bp.heightHigh =
        pairHeight(src, sh.caseData[static_cast<std::size_t>(group.front() * nSources + s)], cluster, pair, nearPow);
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
    const std::size_t stride = static_cast<std::size_t>(sh.stride);
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
            neededRuns(bound.data() + li * stride, block, best, open[li] != 0, coarse[li]);
        }
    }
    for (const std::vector<int>& group : groups)
        computeFurther(sh, st, stabilityClass, group);
}

void ConcentrationEngine::Worker::computeFurther(const Shared& sh, ConcentrationState& st, int stabilityClass,
                                                 const std::vector<int>& further)
{
    const int n = static_cast<int>(further.size());
    const std::size_t stride = static_cast<std::size_t>(sh.stride);
    const std::size_t tp = static_cast<std::size_t>(sh.tilePoints);
    if (sh.pruneMaximum)
        boundFurther(sh, stabilityClass, further.front(), further.back());
    needed.resize(tp);
    furtherSums.resize(static_cast<std::size_t>(n) * tp * stride);
    for (int l = 0; l < pointCount; ++l) {
        const std::size_t r = static_cast<std::size_t>(pointBegin + l);
        const auto li = static_cast<std::size_t>(l);
        const double best = std::max(bestValue[li], st.maxConcentration[r]);
        neededRuns(sh.pruneMaximum ? bound.data() + li * stride : nullptr, coarse[li], best,
                   !sh.pruneMaximum || open[li] != 0, needed[li]);
        for (int i = 0; i < n; ++i) {
            double* sums = furtherSums.data() + (static_cast<std::size_t>(i) * tp + li) * stride;
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
            const double* sums = furtherSums.data() + (static_cast<std::size_t>(i) * tp + li) * stride;
            for (int g = 0; g < needed[li].count; ++g)
                for (int j = needed[li].from[g]; j < needed[li].to[g]; ++j)
                    offerMaximum(l, j, further[static_cast<std::size_t>(i)], sums[j]);
        }
}

// Sums over the sources of each pair's bound over the speeds of cases slowest to fastest,
// per (point, direction) in the point's coarse runs; a point where some pair gives no bound
// stays open.
void ConcentrationEngine::Worker::boundFurther(const Shared& sh, int stabilityClass, int slowest, int fastest)
{
    const PreparedRun& run = sh.run;
    const std::size_t stride = static_cast<std::size_t>(sh.stride);
    const int tp = sh.tilePoints;
    const int nSources = run.sourceCount();
    bound.assign(static_cast<std::size_t>(tp) * stride, 0.0);
    open.assign(static_cast<std::size_t>(tp), 0);
    BoundSpeeds speeds;
    speeds.k = stabilityConstants(stabilityClass);
    speeds.low = run.cases[static_cast<std::size_t>(slowest)].speed;
    speeds.high = run.cases[static_cast<std::size_t>(fastest)].speed;
    speeds.decay = run.decay;
    speeds.freeAtmosphere = run.params.freeAtmosphere;
    PairLanes sector;
    DirectionRuns runs;
    for (int s = 0; s < nSources; ++s) {
        const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
        const SourceCaseData& slow = sh.caseData[static_cast<std::size_t>(slowest * nSources + s)];
        const SourceCaseData& fast = sh.caseData[static_cast<std::size_t>(fastest * nSources + s)];
        const ClusterLine* cluster = sh.clusters[static_cast<std::size_t>(s)];
        bool usable = false;
        const SourceLanes sl = sh.sourceLanes(s, stabilityClass, nullptr, usable);
        usable = usable && within(slow.sc.q, -1e25, 1e25);
        BoundPair bp;
        bp.q = slow.sc.q;
        bp.vs = sl.vs;
        bp.half = sl.halfSector;
        bp.sourceZ = src.z;
        const int slot = sh.spreadSlot[static_cast<std::size_t>(s)];
        if (slot >= 0) {
            const std::size_t at = static_cast<std::size_t>(slot * kStabilityClasses + stabilityClass - 1) * 2;
            bp.syLow = sh.spreadLow[at];
            bp.syHigh = sh.spreadHigh[at];
            bp.szLow = sh.spreadLow[at + 1];
            bp.szHigh = sh.spreadHigh[at + 1];
        }
        for (int l = 0; l < pointCount; ++l) {
            const std::size_t pi = static_cast<std::size_t>(s * tp + l);
            const TilePair& pair = pairs[pi];
            const DirectionRuns& left = coarse[static_cast<std::size_t>(l)];
            if (pair.onSource || open[static_cast<std::size_t>(l)] || left.count == 0)
                continue;
            if (!usable) {
                open[static_cast<std::size_t>(l)] = 1;
                continue;
            }
            if (!pair.live)
                continue;  // exactly 0 in every case
            const ReferencePoint& pt = run.study->points[static_cast<std::size_t>(pointBegin + l)];
            bp.distance = pair.distance;
            bp.delta = pair.delta;
            bp.theta = pair.theta;
            bp.zmax = pair.zmax;
            bp.heightLow = pairHeight(src, fast, cluster, pair, nearPow[pi]);
            bp.heightHigh = pairHeight(src, slow, cluster, pair, nearPow[pi]);
            bp.pointZ = pt.z;
            bp.pointL = pt.l;
            PairBound pb(bp);
            if (!pb.usable()) {
                open[static_cast<std::size_t>(l)] = 1;
                continue;
            }
            // the directions some speed can put inside the sector
            sectorRuns(sh, (pb.deltaLow() + pb.deltaHigh()) / 2.0, bp.half + (pb.deltaHigh() - pb.deltaLow()) / 2.0,
                       sector);
            intersect(sector, left, runs);
            if (runs.count == 0)
                continue;
            if (!pb.complete(bp, speeds)) {
                open[static_cast<std::size_t>(l)] = 1;
                continue;
            }
            double* b = bound.data() + static_cast<std::size_t>(l) * stride;
            for (int g = 0; g < runs.count; ++g)
                for (int j = runs.from[g]; j < runs.to[g]; ++j)
                    b[j] += pb.at(sh.phi[static_cast<std::size_t>(j)]);
        }
    }
}

void ConcentrationEngine::Worker::furtherSource(const Shared& sh, int stabilityClass, const std::vector<int>& further,
                                                int s)
{
    const PreparedRun& run = sh.run;
    const int n = static_cast<int>(further.size());
    const int nSources = run.sourceCount();
    const std::size_t stride = static_cast<std::size_t>(sh.stride);
    const std::size_t tp = static_cast<std::size_t>(sh.tilePoints);
    const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
    const ClusterLine* cluster = sh.clusters[static_cast<std::size_t>(s)];
    const StabilityConstants& k = stabilityConstants(stabilityClass);
    bool usable = false;
    const SourceLanes sl = sh.sourceLanes(s, stabilityClass, nullptr, usable);
    const SourceCaseData& first = sh.caseData[static_cast<std::size_t>(further.front() * nSources + s)];
    usable = usable && within(first.sc.q, -1e25, 1e25);
    const bool shared = sh.withoutRise[static_cast<std::size_t>(s * kStabilityClasses + stabilityClass - 1)] != 0;
    auto sumsOf = [&](int i, int l) {
        return furtherSums.data() + (static_cast<std::size_t>(i) * tp + static_cast<std::size_t>(l)) * stride;
    };
    PairLanes lanes;
    DirectionRuns runs;
    for (int l = 0; l < pointCount; ++l) {
        const DirectionRuns& need = needed[static_cast<std::size_t>(l)];
        const std::size_t pi = static_cast<std::size_t>(s) * tp + static_cast<std::size_t>(l);
        const TilePair& pair = pairs[pi];
        if (pair.onSource || !pair.live || need.count == 0)
            continue;
        const ReferencePoint& pt = run.study->points[static_cast<std::size_t>(pointBegin + l)];
        if (!shared && !mayReach(sh, src, cluster, further, s, pair, nearPow[pi], need))
            continue;
        // without rise one pass serves every speed; with rise each speed has its own plume
        for (int i = 0; i < (shared ? 1 : n); ++i) {
            const int q = further[static_cast<std::size_t>(i)];
            const WeatherCase& wc = run.cases[static_cast<std::size_t>(q)];
            const SourceCaseData& cd = sh.caseData[static_cast<std::size_t>(q * nSources + s)];
            const double h = pairHeight(src, cd, cluster, pair, nearPow[pi]);
            const PairPath path = hoistPair(sh, src, cd, wc, k, pair, h, pt, true, lanes);
            if (path == PairPath::None)
                continue;
            const int speeds = shared ? n : 1;
            if (path == PairPath::Plain || !usable) {
                for (int m = 0; m < speeds; ++m)
                    furtherPlain(sh, sl, further[static_cast<std::size_t>(i + m)], s, l, sumsOf(i + m, l), need, 0, 0);
                continue;
            }
            intersect(lanes, need, runs);
            if (runs.count == 0)
                continue;
            // the profile factor and, but in class III, the altitude factor are the same at every speed
            const double profile = windProfile(lanes.h2, k.eps);
            const double t = altitudeCorrection(stabilityClass, run.cases[static_cast<std::size_t>(q)].speed, pt.z,
                                                src.z + lanes.h2);
            for (int m = 0; m < speeds; ++m) {
                const WeatherCase& wm = run.cases[static_cast<std::size_t>(further[static_cast<std::size_t>(i + m)])];
                const double u2 = wm.speed * profile;
                SpeedLanes& sp = speedLanes[static_cast<std::size_t>(m)];
                sp.numerator = cd.sc.q *
                    (stabilityClass == 3 ? altitudeCorrection(stabilityClass, wm.speed, pt.z, src.z + lanes.h2) : t);
                sp.twoPiWind = 2.0 * kModelPi * u2;
                sp.perWind = 1.0 / u2;
                sp.sums = sumsOf(i + m, l);
            }
            const SpeedsResult res = sh.speedsKernel(sl, lanes, runs, speedLanes.data(), speeds);
            contributions += static_cast<std::int64_t>(res.counted);
            if (res.stoppedRun >= 0) {
                // the rest through the written-out formulas
                for (int m = 0; m < speeds; ++m) {
                    const int from = m < res.stoppedSpeed ? res.stoppedEnd : res.stoppedAt;
                    furtherPlain(sh, sl, further[static_cast<std::size_t>(i + m)], s, l, sumsOf(i + m, l), runs,
                                 res.stoppedRun, from);
                }
            }
        }
    }
}

void ConcentrationEngine::Worker::furtherPlain(const Shared& sh, const SourceLanes& sl, int caseIndex, int s, int l,
                                               double* sums, const DirectionRuns& runs, int fromRun, int fromDirection)
{
    const TilePair& pair = pairs[static_cast<std::size_t>(s * sh.tilePoints + l)];
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
            sums[j] += c;
        }
}

}  // namespace ovd
