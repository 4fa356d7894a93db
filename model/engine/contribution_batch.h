#pragma once
// The contributions of one (source, point) pair in one weather case to a run of wind
// directions, several directions in a vector, added straight into the point's per-direction
// sums. Everything that does not depend on the direction comes in already computed
// (PairLanes); per direction remain the angle and sector test, x and y, the spreads and the
// vertical terms. exp, log and sin/cos are our own (vector_math.h).
#include <cstdint>

#include "model/dispersion_formulas.h"
#include "model/engine/cosine_power.h"
#include "model/vector_width.h"

namespace ovd {

// How far past its end every per-direction array must be readable: two registers of the
// widest width.
inline constexpr int kMaxLanes = 16;

// The same for all pairs of a source in one weather case and block of directions. The
// per-direction arrays are indexed by the direction's place in the block.
struct SourceLanes {
    const double* phi = nullptr;    // direction in degrees; NaN past the block's end
    const double* share = nullptr;  // share of the year of the case in each direction; null: not a rose case
    const double* sy0 = nullptr;    // initial spreads (area and line sources), null for point sources
    const double* sz0 = nullptr;
    double halfSector = 20;
    StabilityConstants k{};
    const CosinePower* cosY = nullptr;  // (cos a)^d and (cos a)^f over the sector
    const CosinePower* cosZ = nullptr;
    double vs = 0;  // point sources: volume flow in the denominator of F
    double alfa = 0;
    double decay = 0;                             // 1/s
    const SettlingFraction* fractions = nullptr;  // dust, else null
    int fractionCount = 0;
};

// One pair in one weather case, whatever the direction.
struct PairLanes {
    double deltaCorr = 0;  // Delta corrected for the plume height
    double distance = 0;
    double scaleY = 0, scaleZ = 0;  // c D^d and e D^f: the spreads at x = D
    double h2 = 0;                  // plume height corrected for the terrain
    double profile = 0;             // the wind profile's factor at h2 (u2 is the speed times it)
    double a1 = 0, a2 = 0, a3 = 0;  // z1 - h2, z2 + h2, z3 - h2
    double theta = 0;
    bool second = true, third = true;  // the terms Theta leaves: Theta != 1, Theta != 0
    bool sameAxes = false;             // a3 == a1: the third term of a gas equals the first
    double numerator = 0;              // q T
    double twoPiWind = 0;              // 2 pi u2
    double perWind = 0;                // 1 / u2
    int ranges = 0;                    // runs of candidate directions [from, to), ascending, disjoint
    int from[3]{}, to[3]{};
};

// One point's per-direction sums for the current case (indexed like SourceLanes), and the
// limits that are set.
struct PointSums {
    double* concentration = nullptr;
    double* alfaSum = nullptr;
    double* exceedAlfa[3]{};
    double* exceeded[3]{};  // 0 or 1
    int limits = 0;
    double limit[3]{};
};

struct PairResult {
    double groupSum = 0;  // sum over directions of share * c
    double counted = 0;   // directions inside the sector
    int stoppedAt = -1;   // first direction of a vector with a value that is not finite,
                          // left unadded with everything after it; -1 when none
};

// One contribution c of direction place j added into a point's sums, as the kernels add a
// vector of them: the sum, the Alfa-weighted sum, and the limits it newly exceeds.
void addContribution(const PointSums&, int j, double c, double alfa);

using PairKernel = PairResult (*)(const SourceLanes&, const PairLanes&, const PointSums&);

// The maximum run's further speeds of a class: one pair, several speeds at once. The
// geometry of a vector of directions (sector, x, y, spreads, vertical terms) is computed
// once, then each speed costs one division and one exp:
//   c = q T / (2 pi u2 sy sz + Vs) * E1 (E2 + E3 + E4) * exp(-k x / u2).
// A speed's pair values must differ from the pair's only in q T and u2, so this serves
// several speeds only for a source without plume rise; with rise it is called per speed.
struct SpeedLanes {
    double numerator = 0;    // q T
    double twoPiWind = 0;    // 2 pi u2
    double perWind = 0;      // 1 / u2
    double* sums = nullptr;  // the point's per-direction case sums of this speed
};

// Several weather cases of one pair with the same plume in all of them (a source without
// plume rise, the cases of one class): the geometry of a vector of directions once, then per
// case, as for the further speeds below,
//   c = q T / (2 pi u2 sy sz + Vs) * E1 (E2 + E3 + E4) * exp(-k x / u2),
// added into that case's sums (gas only: a dust fraction's descent depends on the speed).
inline constexpr int kMaxSharedCases = 16;
struct CaseLanes {
    double numerator = 0;           // q T
    double twoPiWind = 0;           // 2 pi u2
    double perWind = 0;             // 1 / u2
    const double* share = nullptr;  // the case's share of the year by direction; null: not a rose case
    PointSums sums;
    PairResult result;  // filled by the kernel, as the pair kernel's for the case alone
};

using CasesKernel = void (*)(const SourceLanes&, const PairLanes&, CaseLanes*, int cases);

inline constexpr int kMaxRuns = 16;
// Ascending disjoint runs [from, to) of directions to compute.
struct DirectionRuns {
    int count = 0;
    int from[kMaxRuns]{}, to[kMaxRuns]{};
};

struct SpeedsResult {
    double counted = 0;  // contributions inside the sector, all speeds
    // A value that is not finite stops the kernel: the vector of directions [stoppedAt,
    // stoppedEnd) in run stoppedRun is left unadded from speed stoppedSpeed on, and every
    // later direction for all speeds. stoppedRun is -1 when none.
    int stoppedRun = -1, stoppedAt = -1, stoppedEnd = -1, stoppedSpeed = 0;
};

using SpeedsKernel = SpeedsResult (*)(const SourceLanes&, const PairLanes&, const DirectionRuns&, const SpeedLanes*,
                                      int speeds);

// The kernels of one vector width.
struct Kernels {
    PairKernel pair = nullptr;
    CasesKernel cases = nullptr;
    SpeedsKernel speeds = nullptr;
};
const Kernels& kernels(VectorWidth);

}  // namespace ovd
