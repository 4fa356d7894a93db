#include "isoline_lattice.h"

#include <cmath>

#include "common/numbers.h"

namespace ovd {

namespace {
const double kSqrt3 = std::sqrt(3.0);
}

std::optional<double> targetFromSegmentsPerSide(long segments, std::string* error)
{
    if (segments <= 0) {
        *error = "Počet úseků na straně musí být větší než 0 !";
        return std::nullopt;
    }
    double s = static_cast<double>(segments);
    return (s + 1) * (s + 1);
}

std::optional<double> targetFromVertexCount(long vertices, std::string* error)
{
    if (vertices <= 0) {
        *error = "Počet vrcholů trojúhelníků musí být větší než 0 !";
        return std::nullopt;
    }
    return static_cast<double>(vertices);
}

std::optional<double> targetFromSegmentLength(double length, const ShapeBox& box, std::string* error)
{
    if (!(length > 0)) {
        *error = "Velikost úseku na straně musí být větší než 0 !";
        return std::nullopt;
    }
    double w = box.xmax - box.xmin, h = box.ymax - box.ymin;
    return std::trunc(w / length) * std::trunc(h / (length * kSqrt3 / 2));
}

LatticePlan planLattice(double target, const ShapeBox& box)
{
    LatticePlan plan;
    const double w = box.xmax - box.xmin, h = box.ymax - box.ymin;
    if (!(w > 0) || !(h > 0)) {
        plan.error = "Body vstupního DBF souboru leží na jedné přímce, síť trojúhelníků nelze vytvořit.";
        return plan;
    }
    if (target > kMaxLatticeVertices) {
        plan.error = cformat("Síť trojúhelníků by měla %.0f vrcholů, nejvýše lze %.0f; zvolte hrubší dělení.", target,
                             kMaxLatticeVertices);
        return plan;
    }
    const double d = (kSqrt3 * w - h) * (kSqrt3 * w - h) + 8 * kSqrt3 * h * w * target;
    const double root = ((h - kSqrt3 * w) + std::sqrt(d)) / (4 * h);
    const double n = std::trunc(root + 0.5);
    const double m = root > 0 ? std::trunc(target / root + 0.5) : 0;
    if (!(n >= 2) || !(m >= 2)) {
        plan.error = cformat("Síť trojúhelníků by měla %.0f sloupců a %.0f řad vrcholů, potřebuje alespoň 2 a 2; "
                             "zvolte jemnější dělení.",
                             n, m);
        return plan;
    }
    if (n * m > kMaxLatticeVertices) {
        plan.error = cformat("Síť trojúhelníků by měla %.0f vrcholů, nejvýše lze %.0f; zvolte hrubší dělení.", n * m,
                             kMaxLatticeVertices);
        return plan;
    }
    Lattice l;
    l.columns = static_cast<int>(n);
    l.rows = static_cast<int>(m);
    l.x0 = box.xmin;
    l.y0 = box.ymin;
    l.dx = 2 * w / (2 * n - 1);
    l.dy = l.dx * kSqrt3 / 2;
    plan.lattice = l;
    return plan;
}

}  // namespace ovd
