#include "model/concentration_engine.h"

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

}  // namespace

// One thread's points, and for each source its pairs with them: first those whose Delta
// lies in [0, 360), sorted by Delta, then the others, which every direction checks. A point
// standing on the source has no pair: it never gets anything from it.
struct ConcentrationEngine::Worker {
    std::vector<std::int32_t> points;             // ascending
    std::vector<std::size_t> sourceStart;         // per source (and one past the end)
    std::vector<std::size_t> sortedEnd;           // per source: end of the sorted pairs
    std::vector<float> keys;                      // Delta
    std::vector<float> theta, zmax;
    std::vector<double> distance, distancePow;    // D and D^0.66666
    std::vector<std::int32_t> pointOf;
    std::vector<InitialSpread> spreads;           // source * 5 + class - 1, for the current direction
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
            double farRise = b.constants.fullRise;
            if (cluster)
                farRise = clusterRise(farRise, src.cluster, *cluster);
            b.farHeight = src.h + farRise;
            b.farWind = windAtHeight(run.cases[q].speed, b.farHeight, stabilityConstants(run.cases[q].stabilityClass).eps);
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
            for (std::int32_t r : w->points) {
                const ReferencePoint& pt = study.points[static_cast<std::size_t>(r)];
                if (src.x == pt.x && src.y == pt.y)
                    continue;
                float d = mx.delta[row + static_cast<std::size_t>(r)];
                (d >= 0.0f && d < 360.0f ? sorted : odd).push_back(r);
            }
            std::stable_sort(sorted.begin(), sorted.end(), [&](std::int32_t a, std::int32_t b) {
                return mx.delta[row + static_cast<std::size_t>(a)] < mx.delta[row + static_cast<std::size_t>(b)];
            });
            auto add = [&](std::int32_t r) {
                const ReferencePoint& pt = study.points[static_cast<std::size_t>(r)];
                const std::size_t cell = row + static_cast<std::size_t>(r);
                const double dist = std::sqrt((src.x - pt.x) * (src.x - pt.x) + (src.y - pt.y) * (src.y - pt.y));
                w->keys.push_back(mx.delta[cell]);
                w->theta.push_back(mx.theta[cell]);
                w->zmax.push_back(mx.zmax[cell]);
                w->distance.push_back(dist);
                w->distancePow.push_back(std::pow(dist, 0.66666));
                w->pointOf.push_back(r);
            };
            for (std::int32_t r : sorted)
                add(r);
            w->sortedEnd.push_back(w->keys.size());
            for (std::int32_t r : odd)
                add(r);
        }
        w->sourceStart.push_back(w->keys.size());
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
    std::vector<double> groupSum(nPoints * static_cast<std::size_t>(slots));
    const std::array<double, 3> limits = par.limits;
    const bool maximumRun = run.maximum();
    const bool dustRun = run.dust();
    const std::vector<SettlingFraction> noFractions;
    LoopOutcome outcome;

    auto directionWork = [&](Worker& w, int i) {
        const double phi = run.direction(i);
        for (int s = 0; s < nSources; ++s)
            for (int cls = 1; cls <= kStabilityClasses; ++cls)
                w.spreads[static_cast<std::size_t>(s) * kStabilityClasses + static_cast<std::size_t>(cls - 1)] =
                    initialSpread(run.sources[static_cast<std::size_t>(s)], phi, stabilityConstants(cls));
        for (std::size_t q = 0; q < run.cases.size(); ++q) {
            const WeatherCase& wc = run.cases[q];
            const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
            const double u = wc.speed;
            for (std::int32_t r : w.points) {
                st.caseConcentration[static_cast<std::size_t>(r)] = 0.0;
                st.caseSum[static_cast<std::size_t>(r)] = 0.0;
                for (int m = 0; m < 3; ++m) {
                    st.exceedAlfa[static_cast<std::size_t>(m)][static_cast<std::size_t>(r)] = 0.0;
                    st.exceedFlag[static_cast<std::size_t>(m)][static_cast<std::size_t>(r)] = 0;
                }
                for (int g = 0; g < slots; ++g)
                    groupSum[static_cast<std::size_t>(g) * nPoints + static_cast<std::size_t>(r)] = 0.0;
            }
            for (int s = 0; s < nSources; ++s) {
                const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
                const SourceCaseBounds& b =
                    m_caseSources[q * static_cast<std::size_t>(nSources) + static_cast<std::size_t>(s)];
                const SourceCase& sc = b.constants;
                const InitialSpread& sp0 =
                    w.spreads[static_cast<std::size_t>(s) * kStabilityClasses + static_cast<std::size_t>(wc.stabilityClass - 1)];
                const int clusterIndex = run.clusterLine[static_cast<std::size_t>(s)];
                const ClusterLine* cluster =
                    clusterIndex >= 0 ? &study.clusters[static_cast<std::size_t>(clusterIndex)] : nullptr;
                const double half = src.type == kPointSource ? 20.0 : 40.0;
                const bool pointSource = src.type == kPointSource;
                const double alfa = src.alfa;
                double* groupColumn =
                    slots > 0 ? groupSum.data() +
                                    static_cast<std::size_t>(run.slotOfGroup[static_cast<std::size_t>(src.groupIndex)]) * nPoints
                              : nullptr;
                const double x0Pow = sc.x0 > 0.0 ? std::pow(sc.x0, 0.66666) : 1.0;
                const std::vector<SettlingFraction>& fractions =
                    dustRun ? run.fractions[static_cast<std::size_t>(s)] : noFractions;
                // a dust source without fractions emits nothing that could be counted
                if (dustRun && fractions.empty())
                    continue;

                auto visit = [&](std::size_t j) -> bool {
                    const std::int32_t r = w.pointOf[j];
                    const ReferencePoint& pt = study.points[static_cast<std::size_t>(r)];
                    const double dist = w.distance[j];
                    // beyond the distance of full rise the height is the same for every point
                    double h = b.farHeight;
                    if (!src.givenRise && dist < sc.x0) {
                        double rise = sc.fullRise * (w.distancePow[j] / x0Pow);
                        if (cluster)
                            rise = clusterRise(rise, src.cluster, *cluster);
                        h = src.h + rise;
                    }
                    double deltaCorr = static_cast<double>(w.keys[j]) - (h - 10.0) * 0.04;
                    if (deltaCorr >= 360.0)
                        deltaCorr -= 360.0;
                    const double angle = std::fabs(phi - deltaCorr);
                    if (!(angle <= half || angle >= 360.0 - half))
                        return true;
                    double h2 = h;
                    const double zm = w.zmax[j];
                    if ((1.0 - k.b) * h < zm)
                        h2 = k.b * h + zm;
                    const double radians = angle * kModelPi / 180.0;
                    const double x = dist * std::cos(radians);
                    if (!(x > 0.0))
                        return true;
                    ++w.contributions;
                    const double y = dist * std::sin(radians);
                    const double t = altitudeCorrection(wc.stabilityClass, u, pt.z, src.z + h2);
                    const double u2 = h2 == b.farHeight ? b.farWind : windAtHeight(u, h2, k.eps);
                    const double lx = std::log(x);
                    double sigY = k.c * std::exp(k.d * lx);
                    double sigZ = k.e * std::exp(k.f * lx);
                    const VerticalTerms z = verticalTerms(pt.z - src.z, pt.l, h2, par.freeAtmosphere);
                    double f;
                    if (pointSource) {
                        f = sc.q / (2.0 * kModelPi * sigY * sigZ * u2 + src.vs);
                    } else {
                        sigY += sp0.sy0;
                        sigZ += sp0.sz0;
                        f = sc.q / (2.0 * kModelPi * sigY * sigZ * u2);
                    }
                    // E1 and the decay folded into each vertical term's exponent
                    const double common = -(y * y) / (2.0 * sigY * sigY) - run.decay * x / u2;
                    const double inv = 1.0 / (2.0 * sigZ * sigZ);
                    const double th = w.theta[j];
                    const double a1 = z.z1 - h2, a2 = z.z2 + h2, a3 = z.z3 - h2;
                    double vertical = 0.0;
                    if (!dustRun) {
                        vertical = std::exp(common - a1 * a1 * inv);
                        if (th != 1.0)
                            vertical += (1.0 - th) * std::exp(common - a2 * a2 * inv);
                        if (th != 0.0)
                            vertical += th * std::exp(common - a3 * a3 * inv);
                    } else {
                        // each fraction's axis lies lower by its descent v x / u2
                        const double perWind = x / u2;
                        for (const SettlingFraction& fr : fractions) {
                            if (fr.share == 0.0)
                                continue;
                            const double sd = fr.velocity * perWind;
                            const double b1 = a1 + sd, b2 = a2 + sd, b3 = a3 - sd;
                            double v = std::exp(common - b1 * b1 * inv);
                            if (th != 1.0)
                                v += (1.0 - th) * std::exp(common - b2 * b2 * inv);
                            if (th != 0.0)
                                v += th * std::exp(common - b3 * b3 * inv);
                            vertical += v * fr.share;
                        }
                    }
                    const double c = f * vertical * t;
                    if (!std::isfinite(c)) {
                        w.failed = true;
                        w.failCase = static_cast<int>(q);
                        w.failSource = s;
                        w.failPoint = r;
                        w.problem = nonFiniteContributionText(src.number, pt.number, phi);
                        return false;
                    }
                    double& conc = st.caseConcentration[static_cast<std::size_t>(r)];
                    conc += c;
                    st.caseSum[static_cast<std::size_t>(r)] += alfa * c;
                    if (groupColumn)
                        groupColumn[r] += alfa * c;
                    for (int m = 0; m < 3; ++m) {
                        const double limit = limits[static_cast<std::size_t>(m)];
                        if (limit != 0.0 && conc > limit &&
                            !st.exceedFlag[static_cast<std::size_t>(m)][static_cast<std::size_t>(r)]) {
                            st.exceedAlfa[static_cast<std::size_t>(m)][static_cast<std::size_t>(r)] = alfa;
                            st.exceedFlag[static_cast<std::size_t>(m)][static_cast<std::size_t>(r)] = 1;
                        }
                    }
                    return true;
                };

                const std::size_t begin = w.sourceStart[static_cast<std::size_t>(s)];
                const std::size_t sortedEnd = w.sortedEnd[static_cast<std::size_t>(s)];
                std::array<IndexRange, 4> ranges{};
                int nRanges =
                    candidateRanges(w.keys.data() + begin, sortedEnd - begin, phi, half, b.shiftLow, b.shiftHigh, ranges);
                for (int g = 0; g < nRanges; ++g)
                    for (std::size_t j = ranges[static_cast<std::size_t>(g)].begin; j < ranges[static_cast<std::size_t>(g)].end; ++j)
                        if (!visit(begin + j))
                            return;
                for (std::size_t j = sortedEnd; j < w.sourceStart[static_cast<std::size_t>(s) + 1]; ++j)
                    if (!visit(j))
                        return;
            }
            const bool roseCase = wc.roseRow >= 0;
            const double p = roseCase ? run.rose.at(wc.roseRow, i) : 0.0;
            for (std::int32_t ri : w.points) {
                const std::size_t r = static_cast<std::size_t>(ri);
                if (roseCase) {
                    st.annual[r] += p * st.caseSum[r];
                    for (int m = 0; m < 3; ++m)
                        if (limits[static_cast<std::size_t>(m)] != 0.0)
                            st.hours[static_cast<std::size_t>(m)][r] +=
                                p * st.exceedAlfa[static_cast<std::size_t>(m)][r] * 8760.0;
                    for (int g = 0; g < slots; ++g)
                        st.groupAnnual[static_cast<std::size_t>(g) * nPoints + r] +=
                            p * groupSum[static_cast<std::size_t>(g) * nPoints + r];
                }
                if (maximumRun) {
                    if (st.caseConcentration[r] > st.maxConcentration[r]) {
                        st.maxConcentration[r] = st.caseConcentration[r];
                        st.maxClass[r] = wc.stabilityClass;
                        st.maxSpeed[r] = wc.speed;
                        st.maxDirection[r] = phi;
                    }
                } else {
                    double& best = st.caseMaximum[static_cast<std::size_t>(wc.roseRow) * nPoints + r];
                    if (st.caseConcentration[r] > best)
                        best = st.caseConcentration[r];
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
