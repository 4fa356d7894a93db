#include "model/engine/engine_tile.h"

#include <algorithm>
#include <cmath>

#include "common/portable_math.h"
#include "model/engine/plume_contribution.h"

namespace ovd {

namespace {

constexpr double kRangeMargin = 1e-6;  // degrees; the exact test decides, the range only selects

}  // namespace

void sectorRuns(const ConcentrationEngine::Shared& sh, double deltaCorr, double half, PairLanes& out)
{
    const double step = sh.run.params.step;
    const int last = sh.blockStart + sh.blockLength - 1;
    std::array<std::pair<int, int>, 3> raw{};
    int n = 0;
    auto add = [&](double lo, double hi) {
        if (hi < sh.blockLow || lo > sh.blockHigh)
            return;  // most pairs: no direction of the block near the sector
        const int a = std::max(sh.blockStart, static_cast<int>(std::ceil((lo - kRangeMargin) / step)));
        const int b = std::min(last, static_cast<int>(std::floor((hi + kRangeMargin) / step)));
        if (a <= b)
            raw[static_cast<std::size_t>(n++)] = {a - sh.blockStart, b + 1 - sh.blockStart};
    };
    add(deltaCorr - half, deltaCorr + half);
    add(deltaCorr + 360.0 - half, 720.0);
    add(-360.0, deltaCorr - 360.0 + half);
    for (int i = 1; i < n; ++i)  // at most three: insertion sort by start
        for (int j = i; j > 0 && raw[static_cast<std::size_t>(j)] < raw[static_cast<std::size_t>(j - 1)]; --j)
            std::swap(raw[static_cast<std::size_t>(j)], raw[static_cast<std::size_t>(j - 1)]);
    out.ranges = 0;
    for (int i = 0; i < n; ++i) {
        const auto [a, b] = raw[static_cast<std::size_t>(i)];
        if (out.ranges > 0 && a <= out.to[out.ranges - 1]) {
            out.to[out.ranges - 1] = std::max(out.to[out.ranges - 1], b);
        } else {
            out.from[out.ranges] = a;
            out.to[out.ranges++] = b;
        }
    }
}

// The sector comes first: most pairs have no direction of a block inside it, and the
// written-out formulas give exactly 0 outside it before anything else is computed, so such a
// pair is dropped before the terrain and wind terms. Plain where some value lies outside the
// ranges the vector path is made for (a point closer than a millimetre, a plume above about
// 1100 m, absurd terrain or Theta): the written-out formulas then decide alone whether its
// contributions are finite.
double pairHeight(const ModelSource& src, const SourceCaseData& cd, const ClusterLine* cluster, const TilePair& tp,
                  double nearPow)
{
    if (src.givenRise || !(tp.distance < cd.sc.x0))
        return cd.farHeight;
    double rise = cd.sc.fullRise * nearPow;
    if (cluster)
        rise = clusterRise(rise, src.cluster, *cluster);
    return src.h + rise;
}

PairPath hoistPair(const ConcentrationEngine::Shared& sh, const ModelSource& src, const SourceCaseData& cd,
                   const WeatherCase& wc, const StabilityConstants& k, const TilePair& tp, double h,
                   const ReferencePoint& pt, bool sector, PairLanes& out)
{
    double deltaCorr = tp.delta - (h - 10.0) * kDeltaPerMetre;
    if (deltaCorr >= 360.0)
        deltaCorr -= 360.0;
    if (!(within(tp.distance, 1e-3, 1e7) && deltaCorr >= -45.0 && deltaCorr < 360.0))
        return PairPath::Plain;
    if (sector) {
        sectorRuns(sh, deltaCorr, sectorHalfWidth(src.type), out);
        if (out.ranges == 0)
            return PairPath::None;
    }
    double h2 = h;
    if ((1.0 - k.b) * h < tp.zmax)
        h2 = k.b * h + tp.zmax;
    const double t = altitudeCorrection(wc.stabilityClass, wc.speed, pt.z, src.z + h2);
    // u2 as windAtHeight gives it: the speed at 10 m times the profile's factor
    const double profile = h2 == cd.farHeight ? cd.farProfile : windProfile(h2, k.eps);
    const double u2 = wc.speed * profile;
    const VerticalTerms z = verticalTerms(pt.z - src.z, pt.l, h2, sh.options.freeAtmosphere);
    out.deltaCorr = deltaCorr;
    out.distance = tp.distance;
    out.scaleY = tp.scaleY;
    out.scaleZ = tp.scaleZ;
    out.h2 = h2;
    out.profile = profile;
    out.a1 = z.z1 - h2;
    out.a2 = z.z2 + h2;
    out.a3 = z.z3 - h2;
    out.theta = tp.theta;
    out.second = tp.theta != 1.0;
    out.third = tp.theta != 0.0;
    out.sameAxes = out.a3 == out.a1;
    out.numerator = cd.sc.q * t;
    out.twoPiWind = 2.0 * kModelPi * u2;
    out.perWind = 1.0 / u2;
    // With these bounds x lies between 0.7 mm and 1e7 m inside the sector, both spreads
    // above 1e-4 m, and every product of either computation stays finite.
    if (!(within(u2, 1e-6, 1e6) && within(t, -1e6, 1e6) && within(out.a1, -1e8, 1e8) && within(out.a2, -1e8, 1e8) &&
          within(out.a3, -1e8, 1e8) && within(tp.theta, -1e6, 1e6)))
        return PairPath::Plain;
    return PairPath::Vector;
}

void EngineFailure::record(int direction, int caseIndex, int source, int point, std::string message)
{
    const auto where = std::make_tuple(direction, caseIndex, source, point);
    if (failed && !(where < at))
        return;
    failed = true;
    at = where;
    text = std::move(message);
}

void ConcentrationEngine::Worker::computeTile(const Shared& sh, ConcentrationState& st, int tile)
{
    loadTile(sh, tile);
    for (int cls = 1; cls <= kStabilityClasses; ++cls) {
        const auto c = static_cast<std::size_t>(cls - 1);
        if (sh.fullCases[c].empty())
            continue;
        setClass(sh, cls);
        computeCases(sh, st, sh.fullCases[c]);
        computeFurtherSpeeds(sh, st, cls);
    }
    if (sh.run.maximum())
        storeMaximum(sh, st);
}

void ConcentrationEngine::Worker::loadTile(const Shared& sh, int tile)
{
    const PreparedRun& run = sh.run;
    const ConcentrationStudy& study = *run.study;
    const int nSources = run.sourceCount();
    const int tp = sh.tilePoints;
    pointBegin = tile * tp;
    pointCount = std::min(tp, run.pointCount() - pointBegin);

    // the tile's pairs, read from the matrices source by source
    pairs.resize({nSources, tp});
    nearPow.resize({nSources, tp});
    const CoefficientMatrices& mx = study.matrices;
    for (int s = 0; s < nSources; ++s) {
        const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
        const std::size_t row = mx.index(static_cast<std::size_t>(s), static_cast<std::size_t>(pointBegin));
        for (int l = 0; l < pointCount; ++l) {
            const ReferencePoint& pt = study.points[static_cast<std::size_t>(pointBegin + l)];
            TilePair& p = pairs(s, l);
            p.onSource = src.x == pt.x && src.y == pt.y;
            p.distance = std::sqrt((src.x - pt.x) * (src.x - pt.x) + (src.y - pt.y) * (src.y - pt.y));
            p.delta = mx.delta[row + static_cast<std::size_t>(l)];
            p.theta = mx.theta[row + static_cast<std::size_t>(l)];
            p.zmax = mx.zmax[row + static_cast<std::size_t>(l)];
            p.live = sh.mayReachBlock(s, p.delta);
            p.logDistance = p.live ? portable::log(p.distance) : 0.0;
        }
    }
    if (run.maximum()) {
        bestValue.assign(static_cast<std::size_t>(tp), 0.0);
        bestDirection.assign(static_cast<std::size_t>(tp), -1);
        bestCase.assign(static_cast<std::size_t>(tp), -1);
    }
}

// The rise before full rise and the spreads at the pair's distance depend on the class only.
void ConcentrationEngine::Worker::setClass(const Shared& sh, int stabilityClass)
{
    const StabilityConstants& k = stabilityConstants(stabilityClass);
    for (int s = 0; s < sh.run.sourceCount(); ++s) {
        const double x0 = sh.x0(s, stabilityClass - 1);
        for (int l = 0; l < pointCount; ++l) {
            TilePair& pair = pairs(s, l);
            if (pair.live) {
                pair.scaleY = k.c * portable::exp(k.d * pair.logDistance);
                pair.scaleZ = k.e * portable::exp(k.f * pair.logDistance);
            }
            nearPow(s, l) =
                pair.live && pair.distance < x0 ? portable::pow(pair.distance / x0, kNearRiseExponent) : 1.0;
        }
    }
}

// After all sources: the case's values into the run's sums.
void ConcentrationEngine::Worker::finishCase(const Shared& sh, ConcentrationState& st, int caseIndex, int slot)
{
    const PreparedRun& run = sh.run;
    const std::size_t nPoints = static_cast<std::size_t>(run.pointCount());
    const int length = sh.blockLength;
    const WeatherCase& wc = run.cases[static_cast<std::size_t>(caseIndex)];
    const double* share = wc.roseRow >= 0 ? sh.shares.row(wc.roseRow) : nullptr;
    const bool lastCase = static_cast<std::size_t>(caseIndex) + 1 == run.cases.size();
    for (int l = 0; l < pointCount; ++l) {
        const std::size_t r = static_cast<std::size_t>(pointBegin + l);
        const double* conc = concentration.row(slot, l);
        if (share) {
            const double* alfa = alfaSum.row(slot, l);
            double annual = st.annual[r];
            for (int j = 0; j < length; ++j)
                annual += share[j] * alfa[j];
            st.annual[r] = annual;
            for (int m = 0; m < sh.limits; ++m) {
                const double* ea = exceedAlfa[static_cast<std::size_t>(m)].row(slot, l);
                double& hours = st.hours[static_cast<std::size_t>(sh.limitSlot[static_cast<std::size_t>(m)])][r];
                for (int j = 0; j < length; ++j)
                    hours += share[j] * ea[j] * kHoursPerYear;
            }
        }
        if (run.maximum()) {
            for (int j = 0; j < length; ++j)
                offerMaximum(l, j, caseIndex, conc[j]);
        } else {
            double& best = st.caseMaximum[static_cast<std::size_t>(wc.roseRow) * nPoints + r];
            for (int j = 0; j < length; ++j)
                if (conc[j] > best)
                    best = conc[j];
        }
        // the state keeps the last case's values of the block's last direction, as the
        // checkpoint records them
        if (lastCase) {
            const int j = length - 1;
            st.caseConcentration[r] = conc[j];
            st.caseSum[r] = alfaSum(slot, l, j);
            for (std::size_t m = 0; m < 3; ++m) {
                st.exceedAlfa[m][r] = 0.0;
                st.exceedFlag[m][r] = 0;
            }
            for (int m = 0; m < sh.limits; ++m) {
                const auto slotM = static_cast<std::size_t>(sh.limitSlot[static_cast<std::size_t>(m)]);
                st.exceedAlfa[slotM][r] = exceedAlfa[static_cast<std::size_t>(m)](slot, l, j);
                st.exceedFlag[slotM][r] = exceeded[static_cast<std::size_t>(m)](slot, l, j) != 0.0;
            }
        }
    }
}

void ConcentrationEngine::Worker::offerMaximum(int l, int j, int caseIndex, double value)
{
    double& best = bestValue[static_cast<std::size_t>(l)];
    int& bestDir = bestDirection[static_cast<std::size_t>(l)];
    int& bestQ = bestCase[static_cast<std::size_t>(l)];
    // the cases are not computed in their order (the rose rows before the further speeds),
    // so a tie is decided by the place in the loop order, not by which came first here
    if (value > best || (value == best && bestDir >= 0 && std::pair(j, caseIndex) < std::pair(bestDir, bestQ))) {
        best = value;
        bestDir = j;
        bestQ = caseIndex;
    }
}

// Values of earlier blocks come earlier in the loop order: only a greater one replaces them.
void ConcentrationEngine::Worker::storeMaximum(const Shared& sh, ConcentrationState& st)
{
    for (int l = 0; l < pointCount; ++l) {
        const std::size_t r = static_cast<std::size_t>(pointBegin + l);
        const int bestDir = bestDirection[static_cast<std::size_t>(l)];
        if (bestDir >= 0 && bestValue[static_cast<std::size_t>(l)] > st.maxConcentration[r]) {
            const WeatherCase& wc = sh.run.cases[static_cast<std::size_t>(bestCase[static_cast<std::size_t>(l)])];
            st.maxConcentration[r] = bestValue[static_cast<std::size_t>(l)];
            st.maxClass[r] = wc.stabilityClass;
            st.maxSpeed[r] = wc.speed;
            st.maxDirection[r] = sh.run.direction(sh.blockStart + bestDir);
        }
    }
}

}  // namespace ovd
