#include "model/concentration_reference.h"

#include <algorithm>
#include <cmath>

namespace ovd {

LoopOutcome runReferenceLoop(const PreparedRun& run, ConcentrationState& st, int firstDirection,
                             const DirectionDone& done)
{
    const ConcentrationStudy& study = *run.study;
    const ConcentrationParameters& par = run.params;
    const std::size_t nPoints = study.points.size();
    const int slots = st.groupSlots;
    std::vector<double> groupSum(nPoints * static_cast<std::size_t>(slots));
    LoopOutcome outcome;

    for (int i = firstDirection; i < run.directions; ++i) {
        const double phi = run.direction(i);
        for (const WeatherCase& wc : run.cases) {
            const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
            const double u = wc.speed;
            // 1. clear the case accumulators
            for (std::size_t r = 0; r < nPoints; ++r) {
                st.caseConcentration[r] = 0.0;
                st.caseSum[r] = 0.0;
                for (int m = 0; m < 3; ++m) {
                    st.exceedAlfa[m][r] = 0.0;
                    st.exceedFlag[m][r] = 0;
                }
            }
            std::fill(groupSum.begin(), groupSum.end(), 0.0);
            // 3. sources in file order
            for (std::size_t s = 0; s < study.sources.size(); ++s) {
                const ModelSource src = modelSource(study.sources[s]);
                const SourceCase sc = sourceCase(src, wc);
                const InitialSpread spread0 = initialSpread(src, phi, k);
                const ClusterLine* cluster =
                    run.clusterLine[s] >= 0 ? &study.clusters[static_cast<std::size_t>(run.clusterLine[s])] : nullptr;
                for (std::size_t r = 0; r < nPoints; ++r) {
                    const ReferencePoint& pt = study.points[r];
                    // 5.1 a point on the source gets nothing from it
                    if (src.x == pt.x && src.y == pt.y)
                        continue;
                    const std::size_t cell = study.matrices.index(s, r);
                    const double theta = study.matrices.theta[cell];
                    const double delta = study.matrices.delta[cell];
                    const double zmax = study.matrices.zmax[cell];
                    // 5. distance and plume rise
                    const double dist = std::sqrt((src.x - pt.x) * (src.x - pt.x) + (src.y - pt.y) * (src.y - pt.y));
                    double rise = plumeRise(src, sc, dist);
                    if (cluster)
                        rise = clusterRise(rise, src.cluster, *cluster);
                    const double h = src.h + rise;
                    // 6. direction test
                    double deltaCorr = delta - (h - 10.0) * 0.04;
                    if (deltaCorr >= 360.0)
                        deltaCorr -= 360.0;
                    const double angle = std::fabs(phi - deltaCorr);
                    const double half = src.type == kPointSource ? 20.0 : 40.0;
                    double c = 0.0;
                    if (angle <= half || angle >= 360.0 - half) {
                        // 7. terrain
                        double h2 = h;
                        if ((1.0 - k.b) * h < zmax)
                            h2 = k.b * h + zmax;
                        const double t = altitudeCorrection(wc.stabilityClass, u, pt.z, src.z + h2);
                        const double u2 = windAtHeight(u, h2, k.eps);
                        const double x = dist * std::cos(angle * kModelPi / 180.0);
                        const double y = dist * std::sin(angle * kModelPi / 180.0);
                        // a point not downwind of the source gets nothing
                        if (x > 0.0) {
                            const double sy = k.c * std::pow(x, k.d);
                            const double sz = k.e * std::pow(x, k.f);
                            const VerticalTerms z = verticalTerms(pt.z - src.z, pt.l, h2, par.freeAtmosphere);
                            // 8. contribution
                            double sigY = sy, sigZ = sz;
                            double f;
                            if (src.type == kPointSource) {
                                f = sc.q / (2.0 * kModelPi * sigY * sigZ * u2 + src.vs);
                            } else {
                                sigY = spread0.sy0 + sy;
                                sigZ = spread0.sz0 + sz;
                                f = sc.q / (2.0 * kModelPi * sigY * sigZ * u2);
                            }
                            const double e1 = std::exp(-(y * y) / (2.0 * sigY * sigY));
                            const double e2 = std::exp(-((z.z1 - h2) * (z.z1 - h2)) / (2.0 * sigZ * sigZ));
                            const double e3 =
                                (1.0 - theta) * std::exp(-((z.z2 + h2) * (z.z2 + h2)) / (2.0 * sigZ * sigZ));
                            const double e4 = theta * std::exp(-((z.z3 - h2) * (z.z3 - h2)) / (2.0 * sigZ * sigZ));
                            const double d1 = std::exp(-run.decay * x / u2);
                            c = f * e1 * (e2 + e3 + e4) * d1 * t;
                        }
                    }
                    if (!std::isfinite(c)) {
                        outcome.problem = nonFiniteContributionText(src.number, pt.number, phi);
                        return outcome;
                    }
                    st.caseConcentration[r] += c;
                    st.caseSum[r] += src.alfa * c;
                    if (slots > 0)
                        groupSum[static_cast<std::size_t>(run.slotOfGroup[static_cast<std::size_t>(src.groupIndex)]) *
                                     nPoints +
                                 r] += src.alfa * c;
                    for (int m = 0; m < 3; ++m) {
                        const double limit = par.limits[static_cast<std::size_t>(m)];
                        if (limit != 0.0 && st.caseConcentration[r] > limit && !st.exceedFlag[m][r]) {
                            st.exceedAlfa[m][r] = src.alfa;
                            st.exceedFlag[m][r] = 1;
                        }
                    }
                }
            }
            // 4. after all sources
            const bool roseCase = wc.roseRow >= 0;
            const double p = roseCase ? run.rose.at(wc.roseRow, i) : 0.0;
            for (std::size_t r = 0; r < nPoints; ++r) {
                if (roseCase) {
                    st.annual[r] += p * st.caseSum[r];
                    for (int m = 0; m < 3; ++m)
                        if (par.limits[static_cast<std::size_t>(m)] != 0.0)
                            st.hours[m][r] += p * st.exceedAlfa[m][r] * 8760.0;
                    for (int g = 0; g < slots; ++g)
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
        if (done && !done(i))
            return outcome;
    }
    outcome.completed = true;
    return outcome;
}

}  // namespace ovd
