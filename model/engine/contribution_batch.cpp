#include "model/engine/contribution_batch.h"

#include "model/engine/cosine_power_lanes.h"
#include "model/engine/vector_math.h"

namespace ovd {

namespace {

// Degrees of the spreads' series in a^2 (cosine_power.h) the kernels are built for: a
// sector of 20 degrees needs 11, one of 40 degrees 20.
constexpr int kNarrowDegree = 11, kWideDegree = 21;
constexpr double kTwoPiHi = 6.283185307179586;  // 2 pi split in two for the reduction
constexpr double kTwoPiLo = 2.4492935982947064e-16;
constexpr double kInf = __builtin_inf();
alignas(64) constexpr double kLaneIndex[kMaxLanes] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// No lambdas in the kernel: a lambda would be compiled for the basic instruction set and
// called with wide vectors. Masks are never combined, neither with & or | nor by nesting or
// chaining selects that GCC can join into one mask: the templates are optimised for the basic
// instruction set before they are inlined, and such a joined mask is then built lane by lane.
// Two conditions are folded into one value that a single comparison decides.

// The three vertical terms with E1 folded into their exponents; Theta of 0 or 1 leaves one
// of them out for the whole pair. The exponents are never positive: E1 <= 0 and every
// term's own part is a negative square. `sameAxes`: b3 is b1 (a point at ground level below the
// plume), so the third term is the first one's value again.
template <class Vd>
OVD_VECTOR_INLINE Vd verticalSum(Vd e1, Vd invZ, const PairLanes& p, Vd b1, Vd b2, Vd b3, bool sameAxes)
{
    const Vd first = simd::expNonPositive(e1 - b1 * b1 * invZ);
    Vd v = first;
    if (p.second)
        v += (1.0 - p.theta) * simd::expNonPositive(e1 - b2 * b2 * invZ);
    if (p.third)
        v += p.theta * (sameAxes ? first : simd::expNonPositive(e1 - b3 * b3 * invZ));
    return v;
}

// The geometry of the directions j .. j + lanes - 1 of one pair: whether each lies in the
// sector (and before `to`), x, y and the two spreads.
template <class Vd> struct LaneGeometry {
    Vd inside, x, y, sigY, sigZ;
};

template <class Vd, int Degree>
OVD_VECTOR_INLINE LaneGeometry<Vd> laneGeometry(const SourceLanes& sl, const PairLanes& p, int j, int to)
{
    const Vd zero = simd::broadcast<Vd>(0.0), one = simd::broadcast<Vd>(1.0);
    LaneGeometry<Vd> g;
    const Vd angle = simd::abs(simd::load<Vd>(sl.phi + j) - p.deltaCorr);
    // Inside: the angle from the axis, the long way round taken back (360 - angle is exact
    // there), is within the half width, and the lane lies before `to` (past it the angle
    // becomes infinite), decided by one comparison.
    Vd off = angle > 180.0 ? 360.0 - angle : angle;
    off =
        simd::load<Vd>(kLaneIndex) + static_cast<double>(j) < static_cast<double>(to) ? off : simd::broadcast<Vd>(kInf);
    g.inside = off <= sl.halfSector ? one : zero;
    // x and y; past 180 degrees the angle is taken back by a whole turn
    Vd r = angle * (kModelPi / 180.0);
    r = angle > 180.0 ? (r - kTwoPiHi) - kTwoPiLo : r;
    Vd sine, cosine;
    simd::sinCosSmall(r, sine, cosine);
    g.x = p.distance * cosine;
    g.y = p.distance * sine;
    // c x^d = c D^d (cos a)^d; lanes outside the sector (where the series does not hold)
    // are masked away, whatever their values
    const Vd z = r * r, w = z * z;
    g.sigY = p.scaleY * cosinePowerLanes<Degree>(*sl.cosY, z, w);
    g.sigZ = p.scaleZ * cosinePowerLanes<Degree>(*sl.cosZ, z, w);
    if (sl.sy0) {
        g.sigY += simd::load<Vd>(sl.sy0 + j);
        g.sigZ += simd::load<Vd>(sl.sz0 + j);
    }
    return g;
}

// c (with the altitude factor) for the directions j .. j + lanes - 1, 0 outside the sector
// and at or past `to`.
template <class Vd, int Degree>
OVD_VECTOR_INLINE Vd contributionLanes(const SourceLanes& sl, const PairLanes& p, int j, int to, Vd& inside)
{
    const Vd zero = simd::broadcast<Vd>(0.0);
    const LaneGeometry<Vd> g = laneGeometry<Vd, Degree>(sl, p, j, to);
    inside = g.inside;
    const Vd x = g.x, y = g.y, sigY = g.sigY, sigZ = g.sigZ;
    const Vd sy2 = sigY * sigY, sz2 = sigZ * sigZ;
    // one division gives 1 / (2 sy^2), 1 / (2 sz^2) and F
    const Vd den = p.twoPiWind * (sigY * sigZ) + sl.vs;
    const Vd inv = 1.0 / (sy2 * sz2 * den);
    const Vd invY = 0.5 * inv * den * sz2, invZ = 0.5 * inv * den * sy2;
    const Vd f = p.numerator * (inv * sy2 * sz2);
    // E1 and the decay folded into each vertical term's exponent
    const Vd e1 = -(y * y) * invY - (sl.decay * p.perWind) * x;
    const Vd b1 = simd::broadcast<Vd>(p.a1), b2 = simd::broadcast<Vd>(p.a2), b3 = simd::broadcast<Vd>(p.a3);
    Vd vertical;
    if (!sl.fractions) {
        vertical = verticalSum(e1, invZ, p, b1, b2, b3, p.sameAxes);
    } else {
        // each fraction's axis lies lower by its descent v x / u2
        vertical = zero;
        const Vd perWind = p.perWind * x;
        for (int i = 0; i < sl.fractionCount; ++i) {
            const SettlingFraction& fr = sl.fractions[i];
            if (fr.share == 0.0)
                continue;
            const Vd sd = fr.velocity * perWind;
            vertical += verticalSum(e1, invZ, p, b1 + sd, b2 + sd, b3 - sd, false) * fr.share;
        }
    }
    const Vd c = f * vertical;
    return inside != 0.0 ? c : zero;
}

// The sums of one point in one case: c added in the order of the sources, the first source
// that lifts a sum over a limit recorded, the share of the year summed for the groups.
template <class Vd> OVD_VECTOR_INLINE void addLanes(const PointSums& ps, int j, Vd c, double alfa)
{
    const Vd one = simd::broadcast<Vd>(1.0);
    const Vd total = simd::load<Vd>(ps.concentration + j) + c;
    simd::store(ps.concentration + j, total);
    simd::store(ps.alfaSum + j, simd::load<Vd>(ps.alfaSum + j) + alfa * c);
    for (int m = 0; m < ps.limits; ++m) {
        // newly over the limit: the flag goes from 0 to 1 (one comparison; the two conditions
        // nested would be joined into a mask built lane by lane)
        const Vd flag = simd::load<Vd>(ps.exceeded[m] + j);
        const Vd raised = total > ps.limit[m] ? one : flag;
        const Vd a = simd::load<Vd>(ps.exceedAlfa[m] + j);
        simd::store(ps.exceedAlfa[m] + j, raised > flag ? simd::broadcast<Vd>(alfa) : a);
        simd::store(ps.exceeded[m] + j, raised);
    }
}

template <class Vd> OVD_VECTOR_INLINE double laneSum(Vd v)
{
    double lanes[simd::lanesOf<Vd>];
    simd::store(lanes, v);
    double sum = 0.0;
    for (double x : lanes)
        sum += x;
    return sum;
}

template <class Vd, int Degree>
OVD_VECTOR_INLINE PairResult pairDirections(const SourceLanes& sl, const PairLanes& p, const PointSums& ps)
{
    constexpr int kLanes = simd::lanesOf<Vd>;
    Vd group = simd::broadcast<Vd>(0.0), counted = group;
    PairResult out;
    for (int g = 0; g < p.ranges; ++g) {
        for (int j = p.from[g]; j < p.to[g]; j += kLanes) {
            Vd inside;
            const Vd c = contributionLanes<Vd, Degree>(sl, p, j, p.to[g], inside);
            if (simd::anyNotFinite(c)) {
                out.stoppedAt = j;
                g = p.ranges;
                break;
            }
            addLanes(ps, j, c, sl.alfa);
            if (sl.share)
                group += simd::load<Vd>(sl.share + j) * c;
            counted += inside;
        }
    }
    out.groupSum = laneSum(group);
    out.counted = laneSum(counted);
    return out;
}

// What the speeds of a plume without rise share in a vector of directions: E1 times the
// vertical terms (0 outside the sector) and sy sz.
template <class Vd> struct SpeedFree {
    Vd inside, x, syz, geometry;
};

template <class Vd, int Degree>
OVD_VECTOR_INLINE SpeedFree<Vd> speedFree(const SourceLanes& sl, const PairLanes& p, int j, int to)
{
    const LaneGeometry<Vd> geo = laneGeometry<Vd, Degree>(sl, p, j, to);
    const Vd sy2 = geo.sigY * geo.sigY, sz2 = geo.sigZ * geo.sigZ;
    const Vd inv = 1.0 / (sy2 * sz2);
    const Vd invY = 0.5 * inv * sz2, invZ = 0.5 * inv * sy2;
    const Vd e1 = -(geo.y * geo.y) * invY;
    const Vd vertical = verticalSum(e1, invZ, p, simd::broadcast<Vd>(p.a1), simd::broadcast<Vd>(p.a2),
                                    simd::broadcast<Vd>(p.a3), p.sameAxes);
    return {geo.inside, geo.x, geo.sigY * geo.sigZ, geo.inside != 0.0 ? vertical : simd::broadcast<Vd>(0.0)};
}

// The kernels over several items that share one pair's plume, the geometry of each vector of
// directions once, then per item (a weather case or a speed) one division and, with decay,
// one exp; E1 is folded into the vertical terms, the decay is not (it depends on the speed).
// `Items` says how many items there are, gives each one's values and takes its c:
//   count(), numerator(i), twoPiWind(i), perWind(i), begin(i): whether item i still takes values,
//   take(i, g, j, c, inside): false stops the whole kernel.
// A decay of 0 skips the exp: exp(0) is exactly 1, and a lane where it is not finite is masked.
template <class Vd, int Degree, class Items>
OVD_VECTOR_INLINE void sharedPlume(const SourceLanes& sl, const PairLanes& p, const int* from, const int* to, int runs,
                                   Items& items)
{
    constexpr int kLanes = simd::lanesOf<Vd>;
    const Vd zero = simd::broadcast<Vd>(0.0);
    const bool decays = sl.decay != 0.0;
    const int n = items.count();
    for (int g = 0; g < runs; ++g) {
        for (int j = from[g]; j < to[g]; j += kLanes) {
            const SpeedFree<Vd> free = speedFree<Vd, Degree>(sl, p, j, to[g]);
            for (int i = 0; i < n; ++i) {
                if (!items.begin(i))
                    continue;
                const Vd den = items.twoPiWind(i) * free.syz + sl.vs;
                Vd c = (items.numerator(i) / den) * free.geometry;
                if (decays)
                    c *= simd::expNormal((-sl.decay * items.perWind(i)) * free.x);
                c = free.inside != 0.0 ? c : zero;
                if (!items.take(i, g, j, c, free.inside))
                    return;
            }
        }
    }
}

// Several cases of one pair that share the plume (CaseLanes), each added into its own sums
// as the pair kernel adds one; each case stops on its own at a value that is not finite.
template <class Vd> struct CaseItems {
    CaseLanes* cases;
    int n;
    double alfa;
    Vd group[kMaxSharedCases], counted[kMaxSharedCases];

    OVD_VECTOR_INLINE int count() const { return n; }
    OVD_VECTOR_INLINE double numerator(int i) const { return cases[i].numerator; }
    OVD_VECTOR_INLINE double twoPiWind(int i) const { return cases[i].twoPiWind; }
    OVD_VECTOR_INLINE double perWind(int i) const { return cases[i].perWind; }
    // the rest of a stopped case goes through the written-out formulas
    OVD_VECTOR_INLINE bool begin(int i) const { return cases[i].result.stoppedAt < 0; }
    OVD_VECTOR_INLINE bool take(int i, int, int j, Vd c, Vd inside)
    {
        CaseLanes& cl = cases[i];
        if (simd::anyNotFinite(c)) {
            cl.result.stoppedAt = j;
            return true;
        }
        addLanes(cl.sums, j, c, alfa);
        if (cl.share)
            group[i] += simd::load<Vd>(cl.share + j) * c;
        counted[i] += inside;
        return true;
    }
};

template <class Vd, int Degree> struct CasesDirections {
    static OVD_VECTOR_INLINE void run(const SourceLanes& sl, const PairLanes& p, CaseLanes* cases, int n)
    {
        CaseItems<Vd> items;
        items.cases = cases;
        items.n = n;
        items.alfa = sl.alfa;
        for (int i = 0; i < n; ++i) {
            items.group[i] = simd::broadcast<Vd>(0.0);
            items.counted[i] = items.group[i];
            cases[i].result = PairResult{};
        }
        sharedPlume<Vd, Degree>(sl, p, p.from, p.to, p.ranges, items);
        for (int i = 0; i < n; ++i) {
            cases[i].result.groupSum = laneSum(items.group[i]);
            cases[i].result.counted = laneSum(items.counted[i]);
        }
    }
};

// The maximum run's several speeds of one pair, added into plain sums; the first value that
// is not finite stops them all.
template <class Vd> struct SpeedItems {
    const SpeedLanes* speeds;
    int n;
    Vd counted;
    SpeedsResult out;

    OVD_VECTOR_INLINE int count() const { return n; }
    OVD_VECTOR_INLINE double numerator(int i) const { return speeds[i].numerator; }
    OVD_VECTOR_INLINE double twoPiWind(int i) const { return speeds[i].twoPiWind; }
    OVD_VECTOR_INLINE double perWind(int i) const { return speeds[i].perWind; }
    OVD_VECTOR_INLINE bool begin(int) const { return true; }
    OVD_VECTOR_INLINE bool take(int i, int g, int j, Vd c, Vd inside)
    {
        if (simd::anyNotFinite(c)) {
            out.stoppedRun = g;
            out.stoppedAt = j;
            out.stoppedEnd = j + simd::lanesOf<Vd>;
            out.stoppedSpeed = i;
            return false;
        }
        double* sums = speeds[i].sums;
        simd::store(sums + j, simd::load<Vd>(sums + j) + c);
        counted += inside;
        return true;
    }
};

template <class Vd, int Degree> struct SpeedsDirections {
    static OVD_VECTOR_INLINE SpeedsResult run(const SourceLanes& sl, const PairLanes& p, const DirectionRuns& runs,
                                              const SpeedLanes* speeds, int speedCount)
    {
        SpeedItems<Vd> items{speeds, speedCount, simd::broadcast<Vd>(0.0), {}};
        sharedPlume<Vd, Degree>(sl, p, runs.from, runs.to, runs.count, items);
        items.out.counted = laneSum(items.counted);
        return items.out;
    }
};

template <class Vd, int Degree> struct PairDirections {
    static OVD_VECTOR_INLINE PairResult run(const SourceLanes& sl, const PairLanes& p, const PointSums& ps)
    {
        return pairDirections<Vd, Degree>(sl, p, ps);
    }
};

// A kernel for the degree of the spreads' series that the source needs (the series are zero
// past their own degree, so a higher one gives the same bits).
template <template <class, int> class Kernel, class Vd, class... Args>
OVD_VECTOR_INLINE auto anyDegree(const SourceLanes& sl, const Args&... args)
{
    const int degree = sl.cosY->degree > sl.cosZ->degree ? sl.cosY->degree : sl.cosZ->degree;
    if (degree <= kNarrowDegree)
        return Kernel<Vd, kNarrowDegree>::run(sl, args...);
    if (degree <= kWideDegree)
        return Kernel<Vd, kWideDegree>::run(sl, args...);
    return Kernel<Vd, kCosinePowerTerms - 1>::run(sl, args...);
}

// The three kernels of one width, each compiled for its instruction set: one register of
// the set's own width (GCC splits a wider vector type into halves for arithmetic, but builds
// every select on it lane by lane through the stack).
#define OVD_KERNELS_OF_WIDTH(Name, Lanes, Target)                                                                   \
    Target PairResult pair##Name(const SourceLanes& sl, const PairLanes& p, const PointSums& ps)                   \
    {                                                                                                              \
        return anyDegree<PairDirections, simd::Vector<Lanes>::D>(sl, p, ps);                                       \
    }                                                                                                              \
    Target void cases##Name(const SourceLanes& sl, const PairLanes& p, CaseLanes* cases, int n)                    \
    {                                                                                                              \
        anyDegree<CasesDirections, simd::Vector<Lanes>::D>(sl, p, cases, n);                                       \
    }                                                                                                              \
    Target SpeedsResult speeds##Name(const SourceLanes& sl, const PairLanes& p, const DirectionRuns& runs,         \
                                     const SpeedLanes* speeds, int speedCount)                                     \
    {                                                                                                              \
        return anyDegree<SpeedsDirections, simd::Vector<Lanes>::D>(sl, p, runs, speeds, speedCount);               \
    }                                                                                                              \
    constexpr Kernels k##Name{pair##Name, cases##Name, speeds##Name};

OVD_KERNELS_OF_WIDTH(Sse2, 2, )
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define OVD_WIDE_KERNELS 1
OVD_KERNELS_OF_WIDTH(Avx2, 4, __attribute__((target("arch=x86-64-v3"))))
OVD_KERNELS_OF_WIDTH(Avx512, 8, __attribute__((target("arch=x86-64-v4"))))
#endif
#undef OVD_KERNELS_OF_WIDTH

}  // namespace

void addContribution(const PointSums& ps, int j, double c, double alfa)
{
    addLanes(ps, j, simd::Vector<1>::D{c}, alfa);
}

const Kernels& kernels(VectorWidth width)
{
#ifdef OVD_WIDE_KERNELS
    if (width == VectorWidth::Avx512)
        return kAvx512;
    if (width == VectorWidth::Avx2)
        return kAvx2;
#endif
    (void)width;
    return kSse2;
}

}  // namespace ovd
