#pragma once
// (cos a)^p as a polynomial in z = a^2 for |a| up to a sector's half width: a spread
// c x^p at x = D cos a is c D^p (cos a)^p, so the kernels need no log and exp per direction.
// Accurate to a few units in the last place (tested against std::pow).
#include <array>

namespace ovd {

inline constexpr int kCosinePowerTerms = 32;

struct CosinePower {
    std::array<double, kCosinePowerTerms> coefficient{};  // of z^0, z^1, ...
    int degree = 0;
};

// The series of (cos a)^p in a^2, cut where the rest stays below 1e-17 of the value at
// |a| = halfDegrees. 0 < p <= 2, 0 < halfDegrees <= 60.
CosinePower cosinePower(double p, double halfDegrees);

// Its value at z (scalar, for the tests).
double cosinePowerAt(const CosinePower&, double z);

}  // namespace ovd
