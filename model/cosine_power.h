#pragma once
// (cos a)^p as a polynomial in z = a^2 for |a| up to a sector's half width: a spread
// c x^p at x = D cos a is c D^p (cos a)^p, so the kernels need no log and exp per direction.
// Accurate to a few units in the last place (tested against std::pow).
#include <array>

#include "model/vector_math.h"

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

// Its value on a vector of z, with w = z * z: the even and the odd coefficients as two
// chains in w, half as long as one chain in z.
template <class D> OVD_VECTOR_INLINE D cosinePowerLanes(const CosinePower& cp, D z, D w)
{
    const double* c = cp.coefficient.data();
    const int n = cp.degree;
    const int topEven = n - n % 2, topOdd = n % 2 ? n : n - 1;
    D even = simd::broadcast<D>(c[topEven]);
    for (int i = topEven - 2; i >= 0; i -= 2)
        even = even * w + c[i];
    if (topOdd < 1)
        return even;
    D odd = simd::broadcast<D>(c[topOdd]);
    for (int i = topOdd - 2; i >= 1; i -= 2)
        odd = odd * w + c[i];
    return even + z * odd;
}

}  // namespace ovd
