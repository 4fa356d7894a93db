#include "model/contribution_batch.h"

#include <cmath>

#include "model/vector_math.h"

namespace ovd {

namespace {

constexpr double kTwoPiHi = 6.283185307179586;   // 2 pi split in two for the reduction
constexpr double kTwoPiLo = 2.4492935982947064e-16;

// No lambdas in the kernel: a lambda would be compiled for the basic instruction set and
// called with wide vectors. Masks are never combined with & or |: GCC then builds them lane
// by lane; conditions are chained selects instead.

// Rise of a source in a cluster; a rise of 0 or below stays as it is.
template <class Vd>
OVD_VECTOR_INLINE Vd clusterRiseLanes(Vd rise, double n, double distanceValue)
{
    const Vd e = 6.0 * simd::pow(distanceValue / rise, 1.5) / std::sqrt(n);
    const Vd raised = rise * simd::pow((n + e) / (1.0 + e), 0.33333);
    return rise > 0.0 ? raised : rise;
}

// The three vertical terms with E1 folded into their exponents.
template <class Vd>
OVD_VECTOR_INLINE Vd verticalSum(Vd e1, Vd invZ, Vd th, bool second, bool third, Vd b1, Vd b2, Vd b3)
{
    Vd v = simd::exp(e1 - b1 * b1 * invZ);
    if (second)
        v += (1.0 - th) * simd::exp(e1 - b2 * b2 * invZ);
    if (third)
        v += th * simd::exp(e1 - b3 * b3 * invZ);
    return v;
}

struct LaneOutput {
    double *along, *value, *height;
};

// One vector of pairs starting at j. Every lane is computed the same way whatever its
// neighbours are.
template <class Vd>
OVD_VECTOR_INLINE void evaluateLanes(const BatchConstants& bc, double topWind, const PairColumns& pc, std::size_t j,
                                     double* alongOut, double* valueOut, double* heightOut)
{
    const Vd dist = simd::load<Vd>(pc.distance + j);
    // plume height: full rise beyond x0, growing with the distance before it
    Vd h = simd::broadcast<Vd>(bc.farHeight);
    if (bc.risesNear && simd::anyLane<Vd>(dist < bc.x0)) {
        Vd rise = bc.fullRise * (simd::load<Vd>(pc.distancePow + j) / bc.x0Pow);
        if (bc.cluster)
            rise = clusterRiseLanes(rise, bc.clusterCount, bc.clusterDistance);
        h = dist < bc.x0 ? bc.stackHeight + rise : h;
    }
    // direction test on Delta corrected for the height
    Vd deltaCorr = simd::loadFloats<Vd>(pc.delta + j) - (h - 10.0) * 0.04;
    deltaCorr = deltaCorr >= 360.0 ? deltaCorr - 360.0 : deltaCorr;
    const Vd angle = simd::abs(bc.direction - deltaCorr);
    // terrain
    const Vd zm = simd::loadFloats<Vd>(pc.zmax + j);
    const Vd h2 = (1.0 - bc.k.b) * h < zm ? bc.k.b * h + zm : h;
    // x and y; past 180 degrees the angle is taken back by a whole turn
    Vd r = angle * (kModelPi / 180.0);
    r = angle > 180.0 ? (r - kTwoPiHi) - kTwoPiLo : r;
    Vd sine, cosine;
    simd::sinCosSmall(r, sine, cosine);
    const Vd x = dist * cosine;
    const Vd y = dist * sine;
    // wind at the plume height: the far height's wind is known
    Vd u2 = simd::broadcast<Vd>(bc.farWind);
    if (simd::anyLane<Vd>(h2 != bc.farHeight))
        u2 = bc.u * simd::pow(h2 * 0.1, bc.k.eps);
    u2 = h2 <= 10.0 ? simd::broadcast<Vd>(bc.u) : u2;
    u2 = h2 >= 200.0 ? simd::broadcast<Vd>(topWind) : u2;
    u2 = h2 == bc.farHeight ? simd::broadcast<Vd>(bc.farWind) : u2;
    // spreads
    const Vd lx = simd::log(x);
    Vd sigY = bc.k.c * simd::exp(bc.k.d * lx);
    Vd sigZ = bc.k.e * simd::exp(bc.k.f * lx);
    if (!bc.pointSource) {
        sigY += bc.spread0.sy0;
        sigZ += bc.spread0.sz0;
    }
    const Vd sy2 = sigY * sigY, sz2 = sigZ * sigZ;
    // one division gives 1 / (2 sy^2), 1 / (2 sz^2) and 1 / u2
    const Vd common = 1.0 / (2.0 * sy2 * sz2 * u2);
    const Vd invY = common * sz2 * u2, invZ = common * sy2 * u2, invU = 2.0 * common * sy2 * sz2;
    const Vd f = bc.pointSource ? bc.q / (2.0 * kModelPi * sigY * sigZ * u2 + bc.vs)
                                : bc.q / (2.0 * kModelPi * sigY * sigZ * u2);
    // vertical terms
    const Vd dz = simd::gather<Vd>(pc.pointZ, pc.point + j) - bc.sourceZ;
    const Vd lr = simd::gather<Vd>(pc.pointL, pc.point + j);
    const Vd adz = simd::abs(dz);
    Vd z1, z2, z3;
    if (!bc.freeAtmosphere) {
        const auto below = dz + lr <= h2;
        z1 = below ? dz + lr : h2;
        z2 = below ? adz + lr : adz + h2 - dz;
        z3 = below ? dz - lr : 2.0 * dz - h2;
    } else {
        const auto below = dz <= h2;
        z1 = below ? dz + lr : h2 + lr;
        z2 = below ? adz + lr : adz + h2 - dz + lr;
        z3 = below ? dz - lr : 2.0 * dz - h2 - lr;
    }
    // E1 and the decay folded into each vertical term's exponent; the second and third
    // terms are left out where Theta makes them 0
    const Vd th = simd::loadFloats<Vd>(pc.theta + j);
    const Vd e1 = -(y * y) * invY - bc.decay * x * invU;
    const Vd a1 = z1 - h2, a2 = z2 + h2, a3 = z3 - h2;
    const bool second = simd::anyLane<Vd>(th != 1.0), third = simd::anyLane<Vd>(th != 0.0);
    Vd vertical;
    if (!bc.fractions) {
        vertical = verticalSum(e1, invZ, th, second, third, a1, a2, a3);
    } else {
        // each fraction's axis lies lower by its descent v x / u2
        vertical = simd::broadcast<Vd>(0.0);
        const Vd perWind = x * invU;
        for (int i = 0; i < bc.fractionCount; ++i) {
            const SettlingFraction& fr = bc.fractions[i];
            if (fr.share == 0.0)
                continue;
            const Vd sd = fr.velocity * perWind;
            vertical += verticalSum(e1, invZ, th, second, third, a1 + sd, a2 + sd, a3 - sd) * fr.share;
        }
    }
    // a pair outside the sector is marked as not downwind
    Vd along = angle <= bc.halfSector ? x : simd::broadcast<Vd>(-1.0);
    along = angle >= 360.0 - bc.halfSector ? x : along;
    simd::store(alongOut, along);
    simd::store(valueOut, f * vertical);
    simd::store(heightOut, h2);
}

template <int Width>
OVD_VECTOR_INLINE void evaluateAll(const BatchConstants& bc, double topWind, const PairColumns& pc, std::size_t from,
                                   std::size_t count, const LaneOutput& out)
{
    using Vd = typename simd::Vector<Width>::D;
    for (std::size_t i = 0; i < count; i += Width)
        evaluateLanes<Vd>(bc, topWind, pc, from + i, out.along + i, out.value + i, out.height + i);
}

using EvaluateFunction = void (*)(const BatchConstants&, double, const PairColumns&, std::size_t, std::size_t,
                                  const LaneOutput&);

void evaluatePlain(const BatchConstants& bc, double topWind, const PairColumns& pc, std::size_t from,
                   std::size_t count, const LaneOutput& out)
{
    evaluateAll<2>(bc, topWind, pc, from, count, out);
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define OVD_WIDE_KERNELS 1
__attribute__((target("arch=x86-64-v3"))) void evaluateAvx2(const BatchConstants& bc, double topWind,
                                                           const PairColumns& pc, std::size_t from, std::size_t count,
                                                           const LaneOutput& out)
{
    evaluateAll<4>(bc, topWind, pc, from, count, out);
}

__attribute__((target("arch=x86-64-v4"))) void evaluateAvx512(const BatchConstants& bc, double topWind,
                                                             const PairColumns& pc, std::size_t from, std::size_t count,
                                                             const LaneOutput& out)
{
    evaluateAll<8>(bc, topWind, pc, from, count, out);
}
#endif

EvaluateFunction kernelOfWidth(int width)
{
#ifdef OVD_WIDE_KERNELS
    if (width == 8)
        return evaluateAvx512;
    if (width == 4)
        return evaluateAvx2;
#endif
    (void)width;
    return evaluatePlain;
}

}  // namespace

BatchConstants batchConstants(const ModelSource& src, const SourceCase& sc, const ClusterLine* cluster,
                              const WeatherCase& wc, double decay, bool freeAtmosphere,
                              std::span<const SettlingFraction> fractions)
{
    BatchConstants bc;
    bc.halfSector = src.type == kPointSource ? 20.0 : 40.0;
    bc.stackHeight = src.h;
    bc.sourceZ = src.z;
    bc.pointSource = src.type == kPointSource;
    bc.vs = src.vs;
    bc.risesNear = !src.givenRise;
    bc.x0 = sc.x0;
    bc.x0Pow = sc.x0 > 0.0 ? std::pow(sc.x0, 0.66666) : 1.0;
    bc.fullRise = sc.fullRise;
    double farRise = sc.fullRise;
    if (cluster) {
        bc.cluster = true;
        bc.clusterCount = cluster->count;
        bc.clusterDistance = clusterDistanceValue(src.cluster, *cluster);
        farRise = clusterRise(farRise, src.cluster, *cluster);
    }
    bc.k = stabilityConstants(wc.stabilityClass);
    bc.u = wc.speed;
    bc.farHeight = src.h + farRise;
    bc.farWind = windAtHeight(wc.speed, bc.farHeight, bc.k.eps);
    bc.q = sc.q;
    bc.decay = decay;
    bc.freeAtmosphere = freeAtmosphere;
    if (!fractions.empty()) {
        bc.fractions = fractions.data();
        bc.fractionCount = static_cast<int>(fractions.size());
    }
    return bc;
}

std::vector<int> ContributionBatch::widths()
{
    std::vector<int> out;
#ifdef OVD_WIDE_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("x86-64-v4"))
        out.push_back(8);
    if (__builtin_cpu_supports("x86-64-v3"))
        out.push_back(4);
#endif
    out.push_back(2);
    return out;
}

void ContributionBatch::reserve(std::size_t n)
{
    const std::size_t padded = n + kPairPadding;
    if (m_along.size() >= padded)
        return;
    m_along.resize(padded);
    m_value.resize(padded);
    m_height.resize(padded);
}

void ContributionBatch::evaluateWidth(int width, const BatchConstants& bc, const PairColumns& pc, std::size_t from,
                                      std::size_t count)
{
    // above 200 m the wind no longer grows
    kernelOfWidth(width)(bc, windAtHeight(bc.u, 200.0, bc.k.eps), pc, from, count,
                         {m_along.data(), m_value.data(), m_height.data()});
}

void ContributionBatch::evaluate(const BatchConstants& bc, const PairColumns& pc, std::size_t from, std::size_t count)
{
    // the widest kernel, chosen once: all threads of a run use the same code, so the
    // results do not depend on the number of threads
    static const int widest = widths().front();
    evaluateWidth(widest, bc, pc, from, count);
}

}  // namespace ovd
