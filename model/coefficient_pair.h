#pragma once
// Theta, Delta and ZMax of one pair of a source and a reference point, from the terrain
// along the straight line between them. referencePair() follows the formulas step by
// step through any height lookup; computePair() is the same arithmetic, in the same
// order, for a run that has already located both ends; the two agree bit for bit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>

#include "common/portable_math.h"
#include "inputs/terrain_matrix.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ovd {

// The value of pi the directions have always been computed with.
inline constexpr double kCoefficientPi = 3.14159265359;
inline constexpr long kMaxInnerPoints = 32767;

// A source or reference point as the coefficients see it.
struct Site {
    std::int32_t number = 0;
    double x = 0, y = 0, z = 0;  // z: ground altitude
};

enum class PairOutcome {
    Computed,
    PointOutside,   // the reference point lies outside the terrain: three zeros
    SourceOutside,  // the source lies outside the terrain: three zeros
    TooShort,       // fewer than one (or more than 32767) inner points: Delta only
    NotFinite,      // a height on the way is not a finite number: no sound value exists
};

struct ComputedPair {
    float theta = 0, delta = 0, zmax = 0;
    PairOutcome outcome = PairOutcome::Computed;
};

// Degrees clockwise from north in which the source lies as seen from the point;
// dx = Xs - Xr, dy = Ys - Yr. Coincident points give 180.
inline double deltaAngle(double dx, double dy)
{
    if (dx == 0 && dy != 0)
        return dy > 0 ? 0.0 : 180.0;
    if (dy == 0)
        return dx > 0 ? 90.0 : dx < 0 ? 270.0 : 180.0;
    double d = portable::atan(dx / dy) * 180.0 / kCoefficientPi;
    if (dy < 0)
        return d + 180.0;
    return dx > 0 ? d : d + 360.0;
}

// As stored: a direction a hair west of north can round up to 360 (in double or on the
// way to float); it is the same direction as 0 and readers expect [0, 360).
inline float storedDelta(double delta)
{
    float d = static_cast<float>(delta);
    return d >= 360.0f ? 0.0f : d;
}

// Inner points for a pair `distance` apart with `step` metres between them; 0 when the
// count falls outside 1 to 32767.
inline long innerPointCount(double distance, long step)
{
    double n = std::trunc(distance / static_cast<double>(step));
    return n >= 1 && n <= kMaxInnerPoints ? static_cast<long>(n) : 0;
}

// max(0, v) as std::max(0.0, v) gives it (0 for NaN and -0), without a branch: along a
// line the sign of v changes at random and a mispredicted branch costs more than the rest.
inline double positivePart(double v)
{
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(v), _mm_setzero_pd()));
#else
    return std::max(0.0, v);
#endif
}

// The height at an inner point. Inner points lie between two points inside the terrain;
// one that rounding puts a hair outside is looked up at the nearest edge.
template <class Lookup>
[[gnu::always_inline]] inline TerrainHeight innerHeight(const TerrainHeader& h, double x, double y, Lookup&& lookup)
{
    TerrainHeight t = lookup(x, y);
    if (t.inside)
        return t;
    x = std::clamp(x, h.xOrigin, h.xOrigin + h.ncols * h.cellSize);
    y = std::clamp(y, h.yOrigin, h.yOrigin + h.nrows * h.cellSize);
    return lookup(x, y);
}

// The pair for a source and a point both inside the terrain; `lookup(x, y)` gives a
// TerrainHeight (no-data cells count as heights).
template <class Lookup>
inline ComputedPair computePair(const TerrainHeader& h, const Site& src, const Site& ref, long step, Lookup&& lookup)
{
    ComputedPair out;
    const double delta = deltaAngle(src.x - ref.x, src.y - ref.y);
    out.delta = storedDelta(delta);
    const double ex = ref.x - src.x, ey = ref.y - src.y;
    const long n = innerPointCount(std::sqrt(ex * ex + ey * ey), step);
    if (n < 1) {
        out.outcome = PairOutcome::TooShort;
        return out;
    }
    const double sx = ex / static_cast<double>(n), sy = ey / static_cast<double>(n);
    const double len = std::sqrt(sx * sx + sy * sy);
    double hmax = ref.z, sum = 0;
    bool finite = true;
    auto take = [&](double hi) {
        finite = finite && std::isfinite(hi);
        hmax = std::max(hmax, hi);
        const double a = positivePart(hi - src.z);
        const double b = positivePart(hi - ref.z);
        sum = sum + (a - 2 * b) * len;
    };
    // Two heights per round give the processor two independent lookups to overlap; they
    // are taken into the sums one after the other, in the order of the points.
    long i = 1;
    for (; i < n; i += 2) {
        const double k1 = static_cast<double>(i) - 0.5, k2 = static_cast<double>(i + 1) - 0.5;
        const double h1 = innerHeight(h, src.x + k1 * sx, src.y + k1 * sy, lookup).height;
        const double h2 = innerHeight(h, src.x + k2 * sx, src.y + k2 * sy, lookup).height;
        take(h1);
        take(h2);
    }
    if (i == n) {
        const double k = static_cast<double>(i) - 0.5;
        take(innerHeight(h, src.x + k * sx, src.y + k * sy, lookup).height);
    }
    double theta = 0;
    if (ref.z > src.z) {
        const double q = sum / (static_cast<double>(n) * (ref.z - src.z) * len);
        if (q >= 0)
            theta = q;
    }
    const double zmax = hmax - src.z >= 0 ? hmax - src.z : 0.0;
    out.theta = static_cast<float>(theta);
    out.zmax = static_cast<float>(zmax);
    if (!finite || !std::isfinite(out.theta) || !std::isfinite(out.zmax))
        out.outcome = PairOutcome::NotFinite;
    return out;
}

// The plain pair, step by step: locates both ends itself and reads every height through
// `lookup`, which may fail (nullopt, e.g. a read error); the result is then nullopt too.
std::optional<ComputedPair> referencePair(const TerrainHeader&, const Site& src, const Site& ref, long step,
                                          const std::function<std::optional<TerrainHeight>(double, double)>& lookup);

}  // namespace ovd
