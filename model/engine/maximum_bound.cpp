#include "model/engine/maximum_bound.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/dispersion_formulas.h"

namespace ovd {

namespace {

// Relative slack on every computed quantity: the engine's own exp, log and sin/cos and the
// rounding of its expressions stay within a few units in the last place (about 1e-15), so
// a value computed there never exceeds the exact bound by more than this. The slack covers
// the C library's last bits too, so the bound takes its faster exp, pow and cos: a bound
// decides only which speeds are computed, never a value, on any system.
constexpr double kSlack = 1e-12;
// Margin on the final bound, far above the rounding of the sums over sources.
constexpr double kMargin = 1e-6;
constexpr double kAngleSlack = 1e-9;  // degrees

// The smallest |a| over an interval whose ends are a0 and a1 (a is monotone in between).
double smallestMagnitude(double a0, double a1)
{
    if ((a0 <= 0.0 && a1 >= 0.0) || (a0 >= 0.0 && a1 <= 0.0))
        return 0.0;
    return std::min(std::fabs(a0), std::fabs(a1));
}

// The heights at the two ends of the speed range, widened; a negative rise (a negative
// exit velocity or diameter) falls as the speed grows, so the ends are ordered here.
std::pair<double, double> heightRange(const BoundPair& p)
{
    const double lo = std::min(p.heightLow, p.heightHigh), hi = std::max(p.heightLow, p.heightHigh);
    return {lo - kSlack * (1.0 + std::fabs(lo)), hi + kSlack * (1.0 + std::fabs(hi))};
}

}  // namespace

// Derivation. For one pair, the case value's contribution at speed u (10 m) is
//   c(u) = q T / (2 pi sy sz u2 + Vs) * E1 * (E2 + (1 - Theta) E3 + Theta E4) * exp(-k x / u2).
// 1. The effective height h is monotone in u (the rise is R (D/x0)^0.66666 or R with
//    R ~ 1/u, and the cluster factor grows with the rise), so over [u_low, u_high] h lies
//    between h(u_low) and h(u_high); without rise it is one value. h2 (h, or b h + ZMax
//    where that is higher) is continuous and increasing in h, so h2 lies in
//    [h2(h_low), h2(h_high)].
// 2. The corrected Delta d' = Delta - (h - 10) 0.04 then lies in an interval; the angle
//    |phi - d'| in an interval [A_min, A_max]. The direction is inside the sector for some
//    speed only if A_min <= half or A_max >= 360 - half; the angle the formulas use is
//    A, or A - 360 past 180, and its smallest magnitude over the inside part gives the
//    smallest |y| = D sin(theta_min) >= D (t - t^3/6) (t = theta_min in radians).
// 3. The largest magnitude of that angle is half, or -d' where d' < 0 (angles up to 405
//    count as inside), so x = D cos(angle) lies in [D cos(theta_cap), D] with theta_cap <= 45.
//    The spreads c x^d + sy0, e x^f + sz0 grow with x: their extremes come from the ends of
//    x and the extremes of the initial spreads over the block's directions.
// 4. u2 = u g(h2) with g non-decreasing: u2 >= u_low g(h2_low), u2 <= u_high g(h2_high).
// 5. Each factor is bounded on its own, all factors being positive: T <= 1 (the attenuation
//    table falls with altitude, so a >= t2 where the point stands above the axis);
//    |q| / (2 pi sy_min sz_min u2_min + Vs) for F; E1 <= exp(-y_min^2 / (2 sy_max^2));
//    each vertical term exp(-a^2 / (2 sz_max^2)) with the smallest |a| over h2's interval,
//    a = z1 - h2, z2 + h2, z3 - h2 being continuous and monotone in h2 in both the normal
//    and the free-atmosphere form; |1 - Theta| and |Theta| as weights; the decay
//    exp(-k x_min / u2_max).
// 6. Computed values carry rounding: every input of the bound is widened by kSlack and the
//    product by kMargin, so the bound exceeds what the engine computes for any speed of
//    the range, and its sum over the sources exceeds the computed sum of contributions.
PairBound::PairBound(const BoundPair& p)
{
    const auto [hLow, hHigh] = heightRange(p);
    double dLow = p.delta - (hHigh - 10.0) * kDeltaPerMetre - kAngleSlack;
    double dHigh = p.delta - (hLow - 10.0) * kDeltaPerMetre + kAngleSlack;
    if (dHigh >= 360.0) {
        if (dLow < 360.0)
            return;  // some speeds wrap, some do not
        dLow -= 360.0;
        dHigh -= 360.0;
    }
    m_deltaLow = dLow;
    m_deltaHigh = dHigh;
    m_distance = p.distance;
    m_half = p.half;
    // the ranges of the engine's kernels; beyond them the written-out formulas decide
    m_usable = dLow >= -45.0 && dHigh < 360.0 && p.distance >= 1e-3 && p.distance <= 1e7 && hLow > -1e7 &&
        hHigh < 1e7 && std::fabs(p.theta) <= 1e6 && std::fabs(p.zmax) < 1e7 && std::fabs(p.pointZ) < 1e7 &&
        std::fabs(p.sourceZ) < 1e7 && std::fabs(p.pointL) < 1e7;
}

bool PairBound::complete(const BoundPair& p, const BoundSpeeds& s)
{
    const StabilityConstants& k = s.k;
    m_usable = m_usable && s.low > 0.0 && s.high >= s.low;
    if (!m_usable)
        return false;
    const auto [hLow, hHigh] = heightRange(p);
    auto corrected = [&](double h) { return (1.0 - k.b) * h < p.zmax ? k.b * h + p.zmax : h; };
    const double h2Low = corrected(hLow), h2High = corrected(hHigh);
    const double windLow = windAtHeight(s.low, h2Low, k.eps) * (1.0 - kSlack);
    const double windHigh = windAtHeight(s.high, h2High, k.eps) * (1.0 + kSlack);
    const double cap = (std::max(p.half, -m_deltaLow) + kAngleSlack) * kModelPi / 180.0;
    const double xLow = p.distance * std::cos(cap) * (1.0 - kSlack);
    const double xHigh = p.distance * (1.0 + kSlack);
    const double syMin = k.c * std::pow(xLow, k.d) * (1.0 - kSlack) + p.syLow;
    const double syMax = k.c * std::pow(xHigh, k.d) * (1.0 + kSlack) + p.syHigh;
    const double szMin = k.e * std::pow(xLow, k.f) * (1.0 - kSlack) + p.szLow;
    const double szMax = k.e * std::pow(xHigh, k.f) * (1.0 + kSlack) + p.szHigh;
    const double f = std::fabs(p.q) / ((2.0 * kModelPi * syMin * szMin * windLow + p.vs) * (1.0 - kSlack));

    const double dz = p.pointZ - p.sourceZ;
    const VerticalTerms zLow = verticalTerms(dz, p.pointL, h2Low, s.freeAtmosphere);
    const VerticalTerms zHigh = verticalTerms(dz, p.pointL, h2High, s.freeAtmosphere);
    const double vertical = 1.0 / (2.0 * szMax * szMax);
    auto term = [&](double a0, double a1) {
        const double a = smallestMagnitude(a0, a1) * (1.0 - kSlack);
        return std::exp(-a * a * vertical);
    };
    const double v = term(zLow.z1 - h2Low, zHigh.z1 - h2High) +
        std::fabs(1.0 - p.theta) * term(zLow.z2 + h2Low, zHigh.z2 + h2High) +
        std::fabs(p.theta) * term(zLow.z3 - h2Low, zHigh.z3 - h2High);
    const double decay = std::exp(-s.decay * xLow / windHigh);
    m_scale = f * v * decay * (1.0 + kMargin);
    m_lateral = (1.0 - kSlack) / (2.0 * syMax * syMax);
    m_usable = std::isfinite(m_scale) && std::isfinite(m_lateral) && windLow >= 1e-6 && windHigh <= 1e6 &&
        p.syLow >= 0.0 && p.szLow >= 0.0;
    return m_usable;
}

double PairBound::at(double phi) const
{
    const double a = std::fabs(phi - m_deltaLow), b = std::fabs(phi - m_deltaHigh);
    const double aMin = (phi >= m_deltaLow && phi <= m_deltaHigh) ? 0.0 : std::min(a, b);
    const double aMax = std::max(a, b);
    double smallest = 1e300;  // degrees
    if (aMin <= m_half + kAngleSlack)
        smallest = aMin;
    if (aMax >= 360.0 - m_half - kAngleSlack) {
        const double lo = std::max(aMin, 360.0 - m_half) - 360.0, hi = aMax - 360.0;
        smallest = std::min(smallest, smallestMagnitude(lo, hi));
    }
    if (smallest == 1e300)
        return 0.0;
    const double t = std::max(0.0, smallest * kModelPi / 180.0 - kAngleSlack);
    const double y = m_distance * (t - t * t * t / 6.0);
    return m_scale * std::exp(-y * y * m_lateral);
}

}  // namespace ovd
