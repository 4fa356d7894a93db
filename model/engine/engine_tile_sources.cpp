// The full cases of one class for a tile: source by source, each pair's cases hoisted
// together, and the cases whose plume is the same computed by one kernel call.
#include <cmath>

#include "model/engine/engine_tile.h"
#include "model/engine/plume_contribution.h"

namespace ovd {

void ConcentrationEngine::Worker::computeCases(const Shared& sh, ConcentrationState& st, const std::vector<int>& cases)
{
    const PreparedRun& run = sh.run;
    const int n = static_cast<int>(cases.size());
    const int tp = sh.tilePoints;
    const int nSources = run.sourceCount();
    concentration.assign({n, tp, sh.stride}, 0.0);
    alfaSum.assign({n, tp, sh.stride}, 0.0);
    for (int m = 0; m < sh.limits; ++m) {
        exceedAlfa[static_cast<std::size_t>(m)].assign({n, tp, sh.stride}, 0.0);
        exceeded[static_cast<std::size_t>(m)].assign({n, tp, sh.stride}, 0.0);
    }
    const bool groups = st.groupSlots > 0;
    if (groups)
        groupAdds.assign({n, nSources, tp}, 0.0);
    else
        groupAdds.assign({0, 0, 0}, 0.0);
    for (int s = 0; s < nSources; ++s)
        addSource(sh, cases, s);
    // into the groups' columns in the loop's order, case by case and source by source (a
    // pair that added nothing left +0, which changes no sum)
    if (groups) {
        const std::size_t nPoints = static_cast<std::size_t>(run.pointCount());
        for (int i = 0; i < n; ++i) {
            if (run.cases[static_cast<std::size_t>(cases[static_cast<std::size_t>(i)])].roseRow < 0)
                continue;
            for (int s = 0; s < nSources; ++s) {
                const auto slotOfGroup =
                    run.slotOfGroup[static_cast<std::size_t>(run.sources[static_cast<std::size_t>(s)].groupIndex)];
                double* column = st.groupAnnual.data() + static_cast<std::size_t>(slotOfGroup) * nPoints +
                    static_cast<std::size_t>(pointBegin);
                const double* adds = groupAdds.row(i, s);
                for (int l = 0; l < pointCount; ++l)
                    column[l] += adds[l];
            }
        }
    }
    for (int i = 0; i < n; ++i)
        finishCase(sh, st, cases[static_cast<std::size_t>(i)], i);
}

PointSums ConcentrationEngine::Worker::pointSums(const Shared& sh, int slot, int place)
{
    PointSums ps;
    ps.concentration = concentration.row(slot, place);
    ps.alfaSum = alfaSum.row(slot, place);
    ps.limits = sh.limits;
    for (int m = 0; m < sh.limits; ++m) {
        ps.exceedAlfa[m] = exceedAlfa[static_cast<std::size_t>(m)].row(slot, place);
        ps.exceeded[m] = exceeded[static_cast<std::size_t>(m)].row(slot, place);
        ps.limit[m] = sh.limit[static_cast<std::size_t>(m)];
    }
    return ps;
}

void ConcentrationEngine::Worker::addSource(const Shared& sh, const std::vector<int>& cases, int s)
{
    const PreparedRun& run = sh.run;
    const int stabilityClass = run.cases[static_cast<std::size_t>(cases.front())].stabilityClass;
    const int n = static_cast<int>(cases.size());
    if (caseSlots.size() < cases.size())
        caseSlots.resize(cases.size());
    for (int i = 0; i < n; ++i) {
        const int q = cases[static_cast<std::size_t>(i)];
        CaseSlot& c = caseSlots[static_cast<std::size_t>(i)];
        c.wc = &run.cases[static_cast<std::size_t>(q)];
        c.cd = &sh.caseData(q, s);
        const double* share = c.wc->roseRow >= 0 ? sh.shares.row(c.wc->roseRow) : nullptr;
        c.sl = sh.sourceLanes(s, stabilityClass, share, c.usable);
        c.usable = c.usable && within(c.cd->sc.q, -1e25, 1e25);
    }
    for (int l = 0; l < pointCount; ++l) {
        const TilePair& pair = pairs(s, l);
        if (!pair.onSource && pair.live)
            addPair(sh, cases, s, l);
    }
}

// The cases of the class for pair (s, l), whose slots addSource has filled.
void ConcentrationEngine::Worker::addPair(const Shared& sh, const std::vector<int>& cases, int s, int l)
{
    const PreparedRun& run = sh.run;
    const ModelSource& src = run.sources[static_cast<std::size_t>(s)];
    const ClusterLine* cluster = sh.clusters[static_cast<std::size_t>(s)];
    const StabilityConstants& k = stabilityConstants(caseSlots.front().wc->stabilityClass);
    const ReferencePoint& pt = run.study->points[static_cast<std::size_t>(pointBegin + l)];
    const TilePair& pair = pairs(s, l);
    const int n = static_cast<int>(cases.size());
    for (int i = 0; i < n; ++i) {
        CaseSlot& c = caseSlots[static_cast<std::size_t>(i)];
        const double h = pairHeight(src, *c.cd, cluster, pair, nearPow(s, l));
        c.path = hoistPair(sh, src, *c.cd, *c.wc, k, pair, h, pt, true, c.lanes);
        c.shared = -1;
    }
    // dust fractions descend by the speed: their cases never share a plume
    if (!run.dust())
        computeShared(sh, n, l);
    for (int i = 0; i < n; ++i) {
        const CaseSlot& c = caseSlots[static_cast<std::size_t>(i)];
        if (c.path == PairPath::None)
            continue;
        if (c.path == PairPath::Vector && c.usable && run.dust() && run.fractions[static_cast<std::size_t>(s)].empty())
            continue;  // every contribution is exactly 0
        const double group = addCase(sh, c, i, cases[static_cast<std::size_t>(i)], s, l);
        if (!groupAdds.empty() && c.sl.share)
            groupAdds(i, s, l) = src.alfa * group;
    }
}

// Cases whose plume has the same height at the pair (a source without rise) share the
// geometry: one kernel call computes them all, each with its own result.
void ConcentrationEngine::Worker::computeShared(const Shared& sh, int n, int l)
{
    CaseSlot* slots = caseSlots.data();
    int lead = -1, count = 0;
    for (int i = 0; i < n; ++i) {
        CaseSlot& c = slots[i];
        if (c.path != PairPath::Vector || !c.usable || count == kMaxSharedCases)
            continue;
        if (lead < 0)
            lead = i;
        if (c.lanes.deltaCorr == slots[lead].lanes.deltaCorr && c.lanes.h2 == slots[lead].lanes.h2)
            c.shared = count++;
    }
    if (count < 2) {
        if (lead >= 0)
            slots[lead].shared = -1;
        return;
    }
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
    sh.kernels.cases(slots[lead].sl, slots[lead].lanes, together.data(), count);
}

// One case of pair (s, l) into its sums (slot i): the kernel's result, or the kernel itself,
// and what it leaves through the written-out formulas. Returns the sum over the directions
// of share * c.
double ConcentrationEngine::Worker::addCase(const Shared& sh, const CaseSlot& c, int i, int caseIndex, int s, int l)
{
    const PointSums ps = pointSums(sh, i, l);
    int plainFrom = 0;  // directions left to the written-out formulas
    double group = 0.0;
    if (c.path == PairPath::Vector && c.usable) {
        const PairResult res =
            c.shared >= 0 ? together[static_cast<std::size_t>(c.shared)].result : sh.kernels.pair(c.sl, c.lanes, ps);
        group = res.groupSum;
        contributions += static_cast<std::int64_t>(res.counted);
        plainFrom = res.stoppedAt < 0 ? sh.blockLength : res.stoppedAt;
    }
    DirectionRuns block;
    block.count = 1;
    block.to[0] = sh.blockLength;
    const double alfa = sh.run.sources[static_cast<std::size_t>(s)].alfa;
    plainDirections(sh, c.sl, caseIndex, s, l, block, 0, plainFrom, [&](int j, double v) {
        addContribution(ps, j, v, alfa);
        if (c.sl.share)
            group += c.sl.share[j] * v;
    });
    return group;
}

}  // namespace ovd
