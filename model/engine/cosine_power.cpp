#include "model/engine/cosine_power.h"

#include <cmath>

#include "common/portable_math.h"
#include "model/dispersion_constants.h"

namespace ovd {

// With C(z) = cos(sqrt z) = sum c_k z^k, c_k = (-1)^k / (2k)!, the power G = C^p satisfies
// C G' = p C' G; comparing the coefficients of z^(n-1) gives
//   g_n = (1 / n) sum_{k=1..n} (k (p + 1) - n) c_k g_(n-k),   g_0 = 1.
// Summed in long double: the terms alternate, and the coefficients then stay within an
// ulp of their exact values far beyond the degrees used.
CosinePower cosinePower(double p, double halfDegrees)
{
    constexpr int kSeries = 48;
    std::array<long double, kSeries> c{}, g{};
    long double factorial = 1.0L;
    for (int k = 0; k < kSeries; ++k) {
        if (k > 0)
            factorial *= static_cast<long double>(2 * k - 1) * static_cast<long double>(2 * k);
        c[static_cast<std::size_t>(k)] = (k % 2 ? -1.0L : 1.0L) / factorial;
    }
    g[0] = 1.0L;
    for (int n = 1; n < kSeries; ++n) {
        long double sum = 0.0L;
        for (int k = 1; k <= n; ++k)
            sum += (static_cast<long double>(k) * (static_cast<long double>(p) + 1.0L) - static_cast<long double>(n)) *
                c[static_cast<std::size_t>(k)] * g[static_cast<std::size_t>(n - k)];
        g[static_cast<std::size_t>(n)] = sum / static_cast<long double>(n);
    }
    const long double a = static_cast<long double>(halfDegrees) * static_cast<long double>(kModelPi) / 180.0L;
    const long double zMax = a * a;
    // the C library's long double functions differ between systems: the bound and the powers
    // of zMax are computed without them, so that each system picks the same degree
    const long double least = portable::pow(portable::cos(static_cast<double>(a)), p);
    std::array<long double, kSeries> zPower{};
    zPower[0] = 1.0L;
    for (std::size_t k = 1; k < zPower.size(); ++k)
        zPower[k] = zPower[k - 1] * zMax;
    CosinePower out;
    out.degree = kCosinePowerTerms - 1;
    for (int n = 0; n < kCosinePowerTerms; ++n) {
        long double rest = 0.0L;  // what the terms past z^n add at the sector's edge, at most
        for (int k = kSeries - 1; k > n; --k)
            rest += std::fabs(g[static_cast<std::size_t>(k)]) * zPower[static_cast<std::size_t>(k)];
        if (rest < 1e-17L * least) {
            out.degree = n;
            break;
        }
    }
    for (int n = 0; n <= out.degree; ++n)
        out.coefficient[static_cast<std::size_t>(n)] = static_cast<double>(g[static_cast<std::size_t>(n)]);
    return out;
}

double cosinePowerAt(const CosinePower& cp, double z)
{
    double v = cp.coefficient[static_cast<std::size_t>(cp.degree)];
    for (int n = cp.degree - 1; n >= 0; --n)
        v = v * z + cp.coefficient[static_cast<std::size_t>(n)];
    return v;
}

}  // namespace ovd
