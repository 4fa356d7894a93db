#pragma once
// The series of cosine_power.h on a vector of angles, for the kernels.
#include "model/engine/cosine_power.h"
#include "model/engine/vector_math.h"

namespace ovd {

// (cos a)^p of `cp` on a vector of z = a^2, with w = z * z, evaluated to `Degree` >= cp.degree (the
// coefficients past cp.degree are 0 and change no bit): the even and the odd coefficients as
// two chains in w, half as long as one chain in z.
template <int Degree, class D> OVD_VECTOR_INLINE D cosinePowerLanes(const CosinePower& cp, D z, D w)
{
    static_assert(Degree >= 1 && Degree < kCosinePowerTerms);
    const double* c = cp.coefficient.data();
    constexpr int kTopEven = Degree - Degree % 2, kTopOdd = Degree % 2 ? Degree : Degree - 1;
    D even = simd::broadcast<D>(c[kTopEven]);
#pragma GCC unroll 16
    for (int i = kTopEven - 2; i >= 0; i -= 2)
        even = even * w + c[i];
    D odd = simd::broadcast<D>(c[kTopOdd]);
#pragma GCC unroll 16
    for (int i = kTopOdd - 2; i >= 1; i -= 2)
        odd = odd * w + c[i];
    return even + z * odd;
}

}  // namespace ovd
