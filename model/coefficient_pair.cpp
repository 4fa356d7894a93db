#include "coefficient_pair.h"

#include "common/portable_math.h"

namespace ovd {

namespace {

// Direction of the source from the point, degrees clockwise from north.
double directionOfSource(double dx, double dy)
{
    double delta;
    if (dx == 0 && dy != 0)
        delta = dy > 0 ? 0 : 180;
    else if (dy == 0)
        delta = dx > 0 ? 90 : (dx < 0 ? 270 : 180);
    else {
        delta = portable::atan(dx / dy) * 180.0 / kCoefficientPi;
        if (dx > 0 && dy > 0)
            delta += 0;
        else if (dx < 0 && dy > 0)
            delta += 360;
        else
            delta += 180;
    }
    return delta;
}

}  // namespace

std::optional<ComputedPair> referencePair(const TerrainHeader& h, const Site& src, const Site& ref, long step,
                                          const std::function<std::optional<TerrainHeight>(double, double)>& lookup)
{
    ComputedPair out;  // Theta, ZMax and Delta start at 0
    // the point first, then the source: each must lie on the terrain
    for (auto [site, outside] :
         {std::pair{&ref, PairOutcome::PointOutside}, std::pair{&src, PairOutcome::SourceOutside}}) {
        auto at = lookup(site->x, site->y);
        if (!at)
            return std::nullopt;
        if (!at->inside) {
            out.outcome = outside;
            return out;
        }
    }

    out.delta = storedDelta(directionOfSource(src.x - ref.x, src.y - ref.y));

    // Inner points at the centres of n equal pieces of the line.
    double distance = std::sqrt((ref.x - src.x) * (ref.x - src.x) + (ref.y - src.y) * (ref.y - src.y));
    double pieces = std::trunc(distance / static_cast<double>(step));
    if (pieces < 1 || pieces > kMaxInnerPoints) {
        out.outcome = PairOutcome::TooShort;
        return out;
    }
    long n = static_cast<long>(pieces);
    const double stepX = (ref.x - src.x) / static_cast<double>(n), stepY = (ref.y - src.y) / static_cast<double>(n);
    double len = std::sqrt(stepX * stepX + stepY * stepY);
    double hmax = ref.z, t = 0;
    bool finite = true;
    for (long i = 1; i <= n; ++i) {
        double px = src.x + (static_cast<double>(i) - 0.5) * stepX;
        double py = src.y + (static_cast<double>(i) - 0.5) * stepY;
        bool failed = false;
        TerrainHeight th = innerHeight(h, px, py, [&](double x, double y) {
            auto r = lookup(x, y);
            failed = failed || !r;
            return r ? *r : TerrainHeight{};
        });
        if (failed)
            return std::nullopt;
        double hi = th.height;
        finite = finite && std::isfinite(hi);
        hmax = std::max(hmax, hi);
        double a = std::max(0.0, hi - src.z);
        double b = std::max(0.0, hi - ref.z);
        t = t + (a - 2 * b) * len;
    }
    double theta = 0;
    if (ref.z > src.z) {
        double q = t / (static_cast<double>(n) * (ref.z - src.z) * len);
        if (q >= 0)
            theta = q;
    }
    const double zmax = std::max(hmax - src.z, 0.0);  // NaN stays NaN
    out.theta = static_cast<float>(theta);
    out.zmax = static_cast<float>(zmax);
    if (!finite || !std::isfinite(out.theta) || !std::isfinite(out.zmax))
        out.outcome = PairOutcome::NotFinite;
    return out;
}

}  // namespace ovd
