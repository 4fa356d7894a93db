#include "model/concentration_engine.h"

#include "model/contribution_batch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <thread>
#include <tuple>

namespace ovd {

namespace {

constexpr int kBlock = 64;              // points per block dealt to a thread
constexpr double kWindowMargin = 1e-6;  // degrees; the exact test decides, the window only selects

struct IndexRange {
    std::size_t begin, end;
};

// What one weather case adds up at one point, kept together so that a contribution touches
// one cache line.
struct alignas(64) PointScratch {
    double concentration;
    double alfaSum;                // Alfa-weighted
    double exceedAlfa[3];
    std::uint8_t exceeded[3];
};

}  // namespace

// One thread's points, and for each source its pairs with them: first those whose Delta
// lies in [0, 360), sorted by Delta, then the others, which every direction checks. A point
// standing on the source has no pair: it never gets anything from it.
struct ConcentrationEngine::Worker {
    std::vector<std::int32_t> points;             // ascending; a point's place here is its local index
    std::vector<double> pointZ, pointL;           // altitude and height, by local index
    std::vector<PointScratch> scratch;            // by local index, for the current case
    std::vector<std::size_t> sourceStart;         // per source (and one past the end)
    std::vector<std::size_t> sortedEnd;           // per source: end of the sorted pairs
    std::vector<float> keys;                      // Delta
    std::vector<float> theta, zmax;
    std::vector<double> distance, distancePow;    // D and D^0.66666
    std::vector<std::int32_t> pointOf;            // local index
    std::vector<InitialSpread> spreads;           // source * 5 + class - 1, for the current direction
    ContributionBatch batch;                      // one run of candidate pairs

