#pragma once
// The contribution of one source at one reference point for one wind direction and weather
// case, each formula written out as it stands: distance and plume rise, the direction test,
// terrain, spreads and the vertical terms (for dust once per size fraction). The reference
// loop and the daily computation use it; the engine computes the same values its own way.
#include <span>

#include "model/concentration_inputs.h"
#include "model/dispersion_formulas.h"

namespace ovd {

struct PlumeOptions {
    double decay = 0;  // 1/s; 0 for dust, which does not decay
    bool freeAtmosphere = false;
    double lateralWidening = 1.0;  // factor on sigma y; the daily computation widens the plume
    bool dust = false;             // sum over the size fractions; a source without any gives 0
};

// What the coefficient matrices hold for one (source, point) pair.
struct PairCoefficients {
    double theta = 0, delta = 0, zmax = 0;
};

inline PairCoefficients pairCoefficients(const CoefficientMatrices& m, std::size_t source, std::size_t point)
{
    const std::size_t cell = m.index(source, point);
    return {m.theta[cell], m.delta[cell], m.zmax[cell]};
}

// c at the point (micrograms per m3), 0 outside the source's sector. The caller skips a
// point that stands exactly on the source. `cluster` is null without the nearby-sources
// correction; `fractions` is used only for dust.
double plumeContribution(const ModelSource&, const SourceCase&, const InitialSpread&, const ClusterLine* cluster,
                         const WeatherCase&, double direction, const ReferencePoint&, const PairCoefficients&,
                         std::span<const SettlingFraction> fractions, const PlumeOptions&);

}  // namespace ovd
