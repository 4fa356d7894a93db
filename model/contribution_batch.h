#pragma once
// The contributions of one source to a run of its points, for one weather case and one wind
// direction, computed several points at a time: plume rise and height, the direction test,
// the terrain correction, x and y, the wind at the plume height, the spreads and the
// vertical terms. The formulas are those of plumeContribution; only exp, log, sin and cos
// are our own (vector_math.h). The caller adds the results up in point order, applying the
// altitude factor where the point stands above the plume axis.
#include <cstdint>
#include <span>
#include <vector>

#include "model/dispersion_formulas.h"

namespace ovd {

// Every array must be readable this many entries past the last pair asked for.
inline constexpr std::size_t kPairPadding = 8;

// One source's pairs with points, as columns (the coefficients as stored, and the distance).
struct PairColumns {
    const float* delta = nullptr;
    const float* theta = nullptr;
    const float* zmax = nullptr;
    const double* distance = nullptr;
    const double* distancePow = nullptr;   // distance^0.66666
    const std::int32_t* point = nullptr;   // index into pointZ and pointL
    const double* pointZ = nullptr;        // altitude of each point
    const double* pointL = nullptr;        // height of each point above the terrain
};

// What is the same for every pair of a batch.
struct BatchConstants {
    // direction and source
    double direction = 0;        // degrees
    double halfSector = 20;      // 20 for point sources, 40 for the others
    double stackHeight = 0;      // H
    double sourceZ = 0;          // altitude of the source
    bool pointSource = true;
    double vs = 0;               // point source: volume flow in the denominator
    InitialSpread spread0{};     // area and line sources
    // plume rise for this weather case
    bool risesNear = false;      // the rise grows up to x0 (not a given rise)
    double x0 = 0, x0Pow = 1;    // distance of full rise and x0^0.66666
    double fullRise = 0;
    bool cluster = false;        // nearby sources: count and distance value of the cluster
    double clusterCount = 0, clusterDistance = 0;
    double farHeight = 0;        // effective height where the rise is full ...
    double farWind = 0;          // ... and the wind speed there
    // weather and substance
    StabilityConstants k{};
    double u = 0;                // wind speed at 10 m
    double q = 0;                // emission, micrograms per second
    double decay = 0;            // 1/s (gases)
    bool freeAtmosphere = false;
    const SettlingFraction* fractions = nullptr;   // dust: the size fractions, else null
    int fractionCount = 0;
};

// The constants for one source and weather case; the direction and the initial spread of
// the source for it are set per direction. Fractions make it a dust batch; a dust source
// without fractions contributes nothing and is not evaluated at all.
BatchConstants batchConstants(const ModelSource&, const SourceCase&, const ClusterLine* cluster, const WeatherCase&,
                              double decay, bool freeAtmosphere, std::span<const SettlingFraction> fractions);
inline void setDirection(BatchConstants& bc, double direction, const InitialSpread& spread0)
{
    bc.direction = direction;
    bc.spread0 = spread0;
}

class ContributionBatch {
public:
    // Room for batches of up to n pairs.
    void reserve(std::size_t n);

    // Evaluates pairs [from, from + count) of the columns. Afterwards, for i < count:
    // along(i) > 0 when the pair passed the direction test and lies downwind (x), and then
    // value(i) is c without the altitude factor and height(i) the plume height after the
    // terrain correction.
    void evaluate(const BatchConstants&, const PairColumns&, std::size_t from, std::size_t count);

    double along(std::size_t i) const { return m_along[i]; }
    double value(std::size_t i) const { return m_value[i]; }
    double height(std::size_t i) const { return m_height[i]; }

    // Lane widths this processor runs, widest first; evaluate() uses the first. Tests can
    // run the others through evaluateWidth().
    static std::vector<int> widths();
    void evaluateWidth(int width, const BatchConstants&, const PairColumns&, std::size_t from, std::size_t count);

private:
    std::vector<double> m_along, m_value, m_height;
};

}  // namespace ovd
