#include "isoline_lattice.h"

#include <cmath>

#include "common/numbers.h"

namespace ovd {

namespace {
const double kSqrt3 = std::sqrt(3.0);
}

Outcome<double> targetFromSegmentsPerSide(long segments)
{
    if (segments <= 0)
        return Problem::error("Počet úseků na straně musí být větší než 0!");
    double s = static_cast<double>(segments);
    return (s + 1) * (s + 1);
}

Outcome<double> targetFromVertexCount(long vertices)
{
    if (vertices <= 0)
        return Problem::error("Počet vrcholů trojúhelníků musí být větší než 0!");
    return static_cast<double>(vertices);
}

Outcome<double> targetFromSegmentLength(double length, const ShapeBox& box)
{
    if (!(length > 0))
        return Problem::error("Velikost úseku na straně musí být větší než 0!");
    double w = box.xmax - box.xmin, h = box.ymax - box.ymin;
    return std::trunc(w / length) * std::trunc(h / (length * kSqrt3 / 2));
}

Outcome<Lattice> planLattice(double target, const ShapeBox& box)
{
    const double w = box.xmax - box.xmin, h = box.ymax - box.ymin;
    if (!(w > 0) || !(h > 0))
        return Problem::error("Body vstupního DBF souboru leží na jedné přímce, síť trojúhelníků nelze vytvořit.");
    if (target > kMaxLatticeVertices)
        return Problem::error(cformat("Síť trojúhelníků by měla %.0f vrcholů, nejvýše lze %.0f; zvolte hrubší dělení.",
                                      target, kMaxLatticeVertices));
    const double d = (kSqrt3 * w - h) * (kSqrt3 * w - h) + 8 * kSqrt3 * h * w * target;
    const double root = ((h - kSqrt3 * w) + std::sqrt(d)) / (4 * h);
    const double n = std::trunc(root + 0.5);
    const double m = root > 0 ? std::trunc(target / root + 0.5) : 0;
    if (!(n >= 2) || !(m >= 2))
        return Problem::error(
            cformat("Síť trojúhelníků by měla %.0f sloupců a %.0f řad vrcholů, potřebuje alespoň 2 a 2; "
                    "zvolte jemnější dělení.",
                    n, m));
    if (n * m > kMaxLatticeVertices)
        return Problem::error(cformat("Síť trojúhelníků by měla %.0f vrcholů, nejvýše lze %.0f; zvolte hrubší dělení.",
                                      n * m, kMaxLatticeVertices));
    Lattice l;
    l.columns = static_cast<int>(n);
    l.rows = static_cast<int>(m);
    l.x0 = box.xmin;
    l.y0 = box.ymin;
    l.dx = 2 * w / (2 * n - 1);
    l.dy = l.dx * kSqrt3 / 2;
    return l;
}

}  // namespace ovd
