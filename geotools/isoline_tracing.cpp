#include "isoline_tracing.h"

#include <cmath>

#include "common/numbers.h"

namespace ovd {

Outcome<std::vector<double>> scaleLevels(double from, double step, double vmin, double vmax)
{
    double count = std::trunc((vmax - vmin - from) / step) + 2;
    if (!(count <= kMaxLevels))
        return Problem{std::string(kCaptionAlert),
                       cformat("Krokem stupnice %g by vzniklo %.0f izolinií, nejvýše lze %.0f; zvolte větší krok.",
                               step, count, kMaxLevels)};
    std::vector<double> levels;
    if (!(count > 0))
        return levels;
    for (int i = 0; i < static_cast<int>(count); ++i)
        levels.push_back(from + i * step);
    return levels;
}

void traceLevel(const Lattice& l, const std::vector<double>& v, double c, std::vector<IsolineSegment>& out)
{
    struct Point {
        double x, y;
    };
    auto position = [&](std::size_t vertex) {
        int row = static_cast<int>(vertex / static_cast<std::size_t>(l.columns));
        int column = static_cast<int>(vertex % static_cast<std::size_t>(l.columns));
        return Point{l.x(row, column), l.y(row)};
    };
    forEachTriangle(l, [&](std::size_t p, std::size_t q, std::size_t s) {
        const std::size_t ring[4] = {p, q, s, p};
        Point crossing[3];
        int crossed = 0;
        for (int e = 0; e < 3; ++e) {
            std::size_t a = ring[e], b = ring[e + 1];
            double va = v[a], vb = v[b];
            if (!((va < c && c < vb) || (vb < c && c < va)))
                continue;
            double t = std::fabs((vb - c) / (vb - va));
            Point pa = position(a), pb = position(b);
            crossing[crossed++] = {pb.x + t * (pa.x - pb.x), pb.y + t * (pa.y - pb.y)};
        }
        for (int i = 0; i < crossed; ++i)
            for (int j = i + 1; j < crossed; ++j)
                out.push_back({crossing[i].x, crossing[i].y, crossing[j].x, crossing[j].y, c});
    });
}

}  // namespace ovd
