#pragma once
// The elementary functions the computations use, giving the same bits on every system and
// compiler: each result is the double nearest the exact value (correctly rounded, except where
// the exact value lies within about 2^-100 of a midpoint between two doubles). The C
// libraries of the systems we build for round some results the other way, and one such bit
// reaching a table would make the same study give different tables on Linux and Windows.
//
// Each function first tries a fast evaluation carrying about 2^-64 of error and keeps its
// result when the rounding is certain; otherwise (a few calls in a hundred at most) it
// evaluates again in double-double arithmetic. Special values follow the C library's rules.

namespace ovd::portable {

double exp(double x);
double log(double x);
double pow(double x, double y);
double sin(double x);  // beyond 2^20 in magnitude: the C library's own sin and cos
double cos(double x);
double atan(double x);

}  // namespace ovd::portable
