#include "model/engine/maximum_group_shares.h"

#include <atomic>
#include <cmath>
#include <optional>

#include "common/parallel_for.h"
#include "model/engine/plume_contribution.h"

namespace ovd {

namespace {

constexpr std::size_t kPointsPerTask = 64;

// The case of the maximum at a point: the first of the run's cases with its class and speed.
const WeatherCase* maximumCase(const PreparedRun& run, const ConcentrationState& st, std::size_t r)
{
    for (const WeatherCase& wc : run.cases)
        if (wc.stabilityClass == st.maxClass[r] && wc.speed == st.maxSpeed[r])
            return &wc;
    return nullptr;
}

// The sums of point r's groups at its maximum weather into `sums` (by slot); a problem for a
// contribution that is not finite.
std::optional<Problem> pointSums(const PreparedRun& run, const ConcentrationState& st, const std::vector<int>& slotOf,
                                 const PlumeOptions& options, std::size_t r, std::vector<double>& sums)
{
    std::fill(sums.begin(), sums.end(), 0.0);
    const WeatherCase* wc = st.maxConcentration[r] > 0.0 ? maximumCase(run, st, r) : nullptr;
    if (!wc)
        return std::nullopt;
    const ConcentrationStudy& study = *run.study;
    const ReferencePoint& pt = study.points[r];
    const double phi = st.maxDirection[r];
    const StabilityConstants& k = stabilityConstants(wc->stabilityClass);
    for (std::size_t s = 0; s < run.sources.size(); ++s) {
        const ModelSource& src = run.sources[s];
        if (src.x == pt.x && src.y == pt.y)
            continue;  // a point on the source gets nothing from it
        const ClusterLine* cluster =
            run.clusterLine[s] >= 0 ? &study.clusters[static_cast<std::size_t>(run.clusterLine[s])] : nullptr;
        const std::span<const SettlingFraction> fractions =
            run.dust() ? std::span<const SettlingFraction>(run.fractions[s]) : std::span<const SettlingFraction>();
        const double c = plumeContribution(src, sourceCase(src, *wc), initialSpread(src, phi, k), cluster, *wc, phi,
                                           pt, pairCoefficients(study.matrices, s, r), fractions, options);
        if (!std::isfinite(c))
            return Problem::error(nonFiniteContributionText(src.number, pt.number, phi));
        sums[static_cast<std::size_t>(slotOf[s])] += c;
    }
    return std::nullopt;
}

}  // namespace

Outcome<std::vector<int>> usedGroupSlots(const PreparedRun& run)
{
    std::vector<bool> used(kGroupSlots, false);
    for (const ModelSource& src : run.sources) {
        if (src.groupIndex < 0 || src.groupIndex >= kGroupSlots)
            return Problem::error(
                "Počet skupin zdrojů je větší než 200, nelze spustit výpočet pro jednotlivé skupiny zdrojů !");
        used[static_cast<std::size_t>(src.groupIndex)] = true;
    }
    std::vector<int> slots;
    for (int g = 0; g < kGroupSlots; ++g)
        if (used[static_cast<std::size_t>(g)])
            slots.push_back(g);
    return slots;
}

LoopOutcome maximumGroupShares(const PreparedRun& run, const ConcentrationState& st, unsigned threads,
                               MaximumGroupShares& out, const std::function<bool()>& stop)
{
    LoopOutcome outcome;
    out = MaximumGroupShares{};
    out.points = run.pointCount();
    Outcome<std::vector<int>> used = usedGroupSlots(run);
    if (!used) {
        outcome.problem = used.problem();
        return outcome;
    }
    out.groupOfSlot = std::move(*used);
    std::vector<int> slotOfGroup(kGroupSlots, -1);
    for (std::size_t slot = 0; slot < out.groupOfSlot.size(); ++slot)
        slotOfGroup[static_cast<std::size_t>(out.groupOfSlot[slot])] = static_cast<int>(slot);
    std::vector<int> slotOf;  // per source
    for (const ModelSource& src : run.sources)
        slotOf.push_back(slotOfGroup[static_cast<std::size_t>(src.groupIndex)]);
    const std::size_t nPoints = static_cast<std::size_t>(out.points), slots = out.groupOfSlot.size();
    out.percent.assign(slots * nPoints, 0.0);
    PlumeOptions options;
    options.decay = run.decay;
    options.freeAtmosphere = run.params.freeAtmosphere;
    options.dust = run.dust();

    const std::size_t tasks = (nPoints + kPointsPerTask - 1) / kPointsPerTask;
    std::vector<std::optional<Problem>> problems(tasks);  // the first of each task's points
    std::atomic<bool> stopped = false;
    parallelFor(threads == 0 ? 1 : threads, tasks, [&](std::size_t task, unsigned worker) {
        // only the calling thread asks whether to stop
        if (stopped || (worker == 0 && stop && stop())) {
            stopped = true;
            return;
        }
        std::vector<double> sums(slots);
        for (std::size_t r = task * kPointsPerTask; r < std::min(nPoints, (task + 1) * kPointsPerTask); ++r) {
            if ((problems[task] = pointSums(run, st, slotOf, options, r, sums)))
                return;
            const double max = st.maxConcentration[r];
            for (std::size_t g = 0; g < slots && max > 0.0; ++g)
                out.percent[g * nPoints + r] = 100.0 * sums[g] / max;
        }
    });
    for (std::optional<Problem>& p : problems)
        if (p) {
            outcome.problem = std::move(p);
            return outcome;
        }
    outcome.completed = !stopped;
    return outcome;
}

}  // namespace ovd
