#include "model/dispersion_formulas.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/portable_math.h"

namespace ovd {

namespace {

double sign(double v)
{
    return v > 0 ? 1.0 : v < 0 ? -1.0 : 0.0;
}

}  // namespace

namespace {

using M = ModelSource;

// The model's field of each value of a description line, in the line's order
// (common/source_layout.h names the places).
constexpr std::array<double M::*, kDescriptionValueCount> kStackFields = {&M::emission, &M::h,    &M::vs, &M::ts, &M::d,
                                                                          &M::w0,       &M::alfa, &M::pd, &M::y0};
constexpr std::array<double M::*, kDescriptionValueCount> kLineFields = {
    &M::emission, &M::x1, &M::y1, &M::x2, &M::y2, &M::width, &M::emissionHeight, &M::alfa, &M::pd};

}  // namespace

ModelSource modelSource(const SourceRecord& r)
{
    // the record's number, type, place, cluster and group, then its values
    ModelSource s{r.number, r.type, r.x, r.y, r.z, r.cluster, r.groupIndex};
    const auto& fields = r.type == kLineSource ? kLineFields : kStackFields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        s.*fields[i] = r.values[i];
    if (r.type == kLineSource) {
        s.h = 1.0;
        s.x = (s.x1 + s.x2) / 2.0;
        s.y = (s.y1 + s.y2) / 2.0;
        double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
        s.length = std::sqrt(dx * dx + dy * dy);
        s.azimuth = segmentAzimuth(dx, dy);
        return s;
    }
    if (r.type == kAreaSource)
        s.vs = 0.0;  // an area source's gas flow is not used
    s.givenRise = r.type == kAreaSource && givesPlumeRise(s.d, s.w0);
    return s;
}

double settlingVelocity(double diameter, double density)
{
    if (diameter == 0.0)
        return 0.0;
    const double a = 45.0 * kModelPi / (1.2 * diameter);
    const double b = density * diameter * 7.848 * 1.282051282051282e-6;
    return b / (std::sqrt(a * a + b) + a);
}

std::vector<SettlingFraction> settlingFractions(const SourceRecord& r)
{
    std::vector<SettlingFraction> out;
    out.reserve(r.fractions.size());
    for (const DustFraction& f : r.fractions)
        out.push_back({settlingVelocity(f.diameter, r.density), f.share});
    return out;
}

double temperatureShare(double ts)
{
    if (ts <= 30.0)
        return 0.0;
    if (ts < 80.0)
        return (ts - 30.0) * 0.02;
    return 1.0;
}

double heatCapacityFactor(double ts)
{
    return ts <= 80.0 ? 1.004 : 1.371;
}

double heatOutput(double ts, double vs)
{
    return ts * vs * heatCapacityFactor(ts) * 0.001;
}

SourceCase sourceCase(const ModelSource& s, const WeatherCase& wc)
{
    const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
    SourceCase c;
    c.uH = windAtHeight(wc.speed, s.h, k.eps);
    c.q = s.type == kLineSource ? s.emission * s.length * 1000000.0 : s.emission * 1000000.0;
    if (s.givenRise) {
        c.fullRise = s.ts;
        return c;
    }
    double ft = temperatureShare(s.ts);
    double qh = heatOutput(s.ts, s.vs);
    double p = qh >= 20.0 ? 30.0 : 90.0;
    double beta = qh >= 20.0 ? 0.7 : 0.333333333;
    // A flue gas below 0 degrees has no buoyancy; its power would not be a number.
    double buoyancy = qh > 0.0 ? ft * p * portable::pow(qh, beta) * k.a / c.uH : 0.0;
    c.fullRise = buoyancy + (1.0 - ft) * 1.5 * s.w0 * s.d / c.uH;
    c.x0 = qh > 0.0 ? k.k * std::sqrt(qh) : 0.0;
    return c;
}

double plumeRise(const ModelSource& s, const SourceCase& c, double distance)
{
    if (s.givenRise)
        return c.fullRise;
    if (distance < c.x0)
        return c.fullRise * portable::pow(distance / c.x0, kNearRiseExponent);
    return c.fullRise;
}

double clusterDistanceValue(long clusterNumber, const ClusterLine& line)
{
    return clusterNumber < 1000 ? line.distance : (line.count - 1.0) * line.distance;
}

double clusterRise(double rise, long clusterNumber, const ClusterLine& line)
{
    if (!(rise > 0.0))
        return rise;
    double n = line.count;
    double x = clusterDistanceValue(clusterNumber, line);
    double e = 6.0 * portable::pow(x / rise, 1.5) / std::sqrt(n);
    return rise * portable::pow((n + e) / (1.0 + e), 0.33333);
}

const ClusterLine* findCluster(const std::vector<ClusterLine>& lines, long clusterNumber)
{
    for (const ClusterLine& line : lines)
        if (line.number == clusterNumber)
            return &line;
    return nullptr;
}

double segmentAzimuth(double dx, double dy)
{
    if (dx == 0.0 && dy == 0.0)
        return 0.0;
    if (dx == 0.0)
        return 90.0 - 90.0 * sign(dy);
    if (dy == 0.0)
        return (2.0 - sign(dx)) * 90.0;
    return (2.0 - (sign(dy) + 1.0) * sign(dx)) * 90.0 + portable::atan(dx / dy) * 180.0 / kModelPi;
}

double windSegmentAngle(double direction, double azimuth)
{
    double t = std::fabs(direction - azimuth);
    if (t >= 270.0)
        t = 360.0 - t;
    else if (t >= 180.0)
        t = t - 180.0;
    else if (t >= 90.0)
        t = 180.0 - t;
    return std::floor(t * 1000000.0) / 1000000.0;
}

InitialSpread initialSpread(const ModelSource& s, double direction, const StabilityConstants& k)
{
    InitialSpread out;
    if (s.type != kLineSource) {
        out.sy0 = s.y0 / std::sqrt(2.0 * kModelPi);
        out.sz0 = k.e * portable::pow(s.y0 / 2.0, k.f);
        return out;
    }
    double gamma = windSegmentAngle(direction, s.azimuth);
    double g = gamma * kModelPi / 180.0;
    double le;
    if (gamma == 0.0)
        le = s.length;
    else if (gamma == 90.0)
        le = s.width;
    else
        le = std::min(s.width / portable::sin(g), s.length / portable::cos(g));
    double wp = portable::sin(g) * s.length + portable::cos(g) * s.width;
    out.sy0 = wp / std::sqrt(2.0 * kModelPi);
    out.sz0 = k.e * portable::pow(le / 2.0, k.f) + s.emissionHeight / std::sqrt(kModelPi / 2.0);
    return out;
}

double altitudeCorrection(int stabilityClass, double u, double pointAltitude, double axisAltitude)
{
    if (pointAltitude <= axisAltitude)
        return 1.0;
    double a = altitudeAttenuation(axisAltitude);
    double t2 = altitudeAttenuation(pointAltitude);
    double factor;
    switch (stabilityClass) {
    case 1:
    case 2: factor = 2.247; break;
    case 3: factor = u <= 2.5 ? 1.17 : u < 7.5 ? (1.0 - (u - 2.5) * 0.2) * 1.17 : 0.0; break;
    default: factor = 0.0; break;
    }
    return 1.0 - (a * factor - t2 * factor);
}

}  // namespace ovd