    // the pair arrays above, as the batch reads them
    PairColumns columns() const
    {
        return {keys.data(), theta.data(), zmax.data(), distance.data(), distancePow.data(), pointOf.data(),
                pointZ.data(), pointL.data()};
    }
    std::int64_t contributions = 0;
    // first problem met, in loop order
    bool failed = false;
    int failCase = 0, failSource = 0;
    std::int32_t failPoint = 0;
    std::string problem;
};

ConcentrationEngine::ConcentrationEngine(const PreparedRun& run, unsigned threads) : m_run(run)
{
    const ConcentrationStudy& study = *run.study;
    const int nSources = run.sourceCount();
    const int nPoints = run.pointCount();
    if (threads == 0)
        threads = 1;

    m_caseSources.resize(run.cases.size() * static_cast<std::size_t>(nSources));
    for (std::size_t q = 0; q < run.cases.size(); ++q) {
        for (int s = 0; s < nSources; ++s) {
            const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
            SourceCaseBounds& b = m_caseSources[q * static_cast<std::size_t>(nSources) + static_cast<std::size_t>(s)];
            b.constants = sourceCase(src, run.cases[q]);
            const ClusterLine* cluster = run.clusterLine[static_cast<std::size_t>(s)] >= 0
                                             ? &study.clusters[static_cast<std::size_t>(run.clusterLine[static_cast<std::size_t>(s)])]
                                             : nullptr;
            // The rise lies between 0 and the full rise (a fixed value for a given rise); a
            // cluster multiplies a positive rise by at most n^(1/3).
            double lo, hi;
            if (src.givenRise) {
                lo = hi = b.constants.fullRise;
            } else {
                lo = std::min(0.0, b.constants.fullRise);
                hi = std::max(0.0, b.constants.fullRise);
            }
            if (cluster && hi > 0.0)
                hi *= std::pow(static_cast<double>(cluster->count), 0.33334) + 1e-9;
            b.batch = batchConstants(src, b.constants, cluster, run.cases[q], run.decay, run.params.freeAtmosphere,
                                     run.dust() ? std::span<const SettlingFraction>(run.fractions[static_cast<std::size_t>(s)])
                                                : std::span<const SettlingFraction>());
            double hLow = src.h + lo, hHigh = src.h + hi;
            b.shiftLow = -(hHigh - 10.0) * 0.04;
            b.shiftHigh = -(hLow - 10.0) * 0.04;
        }
    }

    m_workers.reserve(threads);
    for (unsigned t = 0; t < threads; ++t)
        m_workers.push_back(std::make_unique<Worker>());
    for (int r = 0; r < nPoints; ++r)
        m_workers[static_cast<std::size_t>((r / kBlock) % static_cast<int>(threads))]->points.push_back(r);

    const CoefficientMatrices& mx = study.matrices;
    for (auto& w : m_workers) {
        std::vector<std::int32_t> sorted, odd;
        for (int s = 0; s < nSources; ++s) {
            const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
            const std::size_t row = mx.index(static_cast<std::size_t>(s), 0);
            w->sourceStart.push_back(w->keys.size());
            sorted.clear();
            odd.clear();
            for (std::size_t l = 0; l < w->points.size(); ++l) {
                const std::size_t r = static_cast<std::size_t>(w->points[l]);
                const ReferencePoint& pt = study.points[r];
                if (src.x == pt.x && src.y == pt.y)
                    continue;
                float d = mx.delta[row + r];
                (d >= 0.0f && d < 360.0f ? sorted : odd).push_back(static_cast<std::int32_t>(l));
            }
            auto deltaOf = [&](std::int32_t l) { return mx.delta[row + static_cast<std::size_t>(w->points[static_cast<std::size_t>(l)])]; };
            std::stable_sort(sorted.begin(), sorted.end(), [&](std::int32_t a, std::int32_t b) { return deltaOf(a) < deltaOf(b); });
            auto add = [&](std::int32_t l) {
                const std::int32_t r = w->points[static_cast<std::size_t>(l)];
                const ReferencePoint& pt = study.points[static_cast<std::size_t>(r)];
                const std::size_t cell = row + static_cast<std::size_t>(r);
                const double dist = std::sqrt((src.x - pt.x) * (src.x - pt.x) + (src.y - pt.y) * (src.y - pt.y));
                w->keys.push_back(mx.delta[cell]);
                w->theta.push_back(mx.theta[cell]);
                w->zmax.push_back(mx.zmax[cell]);
                w->distance.push_back(dist);
                w->distancePow.push_back(std::pow(dist, 0.66666));
                w->pointOf.push_back(l);
            };
            for (std::int32_t l : sorted)
                add(l);
            w->sortedEnd.push_back(w->keys.size());
            for (std::int32_t l : odd)
                add(l);
        }
        w->sourceStart.push_back(w->keys.size());
        std::size_t widest = 0;
        for (std::size_t s = 0; s + 1 < w->sourceStart.size(); ++s)
            widest = std::max(widest, w->sourceStart[s + 1] - w->sourceStart[s]);
        w->batch.reserve(widest);
        for (std::int32_t r : w->points) {
            w->pointZ.push_back(study.points[static_cast<std::size_t>(r)].z);
            w->pointL.push_back(study.points[static_cast<std::size_t>(r)].l);
        }
        // the batch reads whole vectors: harmless pairs (point 0, 1 m away) past the end
        const std::size_t pairs = w->keys.size();
        w->keys.resize(pairs + kPairPadding, 0.0f);
        w->theta.resize(pairs + kPairPadding, 0.0f);
        w->zmax.resize(pairs + kPairPadding, 0.0f);
        w->distance.resize(pairs + kPairPadding, 1.0);
        w->distancePow.resize(pairs + kPairPadding, 1.0);
        w->pointOf.resize(pairs + kPairPadding, 0);
        if (w->pointZ.empty()) {
            w->pointZ.push_back(0.0);
            w->pointL.push_back(0.0);
        }
        w->scratch.resize(w->points.size());
        w->spreads.resize(static_cast<std::size_t>(nSources) * kStabilityClasses);
    }
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

namespace {

// The ranges of sorted keys whose Delta can fall inside the sector of half width `half`
// around `phi` once shifted by a value in [shiftLow, shiftHigh] (and taken off 360 when the
// shifted value reaches 360).
int candidateRanges(const float* keys, std::size_t count, double phi, double half, double shiftLow,
                    double shiftHigh, std::array<IndexRange, 4>& out)
{
    auto lower = [&](double v) {
        return static_cast<std::size_t>(
            std::lower_bound(keys, keys + count, v, [](float k, double x) { return static_cast<double>(k) < x; }) - keys);
    };
    auto upper = [&](double v) {
        return static_cast<std::size_t>(
            std::upper_bound(keys, keys + count, v, [](double x, float k) { return x < static_cast<double>(k); }) - keys);
    };
    const double m = kWindowMargin;
    std::array<IndexRange, 4> raw{};
    int n = 0;
    auto add = [&](double lo, double hi) {
        std::size_t b = std::isinf(lo) ? 0 : lower(lo);
        std::size_t e = std::isinf(hi) ? count : upper(hi);
        if (b < e)
            raw[static_cast<std::size_t>(n++)] = {b, e};
    };
    const double inf = std::numeric_limits<double>::infinity();
    add(phi - half - shiftHigh - m, phi + half - shiftLow + m);
    add(-inf, phi - 360.0 + half - shiftLow + m);
    add(phi + 360.0 - half - shiftHigh - m, inf);
    add(360.0 - shiftHigh - m, phi + half - shiftLow + m);
    for (int i = 1; i < n; ++i)   // at most four ranges: insertion sort by start
        for (int j = i; j > 0 && raw[static_cast<std::size_t>(j)].begin < raw[static_cast<std::size_t>(j - 1)].begin; --j)
            std::swap(raw[static_cast<std::size_t>(j)], raw[static_cast<std::size_t>(j - 1)]);
    int merged = 0;
    for (int i = 0; i < n; ++i) {
        if (merged > 0 && raw[static_cast<std::size_t>(i)].begin <= out[static_cast<std::size_t>(merged - 1)].end)
            out[static_cast<std::size_t>(merged - 1)].end =
                std::max(out[static_cast<std::size_t>(merged - 1)].end, raw[static_cast<std::size_t>(i)].end);
        else
            out[static_cast<std::size_t>(merged++)] = raw[static_cast<std::size_t>(i)];
    }
    return merged;
}

}  // namespace

LoopOutcome ConcentrationEngine::run(ConcentrationState& st, int firstDirection, const DirectionDone& done)
{
    const PreparedRun& run = m_run;
    const ConcentrationStudy& study = *run.study;
    const ConcentrationParameters& par = run.params;
    const int nSources = run.sourceCount();
    const std::size_t nPoints = study.points.size();
    const int slots = st.groupSlots;
    const std::array<double, 3> limits = par.limits;
    const bool maximumRun = run.maximum();
    const bool dustRun = run.dust();
    LoopOutcome outcome;
    // the limits that are set
    std::array<double, 3> activeLimit{};
    std::array<int, 3> limitSlot{};
    int activeLimits = 0;
    for (std::size_t m = 0; m < 3; ++m)
        if (limits[m] != 0.0) {
            activeLimit[static_cast<std::size_t>(activeLimits)] = limits[m];
            limitSlot[static_cast<std::size_t>(activeLimits++)] = static_cast<int>(m);
        }

    auto directionWork = [&](Worker& w, int i) {
        const double phi = run.direction(i);
        for (int s = 0; s < nSources; ++s)
            for (int cls = 1; cls <= kStabilityClasses; ++cls)
                w.spreads[static_cast<std::size_t>(s) * kStabilityClasses + static_cast<std::size_t>(cls - 1)] =
                    initialSpread(run.sources[static_cast<std::size_t>(s)], phi, stabilityConstants(cls));
        for (std::size_t q = 0; q < run.cases.size(); ++q) {
            const WeatherCase& wc = run.cases[q];
            const double u = wc.speed;
            const bool roseCase = wc.roseRow >= 0;
            const double p = roseCase ? run.rose.at(wc.roseRow, i) : 0.0;
            std::fill(w.scratch.begin(), w.scratch.end(), PointScratch{});
            for (int s = 0; s < nSources; ++s) {
                const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
                const SourceCaseBounds& b =
                    m_caseSources[q * static_cast<std::size_t>(nSources) + static_cast<std::size_t>(s)];
                const double half = src.type == kPointSource ? 20.0 : 40.0;
                const double alfa = src.alfa;
                // group shares go straight into the annual sums, weighted by the case's frequency
                double* groupColumn =
                    slots > 0 && roseCase
                        ? st.groupAnnual.data() +
                              static_cast<std::size_t>(run.slotOfGroup[static_cast<std::size_t>(src.groupIndex)]) * nPoints
                        : nullptr;
                const double groupWeight = p * alfa;
                // a dust source without fractions emits nothing that could be counted
                if (dustRun && run.fractions[static_cast<std::size_t>(s)].empty())
                    continue;

                BatchConstants bc = b.batch;
                setDirection(bc, phi,
                             w.spreads[static_cast<std::size_t>(s) * kStabilityClasses +
                                       static_cast<std::size_t>(wc.stabilityClass - 1)]);

                // Each run of candidate pairs is evaluated at once, then added up in order.
                PointScratch* const scratch = w.scratch.data();
                const std::int32_t* const pointOf = w.pointOf.data();
                const double* const pointZ = w.pointZ.data();
                const double sourceZ = src.z;
                ContributionBatch& batch = w.batch;
                const PairColumns columns = w.columns();
                std::int64_t counted = 0;
                auto addRange = [&](std::size_t from, std::size_t to) -> bool {
                    if (from >= to)
                        return true;
                    batch.evaluate(bc, columns, from, to - from);
                    for (std::size_t n = 0; n < to - from; ++n) {
                        if (!(batch.along(n) > 0.0))
                            continue;   // outside the sector or not downwind of the source
                        ++counted;
                        const std::size_t l = static_cast<std::size_t>(pointOf[from + n]);
                        double c = batch.value(n);
                        const double axis = sourceZ + batch.height(n);
                        if (pointZ[l] > axis)
                            c *= altitudeCorrection(wc.stabilityClass, u, pointZ[l], axis);
                        if (!std::isfinite(c)) {
                            w.failed = true;
                            w.failCase = static_cast<int>(q);
                            w.failSource = s;
                            w.failPoint = w.points[l];
                            w.problem = nonFiniteContributionText(
                                src.number, study.points[static_cast<std::size_t>(w.points[l])].number, phi);
                            return false;
                        }
                        PointScratch& ps = scratch[l];
                        const double total = ps.concentration + c;
                        ps.concentration = total;
                        ps.alfaSum += alfa * c;
                        if (groupColumn)
                            groupColumn[w.points[l]] += groupWeight * c;
                        // the first source that lifts the sum over a limit is recorded;
                        // without branches, as the outcome is hard to predict
                        for (int m = 0; m < activeLimits; ++m) {
                            const int slot = limitSlot[m];
                            const bool first = (total > activeLimit[m]) & (ps.exceeded[slot] == 0);
                            ps.exceedAlfa[slot] = first ? alfa : ps.exceedAlfa[slot];
                            ps.exceeded[slot] |= static_cast<std::uint8_t>(first);
                        }
                    }
                    return true;
                };
                const std::size_t begin = w.sourceStart[static_cast<std::size_t>(s)];
                const std::size_t sortedEnd = w.sortedEnd[static_cast<std::size_t>(s)];
                std::array<IndexRange, 4> ranges{};
                int nRanges = candidateRanges(w.keys.data() + begin, sortedEnd - begin, phi, half, b.shiftLow,
                                              b.shiftHigh, ranges);
                bool fine = true;
                for (int g = 0; g < nRanges && fine; ++g)
                    fine = addRange(begin + ranges[static_cast<std::size_t>(g)].begin,
                                    begin + ranges[static_cast<std::size_t>(g)].end);
                if (fine)
                    fine = addRange(sortedEnd, w.sourceStart[static_cast<std::size_t>(s) + 1]);
                w.contributions += counted;
                if (!fine)
                    return;
            }
            const bool lastCase = q + 1 == run.cases.size();
            for (std::size_t l = 0; l < w.points.size(); ++l) {
                const std::size_t r = static_cast<std::size_t>(w.points[l]);
                const PointScratch& ps = w.scratch[l];
                if (roseCase) {
                    st.annual[r] += p * ps.alfaSum;
                    for (int m = 0; m < 3; ++m)
                        if (limits[static_cast<std::size_t>(m)] != 0.0)
                            st.hours[static_cast<std::size_t>(m)][r] += p * ps.exceedAlfa[m] * 8760.0;
                }
                if (maximumRun) {
                    if (ps.concentration > st.maxConcentration[r]) {
                        st.maxConcentration[r] = ps.concentration;
                        st.maxClass[r] = wc.stabilityClass;
                        st.maxSpeed[r] = wc.speed;
                        st.maxDirection[r] = phi;
                    }
                } else {
                    double& best = st.caseMaximum[static_cast<std::size_t>(wc.roseRow) * nPoints + r];
                    if (ps.concentration > best)
                        best = ps.concentration;
                }
                // the state keeps the last case's values, as the checkpoint records them
                if (lastCase) {
                    st.caseConcentration[r] = ps.concentration;
                    st.caseSum[r] = ps.alfaSum;
                    for (std::size_t m = 0; m < 3; ++m) {
                        st.exceedAlfa[m][r] = ps.exceedAlfa[m];
                        st.exceedFlag[m][r] = ps.exceeded[m];
                    }
                }
            }
        }
    };

    for (int i = firstDirection; i < run.directions; ++i) {
        if (m_workers.size() == 1) {
            directionWork(*m_workers.front(), i);
        } else {
            std::vector<std::thread> helpers;
            helpers.reserve(m_workers.size() - 1);
            for (std::size_t t = 1; t < m_workers.size(); ++t)
                helpers.emplace_back([&, t] { directionWork(*m_workers[t], i); });
            directionWork(*m_workers.front(), i);
            for (auto& h : helpers)
                h.join();
        }
        // The first problem in loop order, whichever thread met it.
        const Worker* first = nullptr;
        for (const auto& w : m_workers) {
            if (!w->failed)
                continue;
            if (!first || std::tie(w->failCase, w->failSource, w->failPoint) <
                              std::tie(first->failCase, first->failSource, first->failPoint))
                first = w.get();
        }
        if (first) {
            outcome.problem = first->problem;
            return outcome;
        }
        if (done && !done(i))
            return outcome;
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
