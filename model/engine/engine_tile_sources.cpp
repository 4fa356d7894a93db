// The full cases of one class for a tile: source by source, each pair's cases hoisted
// together, and the cases whose plume is the same computed by one kernel call.
#include <cmath>

#include "model/engine/engine_tile.h"
#include "model/engine/plume_contribution.h"

namespace ovd {

void ConcentrationEngine::Worker::computeCases(const Shared& sh, ConcentrationState& st, const std::vector<int>& cases)
{
    const PreparedRun& run = sh.run;
    const std::size_t n = cases.size();
    const std::size_t tp = static_cast<std::size_t>(sh.tilePoints);
    const std::size_t nSources = static_cast<std::size_t>(run.sourceCount());
    const std::size_t sums = n * tp * static_cast<std::size_t>(sh.stride);
    concentration.assign(sums, 0.0);
    alfaSum.assign(sums, 0.0);
    for (int m = 0; m < sh.limits; ++m) {
        exceedAlfa[static_cast<std::size_t>(m)].assign(sums, 0.0);
        exceeded[static_cast<std::size_t>(m)].assign(sums, 0.0);
    }
    const bool groups = st.groupSlots > 0;
    if (groups)
        groupAdds.assign(n * nSources * tp, 0.0);
    for (int s = 0; s < run.sourceCount(); ++s)
        addSource(sh, cases, s);
    // into the groups' columns in the loop's order, case by case and source by source (a
    // pair that added nothing left +0, which changes no sum)
    if (groups) {
        const std::size_t nPoints = static_cast<std::size_t>(run.pointCount());
        for (std::size_t i = 0; i < n; ++i) {
            if (run.cases[static_cast<std::size_t>(cases[i])].roseRow < 0)
                continue;
            for (std::size_t s = 0; s < nSources; ++s) {
                const auto slotOfGroup = run.slotOfGroup[static_cast<std::size_t>(run.sources[s].groupIndex)];
                double* column = st.groupAnnual.data() + static_cast<std::size_t>(slotOfGroup) * nPoints +
                    static_cast<std::size_t>(pointBegin);
                const double* adds = groupAdds.data() + (i * nSources + s) * tp;
                for (int l = 0; l < pointCount; ++l)
                    column[l] += adds[l];
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i)
        finishCase(sh, st, cases[i], static_cast<int>(i));
}

PointSums ConcentrationEngine::Worker::pointSums(const Shared& sh, int slot, int place)
{
    PointSums ps;
    const std::size_t row =
        static_cast<std::size_t>(slot * sh.tilePoints + place) * static_cast<std::size_t>(sh.stride);
    ps.concentration = concentration.data() + row;
    ps.alfaSum = alfaSum.data() + row;
    ps.limits = sh.limits;
    for (int m = 0; m < sh.limits; ++m) {
        ps.exceedAlfa[m] = exceedAlfa[static_cast<std::size_t>(m)].data() + row;
        ps.exceeded[m] = exceeded[static_cast<std::size_t>(m)].data() + row;
        ps.limit[m] = sh.limit[static_cast<std::size_t>(m)];
    }
    return ps;
}

void ConcentrationEngine::Worker::addSource(const Shared& sh, const std::vector<int>& cases, int s)
{
    const PreparedRun& run = sh.run;
    const ConcentrationStudy& study = *run.study;
    const int tp = sh.tilePoints;
    const int length = sh.blockLength;
    const int nSources = run.sourceCount();
    const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
    const ClusterLine* cluster = sh.clusters[static_cast<std::size_t>(s)];
    const std::vector<SettlingFraction>* fractions = run.dust() ? &run.fractions[static_cast<std::size_t>(s)] : nullptr;
    const int stabilityClass = run.cases[static_cast<std::size_t>(cases.front())].stabilityClass;
    const StabilityConstants& k = stabilityConstants(stabilityClass);
    const int n = static_cast<int>(cases.size());
    if (caseSlots.size() < cases.size())
        caseSlots.resize(cases.size());
    CaseSlot* slots = caseSlots.data();
    for (int i = 0; i < n; ++i) {
        const int q = cases[static_cast<std::size_t>(i)];
        CaseSlot& c = slots[i];
        c.wc = &run.cases[static_cast<std::size_t>(q)];
        c.cd = &sh.caseData[static_cast<std::size_t>(q * nSources + s)];
        const double* share = c.wc->roseRow >= 0
            ? sh.shares.data() + static_cast<std::size_t>(c.wc->roseRow) * static_cast<std::size_t>(sh.stride)
            : nullptr;
        c.sl = sh.sourceLanes(s, stabilityClass, share, c.usable);
        c.usable = c.usable && within(c.cd->sc.q, -1e25, 1e25);
    }

    for (int l = 0; l < pointCount; ++l) {
        const std::size_t pi = static_cast<std::size_t>(s * tp + l);
        const TilePair& pair = pairs[pi];
        if (pair.onSource || !pair.live)
            continue;
        const int r = pointBegin + l;
        const ReferencePoint& pt = study.points[static_cast<std::size_t>(r)];
        for (int i = 0; i < n; ++i) {
            CaseSlot& c = slots[i];
            const double h = pairHeight(src, *c.cd, cluster, pair, nearPow[pi]);
            c.path = hoistPair(sh, src, *c.cd, *c.wc, k, pair, h, pt, true, c.lanes);
            c.shared = -1;
        }
        // Cases whose plume has the same height here (a source without rise) share the
        // geometry: one kernel call computes them all. Dust fractions descend by the speed.
        int lead = -1, count = 0;
        for (int i = 0; i < n && !fractions; ++i) {
            CaseSlot& c = slots[i];
            if (c.path != PairPath::Vector || !c.usable || count == kMaxSharedCases)
                continue;
            if (lead < 0)
                lead = i;
            if (c.lanes.deltaCorr == slots[lead].lanes.deltaCorr && c.lanes.h2 == slots[lead].lanes.h2)
                c.shared = count++;
        }
        if (count >= 2) {
            for (int i = 0; i < n; ++i) {
                const CaseSlot& c = slots[i];
                if (c.shared < 0)
                    continue;
                CaseLanes& cl = together[static_cast<std::size_t>(c.shared)];
                cl.numerator = c.lanes.numerator;
                cl.twoPiWind = c.lanes.twoPiWind;
                cl.perWind = c.lanes.perWind;
                cl.share = c.sl.share;
                cl.sums = pointSums(sh, i, l);
            }
            sh.casesKernel(slots[lead].sl, slots[lead].lanes, together.data(), count);
        } else if (lead >= 0) {
            slots[lead].shared = -1;
        }
        for (int i = 0; i < n; ++i) {
            const CaseSlot& c = slots[i];
            if (c.path == PairPath::None)
                continue;
            const PointSums ps = pointSums(sh, i, l);
            int plainFrom = 0;  // directions left to the written-out formulas
            double group = 0.0;
            if (c.path == PairPath::Vector && c.usable) {
                if (fractions && fractions->empty())
                    continue;  // every contribution is exactly 0
                const PairResult res =
                    c.shared >= 0 ? together[static_cast<std::size_t>(c.shared)].result : sh.kernel(c.sl, c.lanes, ps);
                group = res.groupSum;
                contributions += static_cast<std::int64_t>(res.counted);
                plainFrom = res.stoppedAt < 0 ? length : res.stoppedAt;
            }
            const int q = cases[static_cast<std::size_t>(i)];
            // the rest through the reference loop's own function, direction by direction
            for (int j = plainFrom; j < length; ++j) {
                const double v = sh.plainContribution(s, q, j, pair, pt, c.sl);
                if (!std::isfinite(v)) {
                    failure.record(
                        sh.blockStart + j, q, s, r,
                        nonFiniteContributionText(src.number, pt.number, sh.phi[static_cast<std::size_t>(j)]));
                    continue;
                }
                contributions += v != 0.0;
                const double total = ps.concentration[j] + v;
                ps.concentration[j] = total;
                ps.alfaSum[j] += src.alfa * v;
                for (int m = 0; m < ps.limits; ++m) {
                    if (total > ps.limit[m] && ps.exceeded[m][j] == 0.0) {
                        ps.exceedAlfa[m][j] = src.alfa;
                        ps.exceeded[m][j] = 1.0;
                    }
                }
                if (c.sl.share)
                    group += c.sl.share[j] * v;
            }
            if (!groupAdds.empty() && c.sl.share)
                groupAdds[(static_cast<std::size_t>(i) * static_cast<std::size_t>(nSources) +
                           static_cast<std::size_t>(s)) *
                              static_cast<std::size_t>(tp) +
                          static_cast<std::size_t>(l)] = src.alfa * group;
        }
    }
}

}  // namespace ovd
