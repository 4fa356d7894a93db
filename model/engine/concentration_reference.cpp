#include "model/engine/concentration_reference.h"

#include <algorithm>
#include <cmath>

#include "model/engine/plume_contribution.h"

namespace ovd {

namespace {

// 1. clear the case accumulators
void clearCase(ConcentrationState& st, std::vector<double>& groupSum)
{
    for (std::size_t r = 0; r < st.caseConcentration.size(); ++r) {
        st.caseConcentration[r] = 0.0;
        st.caseSum[r] = 0.0;
        for (int m = 0; m < 3; ++m) {
            st.exceedAlfa[m][r] = 0.0;
            st.exceedFlag[m][r] = 0;
        }
    }
    std::fill(groupSum.begin(), groupSum.end(), 0.0);
}

// 3. the sources in file order, each at every point; a value that is not finite stops the run
std::optional<Problem> addSources(const PreparedRun& run, const WeatherCase& wc, double phi,
                                  const PlumeOptions& options, ConcentrationState& st, std::vector<double>& groupSum)
{
    const ConcentrationStudy& study = *run.study;
    const std::size_t nPoints = study.points.size();
    const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
    for (std::size_t s = 0; s < study.sources.size(); ++s) {
        const ModelSource src = modelSource(study.sources[s]);
        const SourceCase sc = sourceCase(src, wc);
        const InitialSpread spread0 = initialSpread(src, phi, k);
        const ClusterLine* cluster =
            run.clusterLine[s] >= 0 ? &study.clusters[static_cast<std::size_t>(run.clusterLine[s])] : nullptr;
        const std::vector<SettlingFraction> fractions =
            run.dust() ? settlingFractions(study.sources[s]) : std::vector<SettlingFraction>{};
        for (std::size_t r = 0; r < nPoints; ++r) {
            const ReferencePoint& pt = study.points[r];
            // a point on the source gets nothing from it
            if (src.x == pt.x && src.y == pt.y)
                continue;
            const double c = plumeContribution(src, sc, spread0, cluster, wc, phi, pt,
                                               pairCoefficients(study.matrices, s, r), fractions, options);
            if (!std::isfinite(c))
                return Problem::error(nonFiniteContributionText(src.number, pt.number, phi));
            st.caseConcentration[r] += c;
            st.caseSum[r] += src.alfa * c;
            if (st.groupSlots > 0)
                groupSum[static_cast<std::size_t>(run.slotOfGroup[static_cast<std::size_t>(src.groupIndex)]) * nPoints +
                         r] += src.alfa * c;
            for (int m = 0; m < 3; ++m) {
                const double limit = run.params.limits[static_cast<std::size_t>(m)];
                if (limit != 0.0 && st.caseConcentration[r] > limit && !st.exceedFlag[m][r]) {
                    st.exceedAlfa[m][r] = src.alfa;
                    st.exceedFlag[m][r] = 1;
                }
            }
        }
    }
    return std::nullopt;
}

// 4. after all sources: the case's share of the annual values and the maxima
void closeCase(const PreparedRun& run, const WeatherCase& wc, int direction, double phi, ConcentrationState& st,
               const std::vector<double>& groupSum)
{
    const std::size_t nPoints = st.caseConcentration.size();
    const bool roseCase = wc.roseRow >= 0;
    const double p = roseCase ? run.rose.at(wc.roseRow, direction) : 0.0;
    for (std::size_t r = 0; r < nPoints; ++r) {
        if (roseCase) {
            st.annual[r] += p * st.caseSum[r];
            for (int m = 0; m < 3; ++m)
                if (run.params.limits[static_cast<std::size_t>(m)] != 0.0)
                    st.hours[m][r] += p * st.exceedAlfa[m][r] * kHoursPerYear;
            for (int g = 0; g < st.groupSlots; ++g)
                st.groupAnnual[static_cast<std::size_t>(g) * nPoints + r] +=
                    p * groupSum[static_cast<std::size_t>(g) * nPoints + r];
        }
        if (run.maximum()) {
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

}  // namespace

LoopOutcome runReferenceLoop(const PreparedRun& run, ConcentrationState& st, int firstDirection,
                             const DirectionDone& done)
{
    std::vector<double> groupSum(run.study->points.size() * static_cast<std::size_t>(st.groupSlots));
    LoopOutcome outcome;
    PlumeOptions options;
    options.decay = run.decay;
    options.freeAtmosphere = run.params.freeAtmosphere;
    options.dust = run.dust();

    for (int i = firstDirection; i < run.directions; ++i) {
        const double phi = run.direction(i);
        for (const WeatherCase& wc : run.cases) {
            clearCase(st, groupSum);
            if (std::optional<Problem> p = addSources(run, wc, phi, options, st, groupSum)) {
                outcome.problem = std::move(p);
                return outcome;
            }
            closeCase(run, wc, i, phi, st, groupSum);
        }
        if (done && !done(i))
            return outcome;
    }
    outcome.completed = true;
    return outcome;
}

}  // namespace ovd
