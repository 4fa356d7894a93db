#include "model/engine/plume_contribution.h"

#include <cmath>

#include "common/portable_math.h"

namespace ovd {

namespace {

// The dust's vertical terms: each fraction settles by its own velocity, the plume axis
// descending by s_i = v_i x / u2 at the point; fe1 is F E1.
double settledSum(std::span<const SettlingFraction> fractions, double x, double u2, const VerticalTerms& z, double h2,
                  double sigZ, double theta, double fe1)
{
    double sum = 0.0;
    for (const SettlingFraction& fr : fractions) {
        const double s = fr.velocity * x / u2;
        const double a2 = z.z1 - (h2 - s), a3 = z.z2 + s + h2, a4 = z.z3 - (s + h2);
        const double e2 = portable::exp(-(a2 * a2) / (2.0 * sigZ * sigZ));
        const double e3 = (1.0 - theta) * portable::exp(-(a3 * a3) / (2.0 * sigZ * sigZ));
        const double e4 = theta * portable::exp(-(a4 * a4) / (2.0 * sigZ * sigZ));
        sum += fe1 * (e2 + e3 + e4) * fr.share;
    }
    return sum;
}

}  // namespace

double plumeContribution(const ModelSource& src, const SourceCase& sc, const InitialSpread& spread0,
                         const ClusterLine* cluster, const WeatherCase& wc, double phi, const ReferencePoint& pt,
                         const PairCoefficients& m, std::span<const SettlingFraction> fractions,
                         const PlumeOptions& opt)
{
    const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
    const double u = wc.speed;
    // distance and plume rise
    const double dist = std::sqrt((src.x - pt.x) * (src.x - pt.x) + (src.y - pt.y) * (src.y - pt.y));
    double rise = plumeRise(src, sc, dist);
    if (cluster)
        rise = clusterRise(rise, src.cluster, *cluster);
    const double h = src.h + rise;
    // direction test
    double deltaCorr = m.delta - (h - 10.0) * kDeltaPerMetre;
    if (deltaCorr >= 360.0)
        deltaCorr -= 360.0;
    const double angle = std::fabs(phi - deltaCorr);
    const double half = sectorHalfWidth(src.type);
    if (!(angle <= half || angle >= 360.0 - half))
        return 0.0;
    // terrain
    double h2 = h;
    if ((1.0 - k.b) * h < m.zmax)
        h2 = k.b * h + m.zmax;
    const double t = altitudeCorrection(wc.stabilityClass, u, pt.z, src.z + h2);
    const double u2 = windAtHeight(u, h2, k.eps);
    const double x = dist * portable::cos(angle * kModelPi / 180.0);
    const double y = dist * portable::sin(angle * kModelPi / 180.0);
    // a point not downwind of the source gets nothing
    if (!(x > 0.0))
        return 0.0;
    const double sy = opt.lateralWidening * k.c * portable::pow(x, k.d);
    const double sz = k.e * portable::pow(x, k.f);
    const VerticalTerms z = verticalTerms(pt.z - src.z, pt.l, h2, opt.freeAtmosphere);
    // contribution
    double sigY = sy, sigZ = sz;
    double f;
    if (src.type == kPointSource) {
        f = sc.q / (2.0 * kModelPi * sigY * sigZ * u2 + src.vs);
    } else {
        sigY = spread0.sy0 + sy;
        sigZ = spread0.sz0 + sz;
        f = sc.q / (2.0 * kModelPi * sigY * sigZ * u2);
    }
    const double theta = m.theta;
    const double e1 = portable::exp(-(y * y) / (2.0 * sigY * sigY));
    if (!opt.dust) {
        const double e2 = portable::exp(-((z.z1 - h2) * (z.z1 - h2)) / (2.0 * sigZ * sigZ));
        const double e3 = (1.0 - theta) * portable::exp(-((z.z2 + h2) * (z.z2 + h2)) / (2.0 * sigZ * sigZ));
        const double e4 = theta * portable::exp(-((z.z3 - h2) * (z.z3 - h2)) / (2.0 * sigZ * sigZ));
        const double d1 = portable::exp(-opt.decay * x / u2);
        return f * e1 * (e2 + e3 + e4) * d1 * t;
    }
    return t * settledSum(fractions, x, u2, z, h2, sigZ, theta, f * e1);
}

}  // namespace ovd
