#pragma once
// An upper bound of what one (source, point) pair can contribute in any direction of a block
// over a range of wind speeds of one stability class. The maximum run uses it to skip the
// speeds of a (point, direction) whose sum over all sources cannot reach the point's best.
#include "model/dispersion_constants.h"

namespace ovd {

struct BoundPair {
    double distance = 0, delta = 0, theta = 0, zmax = 0;  // the matrices' values
    // effective height at the fastest and at the slowest speed (in either order)
    double heightLow = 0, heightHigh = 0;
    double pointZ = 0, pointL = 0, sourceZ = 0;
    double q = 0;                                         // emission in micrograms per second
    double vs = 0;                                        // point sources: the volume flow in F's denominator
    double half = 20;                                     // half width of the sector
    double syLow = 0, syHigh = 0, szLow = 0, szHigh = 0;  // initial spreads over the block's directions
};

struct BoundSpeeds {
    StabilityConstants k{};
    double low = 0, high = 0;  // wind speeds at 10 m
    double decay = 0;
    bool freeAtmosphere = false;
};

class PairBound {
public:
    // The corrected Delta's interval only (cheap: most pairs miss a block's directions).
    explicit PairBound(const BoundPair&);
    // False when the pair's values give no bound (its plume crosses the 360 degree seam of
    // the corrected Delta, or a value lies outside the ranges the engine's kernels take):
    // the point must then be computed in full.
    bool usable() const { return m_usable; }
    // The rest of the bound; false as usable().
    bool complete(const BoundPair&, const BoundSpeeds&);
    // At least every case value's contribution of the pair in direction phi (degrees); 0 where
    // no speed puts phi inside the sector.
    double at(double phi) const;
    // The corrected Delta of every speed lies in [deltaLow, deltaHigh].
    double deltaLow() const { return m_deltaLow; }
    double deltaHigh() const { return m_deltaHigh; }

private:
    bool m_usable = false;
    double m_scale = 0;    // all factors but the lateral one
    double m_lateral = 0;  // 1 / (2 sigma_y,max^2)
    double m_distance = 0, m_half = 20;
    double m_deltaLow = 0, m_deltaHigh = 0;
};

}  // namespace ovd
