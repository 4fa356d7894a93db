#pragma once
// Double-double arithmetic: a value as the unevaluated sum hi + lo of two doubles with
// |lo| <= ulp(hi) / 2, about 106 bits. Products are split by Dekker's method, never fused,
// so every step is plain IEEE double arithmetic and gives the same bits on every system
// (the file using it is compiled without contraction).
#include <cmath>

namespace ovd::dd {

struct DD {
    double hi = 0, lo = 0;
};

// a + b exactly, for any a and b.
inline DD twoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, when |a| >= |b| (or a is 0).
inline DD fastTwoSum(double a, double b)
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly, for |a|, |b| below 2^995.
inline DD twoProd(double a, double b)
{
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double p = a * b;
    const double ta = kSplit * a, tb = kSplit * b;
    const double ah = ta - (ta - a), al = a - ah;
    const double bh = tb - (tb - b), bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline DD neg(DD a)
{
    return {-a.hi, -a.lo};
}

inline DD add(DD a, DD b)
{
    DD s = twoSum(a.hi, b.hi);
    const DD t = twoSum(a.lo, b.lo);
    s = fastTwoSum(s.hi, s.lo + t.hi);
    return fastTwoSum(s.hi, s.lo + t.lo);
}

inline DD add(DD a, double b)
{
    const DD s = twoSum(a.hi, b);
    return fastTwoSum(s.hi, s.lo + a.lo);
}

inline DD sub(DD a, DD b)
{
    return add(a, neg(b));
}

inline DD mul(DD a, DD b)
{
    const DD p = twoProd(a.hi, b.hi);
    return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DD mul(DD a, double b)
{
    const DD p = twoProd(a.hi, b);
    return fastTwoSum(p.hi, p.lo + a.lo * b);
}

inline DD div(DD a, DD b)
{
    const double q1 = a.hi / b.hi;
    DD r = sub(a, mul(b, q1));
    const double q2 = r.hi / b.hi;
    r = sub(r, mul(b, q2));
    const double q3 = r.hi / b.hi;
    return add(fastTwoSum(q1, q2), q3);
}

// sqrt(a) for a > 0: the correctly rounded root of hi refined by one Newton step.
inline DD sqrt(DD a)
{
    const double s = std::sqrt(a.hi);
    const DD e = sub(a, twoProd(s, s));
    return fastTwoSum(s, e.hi / (2.0 * s));
}

}  // namespace ovd::dd
