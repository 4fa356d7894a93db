#pragma once
// exp, log and sin/cos of small angles on a vector of doubles, for the contribution loop.
// Plain C++ on GCC vector types of any width: the caller instantiates them with the width
// of the instruction set it was compiled for (2 lanes for SSE2, 4 for AVX2, 8 for AVX-512),
// and every lane goes through the same operations, so a value never depends on its
// neighbours or on where a batch ends. Only operations that the target has for 64-bit
// lanes are used (no arithmetic shifts, no integer-to-double conversion), so nothing falls
// back to scalar code.
// Accuracy: a few units in the last place against the C library on the ranges the loop
// uses (tested), far below what the results are compared with.
#include <cstdint>

#define OVD_VECTOR_INLINE inline __attribute__((always_inline))

// Everything here is inlined into the caller, so the calling convention of wide vectors
// (which GCC warns about when the caller lacks AVX-512) never applies.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace ovd::simd {

template <int N> struct Vector {
    typedef double D __attribute__((vector_size(N * 8)));
    typedef std::uint64_t U __attribute__((vector_size(N * 8)));
    typedef float F __attribute__((vector_size(N * 4)));
};

template <class D> inline constexpr int lanesOf = static_cast<int>(sizeof(D) / sizeof(double));

template <class D> OVD_VECTOR_INLINE D broadcast(double v)
{
    return D{} + v;
}

