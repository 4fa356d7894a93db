#include "model/engine/concentration_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/parallel_for.h"
#include "model/engine/engine_tile.h"

namespace ovd {

namespace {

constexpr std::size_t kSpeedsPerBound = 8;

// Values of a source, whatever the case and direction, inside the ranges the vector path
// is made for; any other source is computed by the written-out formulas alone.
bool sourceInRange(const ModelSource& src, const std::vector<SettlingFraction>* fractions)
{
    bool ok = within(src.alfa, -1e6, 1e6) && (src.type != kPointSource || within(src.vs, 0.0, 1e12));
    if (fractions)
        for (const SettlingFraction& f : *fractions)
            ok = ok && within(f.velocity, 0.0, 1e6) && within(f.share, -1e6, 1e6);
    return ok;
}

}  // namespace

void ConcentrationEngine::Shared::prepareBlock(int start, int length)
{
    blockStart = start;
    blockLength = length;
    blockLow = run.direction(start) - 1e-3;
    blockHigh = run.direction(start + length - 1) + 1e-3;
    stride = (length + kMaxLanes + 7) / 8 * 8;
    phi.assign(static_cast<std::size_t>(stride), std::numeric_limits<double>::quiet_NaN());
    for (int j = 0; j < length; ++j)
        phi[static_cast<std::size_t>(j)] = run.direction(start + j);
    shares.assign({kRoseRows, stride}, 0.0);
    for (int row = 0; row < kRoseRows; ++row)
        for (int j = 0; j < length; ++j)
            shares(row, j) = run.rose.at(row, start + j);
    int slots = 0;
    for (int s : spreadSlot)
        slots = std::max(slots, s + 1);
    sy0.assign({slots, kStabilityClasses, stride}, 0.0);
    sz0.assign({slots, kStabilityClasses, stride}, 0.0);
    spreadRange.assign({slots, kStabilityClasses}, SpreadRange{});
    for (std::size_t s = 0; s < spreadSlot.size(); ++s) {
        const int slot = spreadSlot[s];
        if (slot < 0)
            continue;
        for (int cls = 1; cls <= kStabilityClasses; ++cls) {
            SpreadRange& range = spreadRange(slot, cls - 1);
            for (int j = 0; j < length; ++j) {
                const InitialSpread sp =
                    initialSpread(run.sources[s], phi[static_cast<std::size_t>(j)], stabilityConstants(cls));
                sy0(slot, cls - 1, j) = sp.sy0;
                sz0(slot, cls - 1, j) = sp.sz0;
                range.syLow = std::min(range.syLow, sp.sy0);
                range.syHigh = std::max(range.syHigh, sp.sy0);
                range.szLow = std::min(range.szLow, sp.sz0);
                range.szHigh = std::max(range.szHigh, sp.sz0);
                if (!within(sp.sy0, 0.0, 1e7) || !within(sp.sz0, 0.0, 1e7))
                    range.usable = false;
            }
        }
    }
}

SourceLanes ConcentrationEngine::Shared::sourceLanes(int s, int stabilityClass, const double* share, bool& usable) const
{
    const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
    SourceLanes sl;
    sl.phi = phi.data();
    sl.share = share;
    usable = sourceUsable[static_cast<std::size_t>(s)] != 0;
    const int slot = spreadSlot[static_cast<std::size_t>(s)];
    if (slot >= 0) {
        sl.sy0 = sy0.row(slot, stabilityClass - 1);
        sl.sz0 = sz0.row(slot, stabilityClass - 1);
        usable = usable && spreadRange(slot, stabilityClass - 1).usable;
    }
    sl.halfSector = sectorHalfWidth(src.type);
    sl.k = stabilityConstants(stabilityClass);
    const auto& powers = cosinePowers[static_cast<std::size_t>(stabilityClass - 1)];
    sl.cosY = &powers[src.type == kPointSource ? 0 : 2];
    sl.cosZ = &powers[src.type == kPointSource ? 1 : 3];
    sl.vs = src.type == kPointSource ? src.vs : 0.0;
    sl.alfa = src.alfa;
    sl.decay = run.decay;
    if (run.dust()) {
        sl.fractions = run.fractions[static_cast<std::size_t>(s)].data();
        sl.fractionCount = static_cast<int>(run.fractions[static_cast<std::size_t>(s)].size());
    }
    return sl;
}

double ConcentrationEngine::Shared::plainContribution(int s, int caseIndex, int j, const TilePair& pair,
                                                      const ReferencePoint& pt, const SourceLanes& sl) const
{
    const auto si = static_cast<std::size_t>(s);
    const SourceCaseData& cd = caseData(caseIndex, s);
    const InitialSpread spread0 = sl.sy0 ? InitialSpread{sl.sy0[j], sl.sz0[j]} : InitialSpread{};
    const std::span<const SettlingFraction> fractions =
        run.dust() ? std::span<const SettlingFraction>(run.fractions[si]) : std::span<const SettlingFraction>();
    return plumeContribution(run.sources[si], cd.sc, spread0, clusters[si],
                             run.cases[static_cast<std::size_t>(caseIndex)], phi[static_cast<std::size_t>(j)], pt,
                             PairCoefficients{pair.theta, pair.delta, pair.zmax}, fractions, options);
}

// The height of a plume lies between the source's height plus the lowest and plus the
// highest full rise of its cases: before full rise the rise is a share (0 to 1) of the full
// one, and the correction for nearby sources leaves a rise of 0 or below as it is and
// multiplies a positive one by ((n + e) / (1 + e))^0.33333 with e >= 0, at most
// max(1, n). The bound is widened by far more than the rounding of those formulas.
void ConcentrationEngine::Shared::boundTurns()
{
    const int nSources = run.sourceCount();
    turnLow.assign(static_cast<std::size_t>(nSources), std::numeric_limits<double>::quiet_NaN());
    turnHigh.assign(turnLow.size(), std::numeric_limits<double>::quiet_NaN());
    for (int s = 0; s < nSources; ++s) {
        const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
        double riseLow = 0.0, riseHigh = 0.0;
        for (std::size_t q = 0; q < run.cases.size(); ++q) {
            const double rise = caseData(q, s).sc.fullRise;
            riseLow = std::min(riseLow, rise);
            riseHigh = std::max(riseHigh, rise);
        }
        if (const ClusterLine* cluster = clusters[static_cast<std::size_t>(s)])
            riseHigh *= std::max(1.0, static_cast<double>(cluster->count));
        const double low = (src.h + riseLow - 10.0) * kDeltaPerMetre;
        const double high = (src.h + riseHigh - 10.0) * kDeltaPerMetre;
        // a turn of more than a quarter circle is left to the exact test
        if (within(low, -90.0, 90.0) && within(high, -90.0, 90.0)) {
            turnLow[static_cast<std::size_t>(s)] = low - (1e-6 + 1e-9 * std::fabs(low));
            turnHigh[static_cast<std::size_t>(s)] = high + (1e-6 + 1e-9 * std::fabs(high));
        }
    }
}

// A direction phi lies in the sector where |phi - Delta'| <= half or >= 360 - half, with
// Delta' = Delta - turn, less 360 where that reaches 360. Over the block and the turns of
// the source, phi - Delta' covers an interval; the pair is out only where that interval
// keeps clear of both conditions, for Delta' and for Delta' - 360.
bool ConcentrationEngine::Shared::mayReachBlock(int s, double delta) const
{
    const double low = turnLow[static_cast<std::size_t>(s)], high = turnHigh[static_cast<std::size_t>(s)];
    if (!(within(delta, 0.0, 360.0) && low == low))
        return true;
    const double half = sectorHalfWidth(run.sources[static_cast<std::size_t>(s)].type);
    constexpr double kMargin = 1e-3;  // degrees, far above the rounding of these sums
    auto clear = [&](double dcLow, double dcHigh) {
        const double dMin = blockLow - dcHigh - kMargin, dMax = blockHigh - dcLow + kMargin;
        return (dMin > half && dMax < 360.0 - half) || (dMin > -(360.0 - half) && dMax < -half);
    };
    const double dcLow = delta - high, dcHigh = delta - low;
    if (!clear(dcLow, std::min(dcHigh, 360.0)))
        return true;
    return dcHigh >= 360.0 - kMargin && !clear(std::max(dcLow, 360.0) - 360.0 - kMargin, dcHigh - 360.0);
}

// Which cases of each class are computed in full, and which sources rise in no case of a
// class (their geometry is the same for every speed).
void ConcentrationEngine::Shared::arrangeCases(bool prune)
{
    const int nSources = run.sourceCount();
    pruneMaximum = prune;
    withoutRise.assign({nSources, kStabilityClasses}, 1);
    std::array<std::vector<int>, kStabilityClasses> further;
    for (std::size_t q = 0; q < run.cases.size(); ++q) {
        const WeatherCase& wc = run.cases[q];
        const auto c = static_cast<std::size_t>(wc.stabilityClass - 1);
        // the dust kernel folds each fraction's descent (which depends on the speed) into the
        // vertical terms: every dust case is computed in full; the last case's sums go into
        // the checkpoint
        const bool full =
            !run.maximum() || run.dust() || wc.roseRow >= 0 || fullCases[c].empty() || q + 1 == run.cases.size();
        (full ? fullCases[c] : further[c]).push_back(static_cast<int>(q));
        for (int s = 0; s < nSources; ++s) {
            // a given rise is the same at every speed
            if (caseData(q, s).sc.fullRise != 0.0 && !run.sources[static_cast<std::size_t>(s)].givenRise)
                withoutRise(s, c) = 0;
        }
    }
    // Small groups bound the plume height tightly (the rise falls with the speed); each
    // group costs one bound pass.
    for (std::size_t c = 0; c < further.size(); ++c)
        for (std::size_t i = 0; i < further[c].size(); i += kSpeedsPerBound)
            furtherGroups[c].emplace_back(
                further[c].begin() + static_cast<std::ptrdiff_t>(i),
                further[c].begin() + static_cast<std::ptrdiff_t>(std::min(i + kSpeedsPerBound, further[c].size())));
}

ConcentrationEngine::ConcentrationEngine(const PreparedRun& run, unsigned threads, int tilePoints)
    : ConcentrationEngine(run, threads, EngineOptions{tilePoints, true})
{ }

ConcentrationEngine::ConcentrationEngine(const PreparedRun& run, unsigned threads, const EngineOptions& options)
    : m_shared(std::make_unique<Shared>(run))
{
    Shared& sh = *m_shared;
    const ConcentrationStudy& study = *run.study;
    const int nSources = run.sourceCount();
    sh.tilePoints = std::max(1, options.tilePoints);
    sh.kernels = kernels(run.vectorWidth);
    sh.options.decay = run.decay;
    sh.options.freeAtmosphere = run.params.freeAtmosphere;
    sh.options.dust = run.dust();
    for (std::size_t m = 0; m < 3; ++m)
        if (run.params.limits[m] != 0.0) {
            sh.limit[static_cast<std::size_t>(sh.limits)] = run.params.limits[m];
            sh.limitSlot[static_cast<std::size_t>(sh.limits++)] = static_cast<int>(m);
        }

    for (int cls = 1; cls <= kStabilityClasses; ++cls) {
        const StabilityConstants& k = stabilityConstants(cls);
        auto& powers = sh.cosinePowers[static_cast<std::size_t>(cls - 1)];
        for (int wide = 0; wide < 2; ++wide) {
            const double half = sectorHalfWidth(wide ? kAreaSource : kPointSource);
            powers[static_cast<std::size_t>(2 * wide)] = cosinePower(k.d, half);
            powers[static_cast<std::size_t>(2 * wide + 1)] = cosinePower(k.f, half);
        }
    }
    int slots = 0;
    sh.x0.assign({nSources, kStabilityClasses}, 0.0);
    for (int s = 0; s < nSources; ++s) {
        const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
        const int line = run.clusterLine[static_cast<std::size_t>(s)];
        sh.clusters.push_back(line >= 0 ? &study.clusters[static_cast<std::size_t>(line)] : nullptr);
        sh.spreadSlot.push_back(src.type == kPointSource ? -1 : slots++);
        sh.sourceUsable.push_back(
            sourceInRange(src, run.dust() ? &run.fractions[static_cast<std::size_t>(s)] : nullptr));
    }
    sh.caseData.assign({static_cast<int>(run.cases.size()), nSources}, SourceCaseData{});
    for (std::size_t q = 0; q < run.cases.size(); ++q) {
        const WeatherCase& wc = run.cases[q];
        const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
        for (int s = 0; s < nSources; ++s) {
            const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
            SourceCaseData& cd = sh.caseData(q, s);
            cd.sc = sourceCase(src, wc);
            const ClusterLine* cluster = sh.clusters[static_cast<std::size_t>(s)];
            const double farRise = cluster ? clusterRise(cd.sc.fullRise, src.cluster, *cluster) : cd.sc.fullRise;
            cd.farHeight = src.h + farRise;
            cd.farProfile = windProfile(cd.farHeight, k.eps);
            // x0 depends on the class only
            sh.x0(s, wc.stabilityClass - 1) = cd.sc.x0;
        }
    }
    sh.arrangeCases(options.pruneMaximum);
    sh.boundTurns();
    if (threads == 0)
        threads = 1;
    for (unsigned t = 0; t < threads; ++t)
        m_workers.push_back(std::make_unique<Worker>());
}

ConcentrationEngine::~ConcentrationEngine() = default;

std::int64_t ConcentrationEngine::contributions() const
{
    std::int64_t total = 0;
    for (const auto& w : m_workers)
        total += w->contributions;
    return total;
}

unsigned ConcentrationEngine::threads() const
{
    return static_cast<unsigned>(m_workers.size());
}

LoopOutcome ConcentrationEngine::run(ConcentrationState& st, int firstDirection, const DirectionDone& done)
{
    Shared& sh = *m_shared;
    const PreparedRun& run = sh.run;
    const std::size_t tiles = static_cast<std::size_t>((run.pointCount() + sh.tilePoints - 1) / sh.tilePoints);
    LoopOutcome outcome;
    for (int start = firstDirection; start < run.directions;) {
        // the block runs up to the next checkpoint direction
        int end = start;
        while (end + 1 < run.directions && !run.checkpointAfter(end))
            ++end;
        sh.prepareBlock(start, end - start + 1);
        parallelFor(static_cast<unsigned>(m_workers.size()), tiles, [&](std::size_t tile, unsigned worker) {
            m_workers[worker]->computeTile(sh, st, static_cast<int>(tile));
        });
        // the first problem in loop order, whichever thread met it
        const EngineFailure* first = nullptr;
        for (const auto& w : m_workers)
            if (w->failure.failed && (!first || w->failure.at < first->at))
                first = &w->failure;
        if (first) {
            outcome.problem = Problem::error(first->text);
            return outcome;
        }
        for (int i = start; i <= end; ++i)
            if (done && !done(i))
                return outcome;
        start = end + 1;
    }
    outcome.completed = true;
    return outcome;
}

LoopOutcome runConcentrationEngine(const PreparedRun& run, ConcentrationState& state, int firstDirection,
                                   unsigned threads, const DirectionDone& done)
{
    ConcentrationEngine engine(run, threads);
    return engine.run(state, firstDirection, done);
}

}  // namespace ovd
