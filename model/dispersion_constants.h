#pragma once
// Fixed tables of the dispersion model: stability classes, decay, altitude attenuation,
// and the weather cases of the annual and the maximum computation.
#include <array>
#include <vector>

#include "inputs/input_records.h"

namespace ovd {

inline constexpr double kModelPi = 3.14159265359;  // the model's own value of pi
inline constexpr int kRoseRows = 11;
inline constexpr double kHoursPerYear = 8760.0;
inline constexpr double kNearRiseExponent = 0.66666;  // rise before full rise: (D / x0)^0.66666
inline constexpr double kDeltaPerMetre = 0.04;        // Delta turns by 0.04 degree per metre of height above 10 m

// Half width (degrees) of the sector around the plume axis: 20 for point sources, 40 for
// area and line sources.
constexpr double sectorHalfWidth(int sourceType)
{
    return sourceType == kPointSource ? 20.0 : 40.0;
}
inline constexpr int kStabilityClasses = 5;

struct StabilityConstants {
    double a;     // plume-rise factor
    int k;        // rise distance factor
    double eps;   // wind-profile exponent
    double b;     // terrain weight
    double c, d;  // sigma y = c * x^d
    double e, f;  // sigma z = e * x^f
};

// Class 1 to 5.
const StabilityConstants& stabilityConstants(int stabilityClass);

// Decay constant (1/s) of substance class 1 to 3.
double decayConstant(int substanceClass);

// Attenuation factor by altitude above sea level, linear between the table's points.
double altitudeAttenuation(double altitude);

struct WeatherCase {
    int stabilityClass = 1;  // 1 to 5
    double speed = 0;        // m/s at 10 m
    int roseRow = -1;        // row of the wind rose this case stands for, -1: none
};

// The eleven cases of the rose rows, with the speeds of the three speed classes.
std::vector<WeatherCase> annualCases(const std::array<double, 3>& speeds);

// The 162 fixed cases, class by class, speeds ascending; a case stands for a rose row when
// its speed is 1.7, 5.0 or 11.0 m/s (compared in whole tenths).
std::vector<WeatherCase> maximumCases();

// Rose row of a (class, speed class) pair, -1 when the rose has no such row.
int roseRowOf(int stabilityClass, int speedClass);

}  // namespace ovd