template <class D> OVD_VECTOR_INLINE D load(const double* p)
{
    D v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

// Floats widened to doubles.
template <class D> OVD_VECTOR_INLINE D loadFloats(const float* p)
{
    typename Vector<lanesOf<D>>::F f;
    __builtin_memcpy(&f, p, sizeof f);
    return __builtin_convertvector(f, D);
}

// v[i] = table[index[i]]
template <class D> OVD_VECTOR_INLINE D gather(const double* table, const std::int32_t* index)
{
    double lanes[lanesOf<D>];
    for (int i = 0; i < lanesOf<D>; ++i)
        lanes[i] = table[index[i]];
    return load<D>(lanes);
}

template <class D> OVD_VECTOR_INLINE void store(double* p, D v)
{
    __builtin_memcpy(p, &v, sizeof v);
}

// Whether any lane's condition holds. The condition goes through a blend into doubles:
// reading lanes of a comparison's mask directly makes GCC build that mask lane by lane.
template <class D, class M> OVD_VECTOR_INLINE bool anyLane(M condition)
{
    const D flags = condition ? broadcast<D>(1.0) : broadcast<D>(0.0);
    double lanes[lanesOf<D>];
    __builtin_memcpy(lanes, &flags, sizeof flags);
    double sum = 0.0;
    for (double v : lanes)
        sum += v;
    return sum != 0.0;
}

// The vector's lanes in another order, the indices constant (GCC's and clang's spellings).
#if defined(__clang__)
#define OVD_LANES_SWAPPED(d, ...) __builtin_shufflevector(d, d, __VA_ARGS__)
#else
#define OVD_LANES_SWAPPED(d, ...) __builtin_shuffle(d, U{__VA_ARGS__})
#endif

// Whether any lane is infinite or NaN: v - v is 0 in the finite lanes and NaN in the others,
// and the halves of the vector are added onto each other until one lane holds the sum
// (NaN survives every sum); no mask is formed.
template <class D> OVD_VECTOR_INLINE bool anyNotFinite(D v)
{
    using U = typename Vector<lanesOf<D>>::U;
    D d = v - v;
    if constexpr (lanesOf<D> == 8)
        d = d + OVD_LANES_SWAPPED(d, 4, 5, 6, 7, 0, 1, 2, 3);
    if constexpr (lanesOf<D> == 8)
        d = d + OVD_LANES_SWAPPED(d, 2, 3, 0, 1, 6, 7, 4, 5);
    else if constexpr (lanesOf<D> == 4)
        d = d + OVD_LANES_SWAPPED(d, 2, 3, 0, 1);
    if constexpr (lanesOf<D> == 8)
        d = d + OVD_LANES_SWAPPED(d, 1, 0, 3, 2, 5, 4, 7, 6);
    else if constexpr (lanesOf<D> == 4)
        d = d + OVD_LANES_SWAPPED(d, 1, 0, 3, 2);
    else
        d = d + OVD_LANES_SWAPPED(d, 1, 0);
    return d[0] != d[0];
}

// The lanes' bits as unsigned integers (their arithmetic wraps, which the exponent tricks
// below rely on for lanes holding NaN), and back.
template <class D> OVD_VECTOR_INLINE typename Vector<lanesOf<D>>::U unsignedBitsOf(D v)
{
    typename Vector<lanesOf<D>>::U u;
    __builtin_memcpy(&u, &v, sizeof v);
    return u;
}

template <class D> OVD_VECTOR_INLINE D fromUnsignedBits(typename Vector<lanesOf<D>>::U u)
{
    D v;
    __builtin_memcpy(&v, &u, sizeof v);
    return v;
}

template <class D> OVD_VECTOR_INLINE D abs(D v)
{
    return fromUnsignedBits<D>(unsignedBitsOf(v) & 0x7fffffffffffffffULL);
}

// e^r for |r| <= 0.347: Taylor series to r^13, the next term is below 4e-18. Evaluated in
// pairs (Estrin): a chain of 5 steps instead of 13 leaves the processor far less idle.
template <class D> OVD_VECTOR_INLINE D expReduced(D r)
{
    const D r2 = r * r, r4 = r2 * r2, r8 = r4 * r4;
    const D q0 = r + 1.0, q1 = r * (1.0 / 6.0) + 0.5;
    const D q2 = r * (1.0 / 120.0) + 1.0 / 24.0, q3 = r * (1.0 / 5040.0) + 1.0 / 720.0;
    const D q4 = r * (1.0 / 362880.0) + 1.0 / 40320.0, q5 = r * (1.0 / 39916800.0) + 1.0 / 3628800.0;
    const D q6 = r * (1.0 / 6227020800.0) + 1.0 / 479001600.0;
    const D t0 = q1 * r2 + q0, t1 = q3 * r2 + q2, t2 = q5 * r2 + q4;
    return ((q6 * r4 + t2) * r8) + (t1 * r4 + t0);
}

// x = n ln 2 + r with n whole and |r| <= 0.347; n comes as the lanes' wrapped integers.
template <class D> OVD_VECTOR_INLINE D expReduce(D x, typename Vector<lanesOf<D>>::U& n)
{
    const double kLog2e = 1.4426950408889634;
    const double kLn2Hi = 6.93147180369123816490e-01;  // low bits zero: n * hi is exact
    const double kLn2Lo = 1.90821492927058770002e-10;
    const double kShifter = 6755399441055744.0;  // 1.5 * 2^52: rounds to an integer
    const D t = x * kLog2e + kShifter;
    const D nd = t - kShifter;
    n = unsignedBitsOf(t) - unsignedBitsOf(broadcast<D>(kShifter));
    return (x - nd * kLn2Hi) - nd * kLn2Lo;
}

// e^x. Below -745.2 the value is 0, above 709.78 infinity; NaN stays NaN. Subnormal
// results are formed with two scalings so that no normal factor underflows.
template <class D> OVD_VECTOR_INLINE D exp(D x)
{
    const D big = broadcast<D>(709.78), small = broadcast<D>(-745.2);
    D xc = x > big ? big : x;
    xc = xc < small ? small : xc;
    // NaN fails both comparisons and stays in xc; it is put back at the end
    typename Vector<lanesOf<D>>::U ni;
    const D p = expReduced(expReduce(xc, ni));
    // n from -1075 to 1024 in two halves, each a normal power of two
    const auto n1 = ((ni + 1100) >> 1) - 550;
    const auto n2 = ni - n1;
    D s1 = fromUnsignedBits<D>((n1 + 1023) << 52);
    D s2 = fromUnsignedBits<D>((n2 + 1023) << 52);
    D y = p * s1 * s2;
    y = x > big ? broadcast<D>(__builtin_inf()) : y;
    y = x < small ? broadcast<D>(0.0) : y;
    return x != x ? x : y;
}

// e^x for -707.5 <= x <= 709, where the result is a normal number; no checks, one scaling.
template <class D> OVD_VECTOR_INLINE D expModerate(D x)
{
    typename Vector<lanesOf<D>>::U ni;
    const D p = expReduced(expReduce(x, ni));
    return p * fromUnsignedBits<D>((ni + 1023) << 52);
}

// e^x where only normal results matter: below -707.5 (results under 2^-1021) the value is
// 0, above 709 infinity, NaN stays NaN (through the arithmetic). One scaling instead of
// two: values that small are far below anything a sum of them can show.
template <class D> OVD_VECTOR_INLINE D expNormal(D x)
{
    const D big = broadcast<D>(709.0), small = broadcast<D>(-707.5);
    D xc = x > big ? big : x;
    xc = xc < small ? small : xc;
    const D y = expModerate(xc);
    return x < small ? broadcast<D>(0.0) : (x > big ? broadcast<D>(__builtin_inf()) : y);
}

// expNormal for x <= 0 (or NaN), with the checks of the upper end left out.
template <class D> OVD_VECTOR_INLINE D expNonPositive(D x)
{
    const D small = broadcast<D>(-707.5);
    const D y = expModerate(x < small ? small : x);
    return x < small ? broadcast<D>(0.0) : y;
}

// Natural logarithm of positive normal numbers; for any other argument the value is
// meaningless (the contribution loop masks such lanes away).
template <class D> OVD_VECTOR_INLINE D logPositive(D x)
{
    const double kLn2Hi = 6.93147180369123816490e-01;
    const double kLn2Lo = 1.90821492927058770002e-10;
    const double kTwo52 = 4503599627370496.0;
    const std::uint64_t kMantissa = 0x000fffffffffffffULL;
    const std::uint64_t kOne = 0x3ff0000000000000ULL;
    const auto bits = unsignedBitsOf(x);
    const auto biased = (bits >> 52) & 0x7ff;
    // the biased exponent as a double: 2^52 + k has k in its low mantissa bits
    D e = fromUnsignedBits<D>(biased | unsignedBitsOf(broadcast<D>(kTwo52))) - kTwo52 - 1023.0;
    D m = fromUnsignedBits<D>((bits & kMantissa) | kOne);  // [1, 2)
    const auto high = m > 1.4142135623730951;
    m = high ? m * 0.5 : m;  // [0.707, 1.414)
    e = high ? e + 1.0 : e;
    D f = m - 1.0;  // exact
    D s = f / (f + 2.0);
    D z = s * s;
    // log(m) = 2 atanh(s) = 2 s (1 + z/3 + z^2/5 + ...), z <= 0.0295; in pairs, as exp
    const D z2 = z * z, z4 = z2 * z2, z8 = z4 * z4;
    const D q0 = z * (1.0 / 5.0) + 1.0 / 3.0, q1 = z * (1.0 / 9.0) + 1.0 / 7.0;
    const D q2 = z * (1.0 / 13.0) + 1.0 / 11.0, q3 = z * (1.0 / 17.0) + 1.0 / 15.0;
    const D q4 = z * (1.0 / 21.0) + 1.0 / 19.0;
    const D p = (q1 * z2 + q0) + (q3 * z2 + q2) * z4 + (z2 * (1.0 / 23.0) + q4) * z8;
    D logM = 2.0 * s + 2.0 * s * z * p;
    D y = e * kLn2Hi + (e * kLn2Lo + logM);
    return y;
}

// Natural logarithm of positive normal numbers; 0 gives -infinity, a negative value or NaN
// gives NaN, infinity stays infinity. Subnormal arguments are not expected.
template <class D> OVD_VECTOR_INLINE D log(D x)
{
    D y = logPositive(x);
    y = x == 0.0 ? broadcast<D>(-__builtin_inf()) : y;
    y = x == __builtin_inf() ? x : y;
    // (masks are never combined with & or |: GCC then builds them lane by lane)
    y = x < 0.0 ? broadcast<D>(__builtin_nan("")) : y;
    return x != x ? x : y;
}

// a^b for a > 0 (0 gives 0 for b > 0, infinity gives infinity).
template <class D> OVD_VECTOR_INLINE D pow(D a, double b)
{
    return exp(b * log(a));
}

// sin and cos of r with |r| <= 0.8 (a sector of the plume, in radians).
template <class D> OVD_VECTOR_INLINE void sinCosSmall(D r, D& sine, D& cosine)
{
    D z = r * r;
    D s = broadcast<D>(-1.0 / 355687428096000.0);  // -1/17!
    s = s * z + 1.0 / 1307674368000.0;
    s = s * z - 1.0 / 6227020800.0;
    s = s * z + 1.0 / 39916800.0;
    s = s * z - 1.0 / 362880.0;
    s = s * z + 1.0 / 5040.0;
    s = s * z - 1.0 / 120.0;
    s = s * z + 1.0 / 6.0;
    sine = r - r * z * s;
    D c = broadcast<D>(1.0 / 6402373705728000.0);  // 1/18!
    c = c * z - 1.0 / 20922789888000.0;
    c = c * z + 1.0 / 87178291200.0;
    c = c * z - 1.0 / 479001600.0;
    c = c * z + 1.0 / 3628800.0;
    c = c * z - 1.0 / 40320.0;
    c = c * z + 1.0 / 720.0;
    c = c * z - 1.0 / 24.0;
    c = c * z + 0.5;
    cosine = 1.0 - z * c;
}

}  // namespace ovd::simd
