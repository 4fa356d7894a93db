#pragma once
// The formulas of the plume model that both the reference loop and the engine use:
// sources as the model sees them, plume rise, clusters, altitude correction, vertical terms.
#include <cmath>
#include <vector>

#include "common/portable_math.h"
#include "model/concentration_inputs.h"
#include "model/dispersion_constants.h"

namespace ovd {

// One size fraction of a dust source as the model uses it.
struct SettlingFraction {
    double velocity = 0;  // m/s
    double share = 0;     // of the emission, as entered (not normalised)
};

// Settling velocity of particles of diameter d (micrometres) and density rho (kg/m3):
// sqrt(a^2 + rho d 7.848 / 780000) - a with a = 45 pi / (1.2 d), evaluated as
// b / (sqrt(a^2 + b) + a), which is the same value without the cancellation that makes the
// plain difference useless for fine particles. A diameter of 0 settles with velocity 0.
double settlingVelocity(double diameter, double density);
// The fractions of a dust source record, in record order.
std::vector<SettlingFraction> settlingFractions(const SourceRecord&);

// A source record after the adjustments made on reading: area sources lose Vs; line
// sources stand at the midpoint of their segment with H = 1 and no flue gas.
struct ModelSource {
    std::int32_t number = 0;
    int type = kPointSource;
    double x = 0, y = 0, z = 0;
    long cluster = 0;
    int groupIndex = 0;
    double emission = 0;  // M (g/s) or ML (g/(s m))
    double h = 0, vs = 0, ts = 0, d = 0, w0 = 0, alfa = 0, y0 = 0;
    double pd = 0;  // hours of operation per day (daily computation only)
    // line sources
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, width = 0, emissionHeight = 0;
    double length = 0, azimuth = 0;
    // area source with d = w0 = 0: the fourth value is the plume rise itself
    bool givenRise = false;
};
ModelSource modelSource(const SourceRecord&);

double temperatureShare(double ts);       // FT
double heatCapacityFactor(double ts);     // kappa
double heatOutput(double ts, double vs);  // QH
// The factor the wind profile puts on the speed at 10 m at this height.
inline double windProfile(double height, double eps)
{
    if (height <= 10.0)
        return 1.0;
    if (height < 200.0)
        return portable::pow(height / 10.0, eps);
    return portable::pow(20.0, eps);
}
// Wind speed at a height from the speed at 10 m (u times the profile factor, the same bits).
inline double windAtHeight(double u, double height, double eps)
{
    return u * windProfile(height, eps);
}

// What depends on the source and the weather case only.
struct SourceCase {
    double uH = 0;        // wind speed at the stack top
    double x0 = 0;        // distance of full rise (0: full rise everywhere)
    double fullRise = 0;  // R; the given rise for an area source with d = w0 = 0
    double q = 0;         // emission in micrograms per second (line: per whole segment)
};
SourceCase sourceCase(const ModelSource&, const WeatherCase&);

// Plume rise at distance D (before the cluster correction).
double plumeRise(const ModelSource&, const SourceCase&, double distance);

// The distance value X of a cluster: the distance itself for numbers below 1000, (n - 1)
// times it for a row of sources.
double clusterDistanceValue(long clusterNumber, const ClusterLine&);
// Rise in a cluster of n sources with distance value v. A rise of 0 or below stays as it is.
double clusterRise(double rise, long clusterNumber, const ClusterLine&);
// First line of the clusters list with this number, or nullptr.
const ClusterLine* findCluster(const std::vector<ClusterLine>&, long clusterNumber);

// Azimuth of a segment from its components; angle between wind and segment (0 to 90,
// cut to six decimals).
double segmentAzimuth(double dx, double dy);
double windSegmentAngle(double direction, double azimuth);

struct InitialSpread {
    double sy0 = 0, sz0 = 0;
};
// Point sources take no initial spread into account; the caller decides.
InitialSpread initialSpread(const ModelSource&, double direction, const StabilityConstants&);

// T: 1 unless the point stands above the plume axis.
double altitudeCorrection(int stabilityClass, double u, double pointAltitude, double axisAltitude);

struct VerticalTerms {
    double z1 = 0, z2 = 0, z3 = 0;
};
inline VerticalTerms verticalTerms(double dz, double lr, double h2, bool freeAtmosphere)
{
    if (!freeAtmosphere) {
        if (dz + lr <= h2)
            return {dz + lr, std::fabs(dz) + lr, dz - lr};
        return {h2, std::fabs(dz) + h2 - dz, 2.0 * dz - h2};
    }
    if (dz <= h2)
        return {dz + lr, std::fabs(dz) + lr, dz - lr};
    return {h2 + lr, std::fabs(dz) + h2 - dz + lr, 2.0 * dz - h2 - lr};
}

}  // namespace ovd
